// Splitting of the stored texts that carry several fields: "lastScan" ("05-09-2010 14:03:22") and the
// names of the log files ("05_16_2013_09_32_46_AM.log").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brisko::scan {

// Splits `text` at every occurrence of the one-character `delimiter`, keeping empty fields ("a--b" on "-"
// gives "a", "" and "b"). A delimiter that is not exactly one character gives one empty field. Callers
// check the number of fields before they read one: a stored text may have been edited by hand.
std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiter);

}  // namespace brisko::scan
