// Writing a file so that a crash never leaves it half-written: the bytes go to a temporary file beside it,
// which then replaces the old one in one rename.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace brisko::platform::sim {

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error);

}  // namespace brisko::platform::sim
