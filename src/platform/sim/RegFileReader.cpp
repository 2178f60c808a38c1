// The .reg reader: a per-line state machine whose steps sit in one table, each step consuming part of the
// line and naming the next one. It accepts what the registry editor accepts and refuses what it refuses
// (tests/data/regfile/verdicts.txt holds the editor's verdicts line by line).
#include <algorithm>
#include <array>

#include "platform/Text.h"
#include "platform/sim/RegFile.h"

namespace brisko::platform::sim {

namespace {

constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRegedit4Header = "REGEDIT4";

// The roots the editor opens from a [key] line. It takes the long names only, in any case.
constexpr std::array<std::string_view, 6> kRootNames = {
    "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",   "HKEY_CLASSES_ROOT",
    "HKEY_USERS",         "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool HasKnownRoot(std::string_view path) {
    std::string_view root = path.substr(0, path.find('\\'));
    return std::any_of(kRootNames.begin(), kRootNames.end(),
                       [&](std::string_view name) { return EqualsNoCase(root, name); });
}

// Appends UTF-8 text as UTF-16LE bytes; plain ASCII, by far the common case, goes without a detour.
void AppendUtf16Le(std::string_view text, Bytes& out) {
    std::size_t ascii = 0;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80)
        ++ascii;
    std::size_t base = out.size();
    out.resize(base + 2 * ascii);
    std::uint8_t* p = out.data() + base;
    for (std::size_t i = 0; i < ascii; ++i) {
        p[2 * i] = static_cast<std::uint8_t>(text[i]);
        p[2 * i + 1] = 0;
    }
    if (ascii == text.size()) return;
    std::u16string wide = Utf16FromUtf8(text.substr(ascii));
    for (char16_t unit : wide) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

// The whole file as UTF-8: a UTF-16LE file (with its mark) is converted once, a UTF-8 one is used as is.
std::string_view DecodeFile(std::string_view bytes, std::string& storage) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        auto raw = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2;
        std::size_t units = (bytes.size() - 2) / 2;
        storage.reserve(units + units / 8);
        std::size_t i = 0;
        while (i < units) {
            // Runs of ASCII are copied directly; anything else goes through the shared converter.
            std::size_t start = i;
            while (i < units && raw[2 * i + 1] == 0 && raw[2 * i] < 0x80)
                ++i;
            for (std::size_t k = start; k < i; ++k)
                storage.push_back(static_cast<char>(raw[2 * k]));
            start = i;
            while (i < units && !(raw[2 * i + 1] == 0 && raw[2 * i] < 0x80))
                ++i;
            if (i > start) {
                storage += Utf8FromUtf16(Utf16FromBytes({raw + 2 * start, 2 * (i - start)}));
            }
        }
        return storage;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return bytes;
}

// One pass over the lines of a decoded file.
class RegFileParser {
public:
    RegFileParser(RegFileMode mode, RegFileSink& sink) : mode_(mode), sink_(sink) {}

    RegFileResult Run(std::string_view text);

private:
    // The states of a line. kDone ends the line as accepted, kRefused as refused; kContinue waits for the
    // next line to carry on with hex data.
    enum State : std::uint8_t {
        kLineStart,
        kKeyName,
        kDefaultName,
        kQuotedName,
        kEquals,
        kDataStart,
        kStringData,
        kDwordData,
        kHexType,
        kHexData,
        kDeleteValue,
        kLineEnd,
        kDone,
        kRefused,
        kContinue,
    };
    using Step = State (RegFileParser::*)();

    State LineStart();
    State KeyName();
    State DefaultName();
    State QuotedName();
    State Equals();
    State DataStart();
    State StringData();
    State DwordData();
    State HexType();
    State HexData();
    State DeleteValue();
    State LineEnd();

    static constexpr std::array<Step, kDone> kSteps = {
        &RegFileParser::LineStart,  &RegFileParser::KeyName,     &RegFileParser::DefaultName,
        &RegFileParser::QuotedName, &RegFileParser::Equals,      &RegFileParser::DataStart,
        &RegFileParser::StringData, &RegFileParser::DwordData,   &RegFileParser::HexType,
        &RegFileParser::HexData,    &RegFileParser::DeleteValue, &RegFileParser::LineEnd,
    };

    // A line's text from the cursor on.
    bool AtEnd() const { return pos_ >= line_.size(); }
    char Peek() const { return line_[pos_]; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Peek()))
            ++pos_;
    }
    bool Consume(std::string_view token) {
        if (line_.substr(pos_, token.size()) != token) return false;
        pos_ += token.size();
        return true;
    }
    // Reads a quoted text after its opening quote, up to the closing one, taking \\ and \" as escapes.
    // A backslash before any other character is dropped, as the editor drops it.
    bool ReadQuoted(std::string_view& result, std::string& scratch);
    // The value is complete: it goes to the sink, or is refused when no key is open to hold it.
    State Deliver();
    State Refuse(std::string_view why) {
        why_ = why;
        return kRefused;
    }

    RegFileMode mode_;
    RegFileSink& sink_;
    bool ansiStrings_ = false;  // REGEDIT4: string data in hex form is in the ANSI code page
    bool haveKey_ = false;      // values land in the key of the last accepted [key] line
    bool continuing_ = false;   // the line carries on the hex data of the line before

    std::string_view line_;
    std::size_t pos_ = 0;
    std::string_view why_;

    // The value being read; its buffers are reused from value to value.
    std::string_view name_;
    std::string nameScratch_;
    std::string textScratch_;
    ValueType type_ = kRegNone;
    Bytes data_;
    Bytes converted_;
    bool stringTypeInHex_ = false;
};

bool RegFileParser::ReadQuoted(std::string_view& result, std::string& scratch) {
    std::size_t stop = line_.find_first_of("\"\\", pos_);
    if (stop != std::string_view::npos && line_[stop] == '"') {
        result = line_.substr(pos_, stop - pos_);  // nothing escaped: point into the line
        pos_ = stop + 1;
        return true;
    }
    scratch.clear();
    while (pos_ < line_.size()) {
        char c = line_[pos_++];
        if (c == '"') {
            result = scratch;
            return true;
        }
        if (c == '\\') {
            if (pos_ >= line_.size()) return false;
            c = line_[pos_++];
        }
        scratch += c;
    }
    return false;
}

RegFileParser::State RegFileParser::LineStart() {
    SkipBlanks();
    if (AtEnd() || Peek() == ';' || Peek() == '#') return kDone;
    switch (Peek()) {
        case '[':
            ++pos_;
            return kKeyName;
        case '@':
            ++pos_;
            return kDefaultName;
        case '"':
            ++pos_;
            return kQuotedName;
        default:
            return Refuse("not a key, a value or a comment");
    }
}

RegFileParser::State RegFileParser::KeyName() {
    // The path runs to the last ']' of the line; anything after it is ignored, as the editor ignores it.
    // The editor's order of checks decides which refused lines leave the current key open: a line without
    // ']' or with a blank after '[' does; a deletion line closes it before the rest is checked.
    std::size_t close = line_.rfind(']');
    if (close == std::string_view::npos || close < pos_) return Refuse("key line without a closing ']'");
    bool deletion = Consume("-");
    if (deletion) haveKey_ = false;
    if (!AtEnd() && IsBlank(Peek())) return Refuse("blank before the key path");
    std::string_view path = line_.substr(pos_, close - pos_);
    pos_ = line_.size();
    if (!HasKnownRoot(path)) {
        haveKey_ = false;  // the editor could not open it, so the values that follow go nowhere
        return Refuse("key path does not start with a root key name");
    }
    if (deletion) {
        sink_.OnDeleteKey(path);
    } else {
        sink_.OnKey(path);
        haveKey_ = true;
    }
    return kDone;
}

RegFileParser::State RegFileParser::DefaultName() {
    name_ = {};
    return kEquals;
}

RegFileParser::State RegFileParser::QuotedName() {
    if (!ReadQuoted(name_, nameScratch_)) return Refuse("value name without a closing quote");
    return kEquals;
}

RegFileParser::State RegFileParser::Equals() {
    SkipBlanks();
    if (!Consume("=")) return Refuse("value name not followed by '='");
    SkipBlanks();
    return kDataStart;
}

RegFileParser::State RegFileParser::DataStart() {
    data_.clear();
    stringTypeInHex_ = false;
    if (Consume("\"")) return kStringData;
    if (Consume("-")) return kDeleteValue;
    if (Consume("dword:")) return kDwordData;
    if (Consume("hex:")) {
        type_ = kRegBinary;
        return kHexData;
    }
    if (Consume("hex(")) return kHexType;
    return Refuse("unknown value data");
}

RegFileParser::State RegFileParser::StringData() {
    std::string_view text;
    if (!ReadQuoted(text, textScratch_)) return Refuse("string without a closing quote");
    type_ = kRegSz;
    AppendUtf16Le(text, data_);
    data_.push_back(0);
    data_.push_back(0);
    return kLineEnd;
}

RegFileParser::State RegFileParser::DwordData() {
    SkipBlanks();
    std::uint32_t value = 0;
    int digits = 0;
    for (int d; !AtEnd() && (d = HexDigit(Peek())) >= 0; ++pos_, ++digits)
        value = (value << 4) | d;
    if (digits == 0 || digits > 8) return Refuse("dword data needs 1 to 8 hex digits");
    type_ = kRegDword;
    data_ = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return kLineEnd;
}

RegFileParser::State RegFileParser::HexType() {
    SkipBlanks();
    std::uint32_t type = 0;
    int digits = 0;
    for (int d; !AtEnd() && (d = HexDigit(Peek())) >= 0; ++pos_, ++digits)
        type = (type << 4) | d;
    if (digits > 8) return Refuse("hex(N) type needs at most 8 hex digits");
    if (!Consume("):")) return Refuse("hex(N) not followed by ':'");
    type_ = type;
    stringTypeInHex_ = ansiStrings_ && IsStringType(type);
    return kHexData;
}

// Bytes of one or two hex digits separated by ',' (blanks may follow a comma, not precede it); ",\" at the
// end of a line continues the data on the next line.
RegFileParser::State RegFileParser::HexData() {
    bool afterComma = continuing_;
    SkipBlanks();
    for (;;) {
        if (AtEnd() || Peek() == ';') return kLineEnd;
        if (Peek() == '\\') {
            if (!afterComma) return Refuse("line continuation without a ',' before it");
            ++pos_;
            SkipBlanks();
            return AtEnd() ? kContinue : Refuse("text after a line continuation");
        }
        int high = HexDigit(Peek());
        if (high < 0) return Refuse("bad hex byte");
        ++pos_;
        int low = AtEnd() ? -1 : HexDigit(Peek());
        if (low >= 0) {
            ++pos_;
            if (!AtEnd() && HexDigit(Peek()) >= 0) return Refuse("hex byte with more than two digits");
        }
        data_.push_back(static_cast<std::uint8_t>(low >= 0 ? (high << 4) | low : high));
        afterComma = Consume(",");
        if (!afterComma) return kLineEnd;
        SkipBlanks();
        if (!AtEnd() && Peek() == ',') return Refuse("empty hex byte");
    }
}

RegFileParser::State RegFileParser::DeleteValue() {
    SkipBlanks();
    if (!AtEnd() && Peek() != ';') return Refuse("text after '-'");
    if (!haveKey_) return Refuse("value outside any key");
    sink_.OnDeleteValue(name_);
    return kDone;
}

RegFileParser::State RegFileParser::LineEnd() {
    SkipBlanks();
    if (!AtEnd() && Peek() != ';') return Refuse("text after the value data");
    return Deliver();
}

RegFileParser::State RegFileParser::Deliver() {
    if (!haveKey_) return Refuse("value outside any key");
    if (stringTypeInHex_) {
        // A REGEDIT4 file holds string data in the ANSI code page: the registry wants it as UTF-16.
        converted_.clear();
        AppendUtf16Le({reinterpret_cast<const char*>(data_.data()), data_.size()}, converted_);
        sink_.OnValue(name_, type_, converted_);
    } else {
        sink_.OnValue(name_, type_, data_);
    }
    return kDone;
}

RegFileResult RegFileParser::Run(std::string_view text) {
    RegFileResult result;
    std::size_t lineNumber = 0;
    std::size_t statementStart = 0;  // first line of a value that continues over several
    std::size_t next = 0;
    while (next < text.size() || lineNumber == 0) {
        std::size_t end = text.find('\n', next);
        if (end == std::string_view::npos) end = text.size();
        line_ = text.substr(next, end - next);
        if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
        next = end + 1;
        ++lineNumber;
        pos_ = 0;

        if (lineNumber == 1) {
            SkipBlanks();
            std::string_view header = line_.substr(pos_);
            if (header == kRegedit4Header) {
                ansiStrings_ = true;
            } else if (header != kVersion5Header) {
                result.ok = false;
                result.errorLine = 1;
                result.error = "not a registry file: the first line is not a known header";
                return result;
            }
            continue;
        }

        State state = kLineStart;
        if (continuing_) {
            SkipBlanks();
            // Blank lines and comments may sit between the lines of a continued value.
            if (AtEnd() || Peek() == ';') continue;
            state = kHexData;
        } else {
            statementStart = lineNumber;
        }
        while (state < kDone)
            state = (this->*kSteps[state])();
        continuing_ = state == kContinue;
        if (state == kRefused) {
            if (mode_ == RegFileMode::kStrict) {
                result.ok = false;
                result.errorLine = lineNumber;
                result.error = std::string(why_);
                result.skippedLines = 0;
                return result;
            }
            result.skippedLines += lineNumber - statementStart + 1;
        }
    }
    if (continuing_ && Deliver() == kRefused) {
        // The file ended inside a continued value, which is kept as read so far.
        if (mode_ == RegFileMode::kStrict) {
            result.ok = false;
            result.errorLine = statementStart;
            result.error = std::string(why_);
            return result;
        }
        ++result.skippedLines;
    }
    return result;
}

}  // namespace

RegFileResult ReadRegFile(std::string_view bytes, RegFileMode mode, RegFileSink& sink) {
    std::string storage;
    RegFileParser parser(mode, sink);
    return parser.Run(DecodeFile(bytes, storage));
}

}  // namespace brisko::platform::sim
