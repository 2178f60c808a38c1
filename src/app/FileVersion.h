// The program's own version text, from the fixed file version of its version resource.
//
// The platform layer does not read version resources yet. The call it needs, on System:
//   Status GetFileVersion(std::string_view path, std::uint32_t& mostSignificant,
//                         std::uint32_t& leastSignificant)
// (GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA of "\" on Windows; kFileNotFound on
// the simulated machine, whose programs carry no resources). Until then the caller hands the numbers in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brisko::app {

struct FileVersionNumbers {
    std::uint32_t mostSignificant = 0;   // dwFileVersionMS
    std::uint32_t leastSignificant = 0;  // dwFileVersionLS
};

// "%d.%d.%d.%d" of the high and low words of each half; empty when the program has no version resource.
std::string GetFileVersionText(const std::optional<FileVersionNumbers>& version);

}  // namespace brisko::app
