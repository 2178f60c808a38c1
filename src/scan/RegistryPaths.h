// How scanners name registry entries as text and turn that text back into keys: full key paths ("root
// long name\subkey"), the root name table, and the small key tests several checks share.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/Shell.h"

namespace brisko::scan {

// The buffer sizes of a scanner's registry reads.
inline constexpr std::uint32_t kNameBufferLength = 1024;
inline constexpr std::uint32_t kDataBufferLength = 1024;

// The long or short name of a predefined root ("HKEY_USERS" or "HKU"); empty for any other handle.
std::string GetRootKeyName(platform::HKey root, bool shortForm);

// The root's long name, a backslash and the subkey path; the root's name alone for an empty subkey.
std::string FullKeyPath(platform::HKey root, std::string_view subKey);

struct SplitKey {
    platform::HKey root = platform::kNullKey;
    std::string subKey;
};

// The reverse of FullKeyPath for the accepted root names (long or short forms, tried in the given order,
// matched case-sensitively at the start of the text and followed by a backslash or the end). Nothing when
// no accepted name matches.
std::optional<SplitKey> SplitKeyPath(std::string_view text, std::span<const std::string_view> acceptedRoots);

// The number of direct subkeys, or 0 when the key cannot be opened.
int CountSubkeys(platform::Registry& registry, platform::HKey root, std::string_view subKey);

// False only when the key opens, has exactly `expectedSubkeys` subkeys and no values; true otherwise, so a
// key that cannot be read never looks empty.
bool KeyHasContent(platform::Registry& registry, platform::HKey root, std::string_view subKey,
                   int expectedSubkeys);

// Value data as the scanners read it: the bytes up to the first zero, whatever the value's type (so a
// REG_DWORD reads as up to four characters).
std::string DataText(std::span<const std::uint8_t> data);

// A data text that begins with "%" or with a double quote and "%" is expanded in place through the
// environment, within the scanners' 1,024-character buffer; otherwise, or when the expansion would not
// fit, the text stays as it is.
void ExpandDataText(platform::Shell& shell, std::string& text);

}  // namespace brisko::scan
