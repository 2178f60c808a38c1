// Text helpers shared by the backends: the ANSI code page is UTF-8, the registry's native strings are
// UTF-16LE, and Windows compares names without regard to case.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace brisko::platform {

// UTF-8 to UTF-16LE bytes, as MultiByteToWideChar(CP_UTF8) does: an invalid sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);
// UTF-16 to UTF-8, as WideCharToMultiByte(CP_UTF8) does: an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

// Little-endian byte forms of UTF-16 text. An odd trailing byte is dropped when reading.
std::u16string Utf16FromBytes(std::span<const std::uint8_t> bytes);
void AppendUtf16Bytes(std::u16string_view text, std::string& out);

// Case folding for name comparison. ASCII letters only, byte for byte, so it never changes a length and
// never allocates more than the copy.
inline char FoldChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string FoldCase(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Negative, zero or positive, in the order of the folded texts.
int CompareNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace brisko::platform
