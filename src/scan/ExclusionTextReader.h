// Reads the list files line by line as a text-mode read of the C runtime would: a line ends at "\n", a
// "\r" directly before it is dropped, a last line without a line end still counts, and an empty file has
// no lines. Bytes are kept as they are otherwise, so a file of garbage gives lines of garbage, never a
// failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace brisko::scan {

class ExclusionTextReader {
public:
    // Lines longer than `maxLineLength` characters are read to their end but not kept.
    explicit ExclusionTextReader(platform::FileObject& file,
                                 std::size_t maxLineLength = std::numeric_limits<std::size_t>::max());

    // The next line without its line end; false when the file has no more lines (or cannot be read any
    // further). `tooLong` tells that the line was longer than the limit; `line` is empty then.
    bool ReadLine(std::string& line, bool& tooLong);

private:
    bool Fill();

    platform::FileObject& file_;
    std::size_t maxLineLength_;
    std::vector<std::uint8_t> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
};

// Without the white space around it (space, tab, line feed, vertical tab, form feed, carriage return).
std::string_view TrimSpace(std::string_view text);
// ASCII letters lowered, byte for byte; other bytes, UTF-8 sequences included, stay as they are.
std::string LowerAscii(std::string_view text);
// The decimal number the text starts with, as "%d" reading stops at the first non-digit: 0 when the
// text does not start with a digit. Numbers too large for an int read as the largest int.
int LeadingNumber(std::string_view text);

}  // namespace brisko::scan
