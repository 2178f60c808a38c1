// The brisko command. On Linux it works on a simulated machine (a folder); the Windows build will work on
// the real machine.
#include <CLI/CLI.hpp>

#include <string>

#include "cli/ExitCodes.h"
#include "cli/MachineCommand.h"
#include "platform/sim/MachineBuilder.h"

int main(int argc, char** argv) {
    using namespace brisko;
    CLI::App app{"Brisko: scans and repairs a Windows machine", "brisko"};
    app.require_subcommand(1);

    CLI::App* machine = app.add_subcommand("machine", "Create or inspect a simulated Windows machine");
    machine->require_subcommand(1);

    std::string folder;
    std::string preset = "demo";
    CLI::App* create = machine->add_subcommand("create", "Write a new simulated machine into DIR");
    create->add_option("DIR", folder, "Folder of the new machine (must not exist or be empty)")->required();
    std::string presets;
    for (const auto& p : platform::sim::MachinePresets())
        presets += std::string(p.name) + " ";
    create->add_option("--preset", preset, "The kind of machine: " + presets)->capture_default_str();

    std::string shown;
    CLI::App* show = machine->add_subcommand("show", "Show what a simulated machine holds");
    show->add_option("DIR", shown, "Folder of the machine")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? cli::kExitOk : cli::kExitUsage;
    }
    if (create->parsed()) return cli::CreateMachineCommand(folder, preset);
    if (show->parsed()) return cli::ShowMachineCommand(shown);
    return cli::kExitUsage;
}
