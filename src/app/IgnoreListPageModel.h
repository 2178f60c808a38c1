// The ignore-list page without its window: the rows of its one-column list and what its buttons do.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "scan/IgnoreList.h"
#include "strings/StringTable.h"

namespace brisko::app {

class IgnoreListPageModel {
public:
    // The page's dialog, its buttons, and its list's one column.
    static constexpr int kDialogId = 141;
    static constexpr int kAddButtonId = 1075;
    static constexpr int kRemoveButtonId = 1056;
    static constexpr int kColumnWidth = 578;
    static constexpr int kIntroTextId = strings::kIdIgnoreListIntro;
    static constexpr int kColumnTitleId = strings::kIdIgnoreListColumn;

    explicit IgnoreListPageModel(scan::IgnoreList& list);

    // Each time the page is shown, and after the add dialog closed with OK: the entries' texts, the
    // newest first.
    void Refresh();
    const std::vector<std::string>& Rows() const { return rows_; }

    // The remove button: for each selected row, from the last to the first, removes the first entry whose
    // text equals the row's without regard to case; then refills the rows and saves the list. Rows out of
    // range are passed over.
    // True when the list reached its file again.
    bool Remove(std::span<const std::size_t> selectedRows);

private:
    scan::IgnoreList& list_;
    std::vector<std::string> rows_;
};

}  // namespace brisko::app
