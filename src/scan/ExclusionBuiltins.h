// The built-in exclusion entries: texts of keys, values and data that the scanners never report.
#pragma once

#include <span>

namespace brisko::scan {

// Each list in its order, one text per entry, exactly as written (case, backslashes, duplicates and the
// "!" group headings included).
std::span<const char* const> BuiltinKeyEntries();
std::span<const char* const> BuiltinMatchEntries();
std::span<const char* const> BuiltinValueEntries();

}  // namespace brisko::scan
