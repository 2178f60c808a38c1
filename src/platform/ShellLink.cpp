#include "platform/ShellLink.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "platform/Text.h"

namespace brisko::platform::shelllink {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as it lies in the file.
constexpr std::array<std::uint8_t, 16> kLinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Link flags.
constexpr std::uint32_t kHasIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kHasName = 0x4;
constexpr std::uint32_t kHasRelativePath = 0x8;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;
constexpr std::uint32_t kHasExpString = 0x200;

// Link-info flags and sizes.
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kNetworkLinkAndPathSuffix = 0x2;
constexpr std::uint32_t kLinkInfoHeaderSize = 0x1C;
constexpr std::uint32_t kLinkInfoHeaderSizeUnicode = 0x24;
constexpr std::uint32_t kNetworkLinkMinSize = 0x14;

// The environment data block: size, signature, 260 ANSI bytes, 260 UTF-16 characters.
constexpr std::uint32_t kEnvironmentSignature = 0xA0000001;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;
constexpr std::size_t kEnvironmentChars = 260;

// A view of a byte range that answers every read with a check against its own end: nothing is read
// outside it, whatever offsets and sizes the file claims.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }

    std::optional<std::uint16_t> U16(std::size_t offset) const {
        if (!Fits(offset, 2)) return std::nullopt;
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::optional<std::uint32_t> U32(std::size_t offset) const {
        if (!Fits(offset, 4)) return std::nullopt;
        return static_cast<std::uint32_t>(bytes_[offset]) |
               (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
    }
    // The sub-range [offset, offset + size), or nothing when it does not lie wholly inside.
    std::optional<Bytes> Sub(std::size_t offset, std::size_t size) const {
        if (!Fits(offset, size)) return std::nullopt;
        return Bytes(bytes_.subspan(offset, size));
    }
    // A zero-terminated ANSI text starting at offset; nothing when no terminator lies inside.
    std::optional<std::string> AnsiZ(std::size_t offset) const {
        if (offset >= bytes_.size()) return std::nullopt;
        auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
        auto end = std::find(begin, bytes_.end(), std::uint8_t{0});
        if (end == bytes_.end()) return std::nullopt;
        return std::string(begin, end);
    }
    // A zero-terminated UTF-16 text starting at offset, as UTF-8.
    std::optional<std::string> UnicodeZ(std::size_t offset) const {
        std::u16string text;
        for (std::size_t at = offset;; at += 2) {
            std::optional<std::uint16_t> unit = U16(at);
            if (!unit) return std::nullopt;
            if (*unit == 0) break;
            text.push_back(static_cast<char16_t>(*unit));
        }
        return Utf8FromUtf16(text);
    }
    // Text of a fixed field: up to its first zero, or all of it.
    std::string AnsiField() const {
        auto end = std::find(bytes_.begin(), bytes_.end(), std::uint8_t{0});
        return std::string(bytes_.begin(), end);
    }
    std::string UnicodeField() const {
        std::u16string text = Utf16FromBytes(bytes_);
        text.resize(std::min(text.size(), text.find(u'\0')));
        return Utf8FromUtf16(text);
    }

private:
    bool Fits(std::size_t offset, std::size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }

    std::span<const std::uint8_t> bytes_;
};

// The text of a link-info field given by offset (relative to the link info); unicode offsets win when
// the header has them and they are set.
bool ReadLinkInfoText(const Bytes& info, std::uint32_t ansiOffset, std::uint32_t unicodeOffset,
                      std::string& out) {
    std::optional<std::string> text =
        unicodeOffset != 0 ? info.UnicodeZ(unicodeOffset) : info.AnsiZ(ansiOffset);
    if (!text) return false;
    out = std::move(*text);
    return true;
}

bool ParseNetworkLink(const Bytes& info, std::uint32_t offset, std::string& netName) {
    std::optional<std::uint32_t> size = info.U32(offset);
    if (!size || *size < kNetworkLinkMinSize) return false;
    std::optional<Bytes> link = info.Sub(offset, *size);
    if (!link) return false;
    std::optional<std::uint32_t> netNameOffset = link->U32(8);
    if (!netNameOffset) return false;
    std::uint32_t unicodeOffset = 0;
    if (*netNameOffset > kNetworkLinkMinSize) {
        std::optional<std::uint32_t> unicode = link->U32(kNetworkLinkMinSize);
        if (!unicode) return false;
        unicodeOffset = *unicode;
    }
    return ReadLinkInfoText(*link, *netNameOffset, unicodeOffset, netName);
}

// The link info at `offset`: its size through `size`, its target parts into `link`.
bool ParseLinkInfo(const Bytes& file, std::size_t offset, std::uint32_t& size, ShellLinkData& link) {
    std::optional<std::uint32_t> infoSize = file.U32(offset);
    if (!infoSize || *infoSize < kLinkInfoHeaderSize) return false;
    std::optional<Bytes> info = file.Sub(offset, *infoSize);
    if (!info) return false;
    std::optional<std::uint32_t> headerSize = info->U32(4);
    std::optional<std::uint32_t> flags = info->U32(8);
    std::optional<std::uint32_t> localBasePath = info->U32(16);
    std::optional<std::uint32_t> networkLink = info->U32(20);
    std::optional<std::uint32_t> suffix = info->U32(24);
    if (!headerSize || !flags || !localBasePath || !networkLink || !suffix) return false;
    if (*headerSize < kLinkInfoHeaderSize || *headerSize > *infoSize) return false;
    std::uint32_t localBasePathUnicode = 0;
    std::uint32_t suffixUnicode = 0;
    if (*headerSize >= kLinkInfoHeaderSizeUnicode) {
        std::optional<std::uint32_t> a = info->U32(28);
        std::optional<std::uint32_t> b = info->U32(32);
        if (!a || !b) return false;
        localBasePathUnicode = *a;
        suffixUnicode = *b;
    }
    if ((*flags & kVolumeIdAndLocalBasePath) != 0 &&
        !ReadLinkInfoText(*info, *localBasePath, localBasePathUnicode, link.localBasePath)) {
        return false;
    }
    if ((*flags & kNetworkLinkAndPathSuffix) != 0 && !ParseNetworkLink(*info, *networkLink, link.netName)) {
        return false;
    }
    // An offset of 0 would point at the size field: a link info without a suffix.
    if ((*suffix != 0 || suffixUnicode != 0) &&
        !ReadLinkInfoText(*info, *suffix, suffixUnicode, link.commonPathSuffix)) {
        return false;
    }
    size = *infoSize;
    return true;
}

// One counted text of the string data at `offset`; `offset` moves past it.
bool ReadCountedText(const Bytes& file, std::size_t& offset, bool unicode, std::string& out) {
    std::optional<std::uint16_t> count = file.U16(offset);
    if (!count) return false;
    std::size_t bytes = static_cast<std::size_t>(*count) * (unicode ? 2 : 1);
    std::optional<Bytes> text = file.Sub(offset + 2, bytes);
    if (!text) return false;
    out = unicode ? text->UnicodeField() : text->AnsiField();
    offset += 2 + bytes;
    return true;
}

bool ParseExtraData(const Bytes& file, std::size_t offset, bool useEnvironment, std::string& target) {
    // Every block is at least 8 bytes, so the loop ends within the file; a file that ends before the
    // terminal block is cut short, and is not read as whole.
    for (;;) {
        std::optional<std::uint32_t> size = file.U32(offset);
        if (!size) return false;
        if (*size < 4) return true;
        if (*size < 8) return false;
        std::optional<Bytes> block = file.Sub(offset, *size);
        if (!block) return false;
        std::uint32_t signature = *block->U32(4);
        if (signature == kEnvironmentSignature && useEnvironment) {
            if (*size != kEnvironmentBlockSize) return false;
            std::string unicode = block->Sub(8 + kEnvironmentChars, 2 * kEnvironmentChars)->UnicodeField();
            target = !unicode.empty() ? unicode : block->Sub(8, kEnvironmentChars)->AnsiField();
        }
        offset += *size;
    }
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void SetU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutAnsiZ(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

void PutUnicode(std::vector<std::uint8_t>& out, std::u16string_view text) {
    for (char16_t unit : text)
        PutU16(out, static_cast<std::uint16_t>(unit));
}

std::vector<std::uint8_t> LinkInfoBytes(const ShellLinkData& link, bool unicode) {
    bool local = !link.localBasePath.empty();
    std::uint32_t headerSize = unicode ? kLinkInfoHeaderSizeUnicode : kLinkInfoHeaderSize;
    std::vector<std::uint8_t> info(headerSize, 0);
    std::uint32_t flags = local ? kVolumeIdAndLocalBasePath : kNetworkLinkAndPathSuffix;
    SetU32(info, 4, headerSize);
    SetU32(info, 8, flags);
    if (local) {
        // A volume ID for a fixed disk with an empty label.
        SetU32(info, 12, static_cast<std::uint32_t>(info.size()));
        PutU32(info, 0x11);
        PutU32(info, 3);
        PutU32(info, 0);
        PutU32(info, 0x10);
        info.push_back(0);
        SetU32(info, 16, static_cast<std::uint32_t>(info.size()));
        PutAnsiZ(info, link.localBasePath);
    } else {
        SetU32(info, 20, static_cast<std::uint32_t>(info.size()));
        PutU32(info, kNetworkLinkMinSize + static_cast<std::uint32_t>(link.netName.size()) + 1);
        PutU32(info, 0);
        PutU32(info, kNetworkLinkMinSize);
        PutU32(info, 0);
        PutU32(info, 0);
        PutAnsiZ(info, link.netName);
    }
    SetU32(info, 24, static_cast<std::uint32_t>(info.size()));
    PutAnsiZ(info, link.commonPathSuffix);
    if (unicode) {
        if (local) {
            SetU32(info, 28, static_cast<std::uint32_t>(info.size()));
            PutUnicode(info, Utf16FromUtf8(link.localBasePath));
            PutU16(info, 0);
        }
        SetU32(info, 32, static_cast<std::uint32_t>(info.size()));
        PutUnicode(info, Utf16FromUtf8(link.commonPathSuffix));
        PutU16(info, 0);
    }
    SetU32(info, 0, static_cast<std::uint32_t>(info.size()));
    return info;
}

void PutCountedText(std::vector<std::uint8_t>& out, std::string_view text, bool unicode) {
    if (unicode) {
        std::u16string wide = Utf16FromUtf8(text);
        wide.resize(std::min<std::size_t>(wide.size(), 0xFFFF));
        PutU16(out, static_cast<std::uint16_t>(wide.size()));
        PutUnicode(out, wide);
    } else {
        std::string_view cut = text.substr(0, 0xFFFF);
        PutU16(out, static_cast<std::uint16_t>(cut.size()));
        out.insert(out.end(), cut.begin(), cut.end());
    }
}

}  // namespace

Status ParseShellLink(std::span<const std::uint8_t> bytes, ShellLinkData& out) {
    Bytes file(bytes);
    std::optional<std::uint32_t> headerSize = file.U32(0);
    std::optional<std::uint32_t> flags = file.U32(0x14);
    if (!headerSize || *headerSize != kHeaderSize || !flags || file.Size() < kHeaderSize) return kInvalidData;
    // The size check above keeps the class ID inside the buffer.
    if (!std::equal(kLinkClsid.begin(), kLinkClsid.end(), bytes.begin() + 4)) return kInvalidData;

    ShellLinkData link;
    std::size_t offset = kHeaderSize;
    if ((*flags & kHasIdList) != 0) {
        // The target's ID list is not needed for the path: its size is checked and it is passed over.
        std::optional<std::uint16_t> size = file.U16(offset);
        if (!size || !file.Sub(offset + 2, *size)) return kInvalidData;
        link.hasIdList = true;
        offset += 2 + static_cast<std::size_t>(*size);
    }
    if ((*flags & kHasLinkInfo) != 0) {
        ShellLinkData info;
        std::uint32_t size = 0;
        if (!ParseLinkInfo(file, offset, size, info)) return kInvalidData;
        // A shortcut may carry a link info that it asks to be ignored.
        if ((*flags & kForceNoLinkInfo) == 0) {
            link.localBasePath = std::move(info.localBasePath);
            link.netName = std::move(info.netName);
            link.commonPathSuffix = std::move(info.commonPathSuffix);
        }
        offset += size;
    }
    bool unicode = (*flags & kIsUnicode) != 0;
    const std::pair<std::uint32_t, std::string*> strings[] = {
        {kHasName, &link.name},
        {kHasRelativePath, &link.relativePath},
        {kHasWorkingDir, &link.workingDir},
        {kHasArguments, &link.arguments},
        {kHasIconLocation, &link.iconLocation},
    };
    for (const auto& [flag, text] : strings) {
        if ((*flags & flag) != 0 && !ReadCountedText(file, offset, unicode, *text)) return kInvalidData;
    }
    if (!ParseExtraData(file, offset, (*flags & kHasExpString) != 0, link.environmentTarget))
        return kInvalidData;
    out = std::move(link);
    return kOk;
}

Status RawTargetPath(const ShellLinkData& link, std::string& path) {
    if (!link.environmentTarget.empty()) {
        path = link.environmentTarget;
        return kOk;
    }
    if (!link.localBasePath.empty()) {
        path = link.localBasePath + link.commonPathSuffix;
        return kOk;
    }
    if (!link.netName.empty()) {
        std::string target = link.netName;
        if (!link.commonPathSuffix.empty()) target += '\\' + link.commonPathSuffix;
        path = std::move(target);
        return kOk;
    }
    return kFileNotFound;
}

Status ReadRawTargetPath(std::span<const std::uint8_t> bytes, std::string& path) {
    ShellLinkData link;
    if (Status status = ParseShellLink(bytes, link); status != kOk) return status;
    return RawTargetPath(link, path);
}

std::vector<std::uint8_t> WriteShellLink(const ShellLinkData& link, bool unicode) {
    bool hasLinkInfo = !link.localBasePath.empty() || !link.netName.empty();
    std::uint32_t flags =
        (link.hasIdList ? kHasIdList : 0) | (hasLinkInfo ? kHasLinkInfo : 0) |
        (!link.name.empty() ? kHasName : 0) | (!link.relativePath.empty() ? kHasRelativePath : 0) |
        (!link.workingDir.empty() ? kHasWorkingDir : 0) | (!link.arguments.empty() ? kHasArguments : 0) |
        (!link.iconLocation.empty() ? kHasIconLocation : 0) | (unicode ? kIsUnicode : 0) |
        (!link.environmentTarget.empty() ? kHasExpString : 0);
    std::vector<std::uint8_t> out;
    PutU32(out, kHeaderSize);
    out.insert(out.end(), kLinkClsid.begin(), kLinkClsid.end());
    PutU32(out, flags);
    PutU32(out, 0x20);  // FILE_ATTRIBUTE_ARCHIVE
    out.resize(kHeaderSize, 0);
    SetU32(out, 0x3C, 1);  // SW_SHOWNORMAL
    if (link.hasIdList) {
        PutU16(out, 2);
        PutU16(out, 0);
    }
    if (hasLinkInfo) {
        std::vector<std::uint8_t> info = LinkInfoBytes(link, unicode);
        out.insert(out.end(), info.begin(), info.end());
    }
    for (const std::string* text :
         {&link.name, &link.relativePath, &link.workingDir, &link.arguments, &link.iconLocation}) {
        if (!text->empty()) PutCountedText(out, *text, unicode);
    }
    if (!link.environmentTarget.empty()) {
        PutU32(out, kEnvironmentBlockSize);
        PutU32(out, kEnvironmentSignature);
        std::string ansi = link.environmentTarget.substr(0, kEnvironmentChars - 1);
        std::size_t start = out.size();
        out.insert(out.end(), ansi.begin(), ansi.end());
        out.resize(start + kEnvironmentChars, 0);
        std::u16string wide = Utf16FromUtf8(link.environmentTarget);
        wide.resize(std::min(wide.size(), kEnvironmentChars - 1));
        start = out.size();
        PutUnicode(out, wide);
        out.resize(start + 2 * kEnvironmentChars, 0);
    }
    PutU32(out, 0);  // the terminal block
    return out;
}

}  // namespace brisko::platform::shelllink
