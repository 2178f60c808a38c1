// The .reg writer: the same text the registry editor's export writes, so files can be compared with its
// output byte for byte and imported back into the same native data.
#include <cstdio>

#include "platform/Text.h"
#include "platform/sim/RegFile.h"

namespace brisko::platform::sim {

namespace {

constexpr std::string_view kNewLine = "\r\n";
// The editor wraps hex data once a line has reached this many characters (counted in UTF-16 units),
// so that no line, with its "\" ending, passes 80 columns unless a long name forces it.
constexpr std::size_t kHexWrapColumn = 77;
constexpr char kHexDigits[] = "0123456789abcdef";

void AppendEscaped(std::string_view text, std::string& out) {
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
}

// Characters as the editor counts them: UTF-16 units of UTF-8 text.
std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;
        if (byte >= 0xF0) ++units;  // a surrogate pair
    }
    return units;
}

// The UTF-8 text of REG_SZ data, when the data is exactly one string with its terminating zero that a
// quoted string can carry and that reads back to the same bytes. Anything else is written as hex(1).
bool StringFormOf(std::span<const std::uint8_t> data, std::string& text) {
    if (data.size() < 2 || data.size() % 2 != 0) return false;
    std::u16string wide = Utf16FromBytes(data);
    if (wide.back() != u'\0') return false;
    wide.pop_back();
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char16_t unit = wide[i];
        // A zero would end the string, a line break the line; an unpaired surrogate has no UTF-8 form.
        if (unit == u'\0' || unit == u'\r' || unit == u'\n') return false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 >= wide.size() || wide[i + 1] < 0xDC00 || wide[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
    }
    text = Utf8FromUtf16(wide);
    return true;
}

}  // namespace

RegFileWriter::RegFileWriter(RegFileHeader header) : header_(header) {
    out_ = header_ == RegFileHeader::kVersion5 ? "Windows Registry Editor Version 5.00" : "REGEDIT4";
    out_ += kNewLine;
}

void RegFileWriter::WriteKeyLine(std::string_view opening, std::string_view fullPath) {
    out_ += kNewLine;
    out_ += opening;
    out_ += fullPath;
    out_ += ']';
    out_ += kNewLine;
}

void RegFileWriter::BeginKey(std::string_view fullPath) {
    WriteKeyLine("[", fullPath);
}

void RegFileWriter::WriteDeleteKey(std::string_view fullPath) {
    WriteKeyLine("[-", fullPath);
}

void RegFileWriter::WriteDeleteValue(std::string_view name) {
    if (name.empty()) {
        out_ += '@';
    } else {
        out_ += '"';
        AppendEscaped(name, out_);
        out_ += '"';
    }
    out_ += "=-";
    out_ += kNewLine;
}

void RegFileWriter::WriteValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data) {
    std::size_t lineStart = out_.size();
    if (name.empty()) {
        out_ += '@';
    } else {
        out_ += '"';
        AppendEscaped(name, out_);
        out_ += '"';
    }
    out_ += '=';

    if (type == kRegSz) {
        std::string text;
        if (StringFormOf(data, text)) {
            out_ += '"';
            AppendEscaped(text, out_);
            out_ += '"';
            out_ += kNewLine;
            return;
        }
    }
    if (type == kRegDword && data.size() == 4) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x",
                      static_cast<unsigned>(data[0] | data[1] << 8 | data[2] << 16 |
                                            static_cast<std::uint32_t>(data[3]) << 24));
        out_ += digits;
        out_ += kNewLine;
        return;
    }
    if (type == kRegBinary) {
        out_ += "hex:";
    } else {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
        out_ += prefix;
    }

    // REGEDIT4 files carry string data in the ANSI code page.
    std::string ansi;
    if (header_ == RegFileHeader::kRegedit4 && IsStringType(type)) {
        ansi = Utf8FromUtf16(Utf16FromBytes(data));
        data = {reinterpret_cast<const std::uint8_t*>(ansi.data()), ansi.size()};
    }

    std::size_t column = Utf16Length(std::string_view(out_).substr(lineStart));
    out_.reserve(out_.size() + data.size() * 3 + data.size() / 8 + 2);
    for (std::size_t i = 0; i < data.size(); ++i) {
        out_ += kHexDigits[data[i] >> 4];
        out_ += kHexDigits[data[i] & 0xF];
        if (i + 1 == data.size()) break;
        out_ += ',';
        column += 3;
        if (column >= kHexWrapColumn) {
            out_ += "\\\r\n  ";
            column = 2;
        }
    }
    out_ += kNewLine;
}

std::string RegFileWriter::Finish() {
    std::string text = std::move(out_);
    text += kNewLine;
    out_.clear();
    return text;
}

std::string EncodeUtf16File(std::string_view utf8Text) {
    std::string out = "\xFF\xFE";
    AppendUtf16Bytes(Utf16FromUtf8(utf8Text), out);
    return out;
}

}  // namespace brisko::platform::sim
