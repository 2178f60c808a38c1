#include "scan/ExclusionTextReader.h"

#include <algorithm>

namespace brisko::scan {

namespace {
constexpr std::size_t kChunkBytes = 64 * 1024;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
}  // namespace

ExclusionTextReader::ExclusionTextReader(platform::FileObject& file, std::size_t maxLineLength)
    : file_(file), maxLineLength_(maxLineLength), buffer_(kChunkBytes) {}

bool ExclusionTextReader::Fill() {
    if (atEnd_) return false;
    std::uint32_t read = 0;
    if (file_.Read(buffer_, read) != platform::kOk || read == 0) {
        atEnd_ = true;
        return false;
    }
    position_ = 0;
    end_ = read;
    return true;
}

bool ExclusionTextReader::ReadLine(std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    bool any = false;
    bool ended = false;
    for (;;) {
        if (position_ == end_ && !Fill()) break;
        any = true;
        auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(position_);
        auto last = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
        auto newline = std::find(first, last, std::uint8_t{'\n'});
        std::size_t count = static_cast<std::size_t>(newline - first);
        if (!tooLong) {
            if (count > maxLineLength_ - std::min(line.size(), maxLineLength_)) {
                // Past the limit: keep reading to the line's end, holding nothing.
                tooLong = true;
                line.clear();
                line.shrink_to_fit();
            } else {
                line.append(first, newline);
            }
        }
        position_ += count;
        if (newline != last) {
            ++position_;
            ended = true;
            break;
        }
    }
    if (!any) return false;
    // Text mode turns "\r\n" into "\n"; a "\r" elsewhere is an ordinary byte.
    if (ended && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

int LeadingNumber(std::string_view text) {
    constexpr int kMax = std::numeric_limits<int>::max();
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        int digit = c - '0';
        n = n > (kMax - digit) / 10 ? kMax : n * 10 + digit;
    }
    return n;
}

}  // namespace brisko::scan
