#include "cli/ScanCommand.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>

#include "app/ProgramState.h"
#include "app/ResultsPage.h"
#include "app/ScanSession.h"
#include "cli/ExitCodes.h"
#include "cli/Terminal.h"
#include "platform/Text.h"
#include "scan/ActivityLogFile.h"
#include "scan/ScanMessages.h"
#include "strings/StringTable.h"

namespace brisko::cli {

using namespace scan;

namespace {

constexpr int kEngineNameIds[kEngineCount] = {strings::kIdEngineRegistry, strings::kIdEngineDisk,
                                              strings::kIdEnginePrivacy, strings::kIdEngineTuneup};

std::string EngineName(int engine) {
    return strings::LoadStringOrMarks(kEngineNameIds[engine]);
}

// A machine's names and data may hold any bytes; control characters would steer the terminal, so they
// are shown as \xNN.
std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

// The chosen categories as the 45 flags of a scan controller; false with a message for an unknown name.
bool ChooseCategories(const std::vector<std::string>& names, const ScanItemTable& items,
                      std::array<bool, kScanItemCount>& enabled, std::string& error) {
    enabled.fill(false);
    for (const std::string& name : names) {
        bool known = false;
        for (int row = 0; row < kScanItemCount; ++row) {
            if (platform::EqualsNoCase(items.Row(row).key, name) ||
                platform::EqualsNoCase(items.Row(row).displayName, name)) {
                enabled[row] = known = true;
            }
        }
        if (!known) {
            error = "unknown category \"" + name + "\" (brisko scan --list-categories names them)";
            return false;
        }
    }
    return true;
}

// The live line of a terminal: engine, category, current item and the problems so far, redrawn at most
// every 50 ms as the scanning page redraws its item line.
class ProgressLine {
public:
    explicit ProgressLine(const ScanItemTable& items) : items_(items), width_(TerminalWidth()) {}

    void Update(const app::ScanSessionState& state, std::uint32_t message) {
        auto now = std::chrono::steady_clock::now();
        if (message == kMsgCurrentItem && now - lastDraw_ < std::chrono::milliseconds(50)) return;
        if (state.currentEngine < 0) return;
        lastDraw_ = now;
        std::string line = "[" + EngineName(state.currentEngine) + "] ";
        if (state.currentCategory >= 0) {
            line += items_.At(state.currentEngine, state.currentCategory).displayName + " | ";
        }
        std::string count = " | " + std::to_string(state.problemsFound) + " found";
        std::size_t room =
            width_ > line.size() + count.size() + 1 ? width_ - line.size() - count.size() - 1 : 0;
        std::string item = Printable(state.currentItem);
        if (item.size() > room) item = room > 3 ? "..." + item.substr(item.size() - (room - 3)) : "";
        std::fprintf(stderr, "\r\033[K%s%s%s", line.c_str(), item.c_str(), count.c_str());
        std::fflush(stderr);
    }
    void Clear() { std::fprintf(stderr, "\r\033[K"); }

private:
    const ScanItemTable& items_;
    std::size_t width_;
    std::chrono::steady_clock::time_point lastDraw_{};
};

// Each line of a text made printable, the lines after the first indented.
std::string Indented(const std::string& text, const char* indent) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        out += Printable(std::string_view(text).substr(start, end - start));
        out += '\n';
        out += indent;
    }
    out += Printable(std::string_view(text).substr(start));
    return out;
}

void PrintGrouped(ProblemLists& problems, const ScanItemTable& items,
                  const std::array<bool, kScanItemCount>& enabled) {
    int total = 0;
    for (int engine = 0; engine < kEngineCount; ++engine) {
        std::span<const bool> group(enabled.data() + kFirstScanItem[engine], kCategoryCounts[engine]);
        app::ResultsPage page = app::GroupResults(problems.ForEngine(engine), engine, items, group);
        int found = static_cast<int>(problems.ForEngine(engine).size());
        total += found;
        std::printf("%s: %d problem%s\n", EngineName(engine).c_str(), found, found == 1 ? "" : "s");
        for (const app::ResultRow& row : page.rows) {
            if (row.heading) {
                int count = 0;
                for (const auto& c : page.categories) {
                    if (c.category == row.category) count = c.rowCount;
                }
                std::printf("  %s (%d)\n", Printable(row.text).c_str(), count);
            } else {
                std::printf("    - %s\n", Indented(app::PlainText(row.text), "      ").c_str());
            }
        }
    }
    std::printf("Found %d problem%s.\n", total, total == 1 ? "" : "s");
}

void PrintJson(const ProblemLists& problems, const ScanItemTable& items, const app::ScanSessionState& state) {
    using nlohmann::ordered_json;
    int total = 0;
    ordered_json byEngine = ordered_json::array();
    for (int engine = 0; engine < kEngineCount; ++engine) {
        for (const auto& problem : problems.ForEngine(engine)) {
            ordered_json line = {
                {"engine", problem->engine},
                {"category", problem->category},
                {"categoryName", items.At(problem->engine, problem->category).displayName},
                {"key", problem->keyPath},
                {"value", problem->valueName},
                {"data", problem->data},
                {"file", problem->isFile},
            };
            std::printf("%s\n", line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
        }
        int found = static_cast<int>(problems.ForEngine(engine).size());
        byEngine.push_back(found);
        total += found;
    }
    ordered_json summary = {
        {"summary", {{"problems", total}, {"byEngine", byEngine}, {"interrupted", state.interrupted}}}};
    std::printf("%s\n", summary.dump().c_str());
}

}  // namespace

void AddScanCommand(CLI::App& app, ScanOptions& options) {
    CLI::App* scan = app.add_subcommand("scan", "Scan the machine and list what is wrong");
    AddMachineOptions(*scan, options.machine);
    scan->add_option(
            "--categories", options.categories,
            "Scan only these categories, by key or name (e.g. sftloc,deepscan); default: the saved selection")
        ->delimiter(',');
    scan->add_flag("--json", options.json, "One JSON object per problem and a summary, for scripts");
    scan->add_flag("--list-categories", options.listCategories,
                   "List the categories and their keys, and stop");
}

int RunScanCommand(const ScanOptions& options) {
    if (options.listCategories) {
        ScanItemTable items;
        for (int row = 0; row < kScanItemCount; ++row) {
            int engine = 0;
            while (engine + 1 < kEngineCount && row >= kFirstScanItem[engine + 1])
                ++engine;
            std::printf("%-24s %-44s %s\n", items.Row(row).key.c_str(), items.Row(row).displayName.c_str(),
                        EngineName(engine).c_str());
        }
        return kExitOk;
    }
    std::string error;
    std::unique_ptr<CommandMachine> opened = OpenMachineForCommand(options.machine);
    if (!opened) return kExitMachine;
    platform::Machine& machine = opened->Get();
    ActivityLogFile log(machine);
    app::ProgramState program(machine, log);
    program.Load();
    const ScanItemTable& items = program.scanItems;
    std::array<bool, kScanItemCount> enabled = items.EnabledFlags();
    if (!options.categories.empty() && !ChooseCategories(options.categories, items, enabled, error)) {
        std::fprintf(stderr, "brisko: %s\n", error.c_str());
        return kExitUsage;
    }

    ProblemLists& problems = program.problems;
    bool live = !options.json && IsTerminal(stderr);
    ProgressLine progress(items);
    app::ScanRequest request{program.RunState(), program.ScanContext(), enabled, {}};
    if (live)
        request.onChange = [&](const app::ScanSessionState& s, std::uint32_t m) { progress.Update(s, m); };
    app::ScanSessionState result = app::RunScanToCompletion(std::move(request));
    if (live) progress.Clear();

    if (options.json) {
        PrintJson(problems, items, result);
    } else {
        PrintGrouped(problems, items, enabled);
    }
    if (!SaveMachineForCommand(*opened)) return kExitFailed;
    return kExitOk;
}

}  // namespace brisko::cli
