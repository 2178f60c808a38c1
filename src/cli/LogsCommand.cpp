#include "cli/LogsCommand.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <vector>

#include "app/LogDetailsModel.h"
#include "cli/ExitCodes.h"
#include "platform/Text.h"
#include "scan/ActivityLog.h"
#include "strings/StringTable.h"

namespace brisko::cli {

namespace {

using namespace platform;

// The row of a file named on the command line; only names the list shows are accepted, so the command
// never reaches outside the log folder.
std::optional<std::size_t> FindRow(const app::LogDetailsModel& model, const std::string& file) {
    for (std::size_t row = 0; row < model.Rows().size(); ++row)
        if (EqualsNoCase(model.Rows()[row].fileName, file)) return row;
    return std::nullopt;
}

int Show(Machine& machine, const std::string& path) {
    FileHandle file;
    if (Status status =
            machine.files.OpenFile(path, kGenericRead, kShareRead | kShareWrite, kOpenExisting, file);
        status != kOk) {
        std::fprintf(stderr, "brisko: cannot open %s (error %u)\n", path.c_str(), status);
        return kExitFailed;
    }
    std::vector<std::uint8_t> buffer(65536);
    for (;;) {
        std::uint32_t read = 0;
        if (file->Read(buffer, read) != kOk) {
            std::fprintf(stderr, "brisko: cannot read %s\n", path.c_str());
            return kExitFailed;
        }
        if (read == 0) break;
        std::fwrite(buffer.data(), 1, read, stdout);
    }
    return kExitOk;
}

}  // namespace

void AddLogsCommand(CLI::App& app, LogsOptions& options) {
    CLI::App* logs = app.add_subcommand("logs", "List, show or delete the activity logs");
    logs->require_subcommand(0, 1);
    logs->fallthrough();
    AddMachineOptions(*logs, options.machine);
    logs->add_subcommand("list", "The logs, newest first (the default)");
    options.show = logs->add_subcommand("show", "Print one log");
    options.show->add_option("FILE", options.file, "File name of the log, as the list shows it")->required();
    options.remove = logs->add_subcommand("delete", "Delete one log");
    options.remove->add_option("FILE", options.file, "File name of the log, as the list shows it")
        ->required();
}

int RunLogsCommand(const LogsOptions& options) {
    std::unique_ptr<CommandMachine> opened = OpenMachineForCommand(options.machine);
    if (!opened) return kExitMachine;
    Machine& machine = opened->Get();
    // The command keeps no log of its own: a record would start a new log file and prune old ones.
    scan::MemoryLog log;
    app::LogDetailsModel model(machine, log);
    model.ListLogs();

    if (!options.show->parsed() && !options.remove->parsed()) {
        std::printf("%-24s %s\n", strings::LoadStringOrMarks(strings::kIdLogDateColumn).c_str(),
                    strings::LoadStringOrMarks(strings::kIdLogFileColumn).c_str());
        for (const app::LogRow& row : model.Rows())
            std::printf("%-24s %s\n", row.dateTime.c_str(), row.fileName.c_str());
        return kExitOk;
    }
    std::optional<std::size_t> row = FindRow(model, options.file);
    if (!row) {
        std::fprintf(stderr, "brisko: no log named \"%s\"\n", options.file.c_str());
        return kExitFailed;
    }
    if (options.show->parsed()) return Show(machine, model.PathOf(model.Rows()[*row].fileName));
    if (std::optional<std::string> refused = model.Delete(*row)) {
        std::fprintf(stderr, "brisko: %s\n", refused->c_str());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace brisko::cli
