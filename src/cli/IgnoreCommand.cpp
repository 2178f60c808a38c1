#include "cli/IgnoreCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "app/IgnoreListPageAddItemModel.h"
#include "app/IgnoreListPageModel.h"
#include "cli/ExitCodes.h"
#include "platform/Text.h"
#include "scan/IgnoreList.h"
#include "strings/StringTable.h"

namespace brisko::cli {

void AddIgnoreCommand(CLI::App& app, IgnoreOptions& options) {
    CLI::App* ignore = app.add_subcommand("ignore", "Show or change the list of entries scans leave alone");
    AddMachineOptions(*ignore, options.machine);
    CLI::App* list = ignore->add_subcommand("list", "List the entries, newest first");
    list->callback([&options] { options.action = IgnoreOptions::Action::kList; });
    CLI::App* add = ignore->add_subcommand("add", "Leave a registry path alone from the next scan on");
    add->add_option("ROOT", options.root,
                    "HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_USERS")
        ->required();
    add->add_option("PATH", options.path, "The registry path below the root")->required();
    add->callback([&options] { options.action = IgnoreOptions::Action::kAdd; });
    CLI::App* remove = ignore->add_subcommand("remove", "Remove the first entry with this text (any case)");
    remove->add_option("TEXT", options.text, "The entry as `brisko ignore list` shows it")->required();
    remove->callback([&options] { options.action = IgnoreOptions::Action::kRemove; });
    // --machine may follow the action as well.
    for (CLI::App* action : {list, add, remove})
        action->fallthrough();
}

int RunIgnoreCommand(const IgnoreOptions& options) {
    std::unique_ptr<CommandMachine> opened = OpenMachineForCommand(options.machine);
    if (!opened) return kExitMachine;
    platform::Machine& machine = opened->Get();
    scan::IgnoreList list(machine.files, scan::IgnoreListPath(machine.system));
    list.LoadIgnoreList();
    app::IgnoreListPageModel page(list);
    page.Refresh();

    switch (options.action) {
        case IgnoreOptions::Action::kList:
            for (const std::string& row : page.Rows())
                std::printf("%s\n", row.c_str());
            return kExitOk;
        case IgnoreOptions::Action::kAdd: {
            app::IgnoreListPageAddItemModel dialog(list);
            int root = -1;
            for (std::size_t i = 0; i < dialog.kRoots.size(); ++i) {
                if (platform::EqualsNoCase(dialog.kRoots[i], options.root)) root = static_cast<int>(i);
            }
            if (root < 0) {
                std::fprintf(stderr,
                             "brisko: \"%s\" is not one of HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, "
                             "HKEY_LOCAL_MACHINE, HKEY_USERS\n",
                             options.root.c_str());
                return kExitUsage;
            }
            dialog.SelectRoot(root);
            dialog.SetPath(options.path);
            app::IgnoreListPageAddItemModel::OkResult result = dialog.Ok();
            if (!result.closeWithOk) {
                std::fprintf(stderr, "brisko: %s\n", strings::LoadStringOrMarks(result.messageId).c_str());
                return kExitUsage;
            }
            if (!list.LastSaveSucceeded()) {
                std::fprintf(stderr, "brisko: the ignore list could not be written to %s\n",
                             scan::IgnoreListPath(machine.system).c_str());
                return kExitFailed;
            }
            break;
        }
        case IgnoreOptions::Action::kRemove: {
            std::vector<std::size_t> rows;
            for (std::size_t i = 0; i < page.Rows().size(); ++i) {
                if (platform::EqualsNoCase(page.Rows()[i], options.text)) {
                    rows.push_back(i);
                    break;
                }
            }
            if (rows.empty()) {
                std::fprintf(stderr, "brisko: the ignore list holds no entry \"%s\"\n", options.text.c_str());
                return kExitFailed;
            }
            if (!page.Remove(rows)) {
                std::fprintf(stderr, "brisko: the ignore list could not be written to %s\n",
                             scan::IgnoreListPath(machine.system).c_str());
                return kExitFailed;
            }
            break;
        }
    }
    if (!SaveMachineForCommand(*opened)) return kExitFailed;
    return kExitOk;
}

}  // namespace brisko::cli
