#include "app/IgnoreListPageModel.h"

#include <algorithm>

namespace brisko::app {

IgnoreListPageModel::IgnoreListPageModel(scan::IgnoreList& list) : list_(list) {}

void IgnoreListPageModel::Refresh() {
    rows_.clear();
    const auto& entries = list_.Entries();
    rows_.reserve(entries.size());
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        rows_.push_back(it->text);
}

bool IgnoreListPageModel::Remove(std::span<const std::size_t> selectedRows) {
    for (std::size_t row = rows_.size(); row-- > 0;) {
        if (std::find(selectedRows.begin(), selectedRows.end(), row) != selectedRows.end()) {
            list_.RemoveFirst(rows_[row]);
        }
    }
    Refresh();
    return list_.SaveIgnoreList();
}

}  // namespace brisko::app
