#include "app/IgnoreListPageAddItemModel.h"

#include "scan/ExclusionTextReader.h"

namespace brisko::app {

IgnoreListPageAddItemModel::IgnoreListPageAddItemModel(scan::IgnoreList& list) : list_(list) {}

void IgnoreListPageAddItemModel::SelectRoot(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < kRoots.size()) root_ = index;
}

IgnoreListPageAddItemModel::OkResult IgnoreListPageAddItemModel::Ok() {
    std::string_view path = scan::TrimSpace(path_);
    // The path becomes the value name of an entry "root\path|" with empty data, of category 0. A path with
    // a line break inside cannot be kept in the list's file, so it is refused like an empty one.
    scan::CRegistryProblem problem(std::string(kRoots[static_cast<std::size_t>(root_)]), std::string(path),
                                   "", scan::kRegistryEngine, 0);
    if (path.empty() || !list_.AddToIgnoreList(problem)) {
        return {.closeWithOk = false,
                .messageId = strings::kIdAddIgnoreEmptyPath,
                .titleId = strings::kIdProductName,
                .focusPath = true};
    }
    return {.closeWithOk = true};
}

}  // namespace brisko::app
