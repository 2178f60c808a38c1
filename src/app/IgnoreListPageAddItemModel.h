// The ignore list's add dialog without its window: a root key chosen from a drop-down list and a path
// typed below it, added to the ignore list as "root\path|".
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "scan/IgnoreList.h"
#include "strings/StringTable.h"

namespace brisko::app {

class IgnoreListPageAddItemModel {
public:
    static constexpr int kDialogId = 306;
    static constexpr int kHeadingId = strings::kIdAddIgnoreHeading;
    static constexpr int kRootLabelId = strings::kIdAddIgnoreRootLabel;
    static constexpr int kPathLabelId = strings::kIdAddIgnorePathLabel;
    // The drop-down list's choices, in order; the first is selected when the dialog opens.
    static constexpr std::array<std::string_view, 4> kRoots = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                               "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

    explicit IgnoreListPageAddItemModel(scan::IgnoreList& list);

    int SelectedRoot() const { return root_; }
    // An index outside the list leaves the choice as it was.
    void SelectRoot(int index);
    void SetPath(std::string_view text) { path_ = text; }

    // What the OK button leads to: the dialog closes with OK, or a message box (text and title by string
    // id) is shown and the focus goes back to the path field.
    struct OkResult {
        bool closeWithOk = false;
        int messageId = 0;
        int titleId = 0;
        bool focusPath = false;
    };
    OkResult Ok();

private:
    scan::IgnoreList& list_;
    int root_ = 0;
    std::string path_;
};

}  // namespace brisko::app
