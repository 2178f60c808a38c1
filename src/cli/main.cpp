// The brisko command: the engine's work from a terminal or a script. On Windows (brisko-cli.exe) it works on
// the machine it runs on; elsewhere on a simulated machine kept in a folder.
#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

#include "cli/ExitCodes.h"
#include "cli/IgnoreCommand.h"
#include "cli/LogsCommand.h"
#include "cli/ScanCommand.h"
#include "cli/SettingsCommand.h"
#include "cli/StatsCommand.h"
#ifndef _WIN32
#include "cli/MachineCommand.h"
#endif

int main(int argc, char** argv) {
    using namespace brisko;
#ifdef _WIN32
    CLI::App app{"Brisko: scans and repairs this Windows machine", "brisko-cli"};
#else
    CLI::App app{"Brisko: scans and repairs a Windows machine", "brisko"};
#endif
    app.require_subcommand(1);

    // Each command adds itself and says what runs when it was chosen.
    std::vector<std::pair<CLI::App*, std::function<int()>>> commands;
    auto added = [&app] { return app.get_subcommands({}).back(); };

    cli::ScanOptions scan;
    cli::AddScanCommand(app, scan);
    commands.emplace_back(added(), [&] { return cli::RunScanCommand(scan); });

    cli::SettingsOptions settings;
    cli::AddSettingsCommand(app, settings);
    commands.emplace_back(added(), [&] { return cli::RunSettingsCommand(settings); });

    cli::StatsOptions stats;
    cli::AddStatsCommand(app, stats);
    commands.emplace_back(added(), [&] { return cli::RunStatsCommand(stats); });

    cli::LogsOptions logs;
    cli::AddLogsCommand(app, logs);
    commands.emplace_back(added(), [&] { return cli::RunLogsCommand(logs); });

    cli::IgnoreOptions ignore;
    cli::AddIgnoreCommand(app, ignore);
    commands.emplace_back(added(), [&] { return cli::RunIgnoreCommand(ignore); });

#ifndef _WIN32
    cli::MachineOptions machine;
    cli::AddMachineCommand(app, machine);
    commands.emplace_back(added(), [&] { return cli::RunMachineCommand(machine); });
#endif

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? cli::kExitOk : cli::kExitUsage;
    }
    for (auto& [command, run] : commands) {
        if (command->parsed()) return run();
    }
    return cli::kExitUsage;
}
