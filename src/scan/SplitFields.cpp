#include "scan/SplitFields.h"

namespace brisko::scan {

std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiter) {
    if (delimiter.size() != 1) return {std::string()};
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at = text.find(delimiter[0]); at != std::string_view::npos;
         at = text.find(delimiter[0], start)) {
        fields.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    fields.emplace_back(text.substr(start));
    return fields;
}

}  // namespace brisko::scan
