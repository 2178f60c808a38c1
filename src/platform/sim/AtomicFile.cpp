#include "platform/sim/AtomicFile.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace brisko::platform::sim {

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            error = temporary.string() + ": cannot be written";
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        error = file.string() + ": cannot be replaced (" + ec.message() + ")";
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace brisko::platform::sim
