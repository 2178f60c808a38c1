// `brisko scan`: runs a full scan of the chosen categories and prints what it found, grouped as the
// results pages group it, or as JSON for scripts.
#pragma once

#include <string>
#include <vector>

#include "cli/CommandMachine.h"

namespace CLI {
class App;
}

namespace brisko::cli {

struct ScanOptions {
    MachineChoice machine;
    std::vector<std::string> categories;  // scan item keys or names; empty: the saved selection
    bool json = false;
    bool listCategories = false;
};

void AddScanCommand(CLI::App& app, ScanOptions& options);
int RunScanCommand(const ScanOptions& options);

}  // namespace brisko::cli
