// `brisko scan` on the demo machine, as the main job runs it: the documented broken entries are found,
// the sound and excluded ones are not, and scripts get one JSON object per problem.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>
#include <sstream>
#include <tuple>

#include "platform/sim/DemoMachine.h"
#include "scan/Problem.h"
#include "scan/RegistryPaths.h"
#include "support/CliRunner.h"
#include "support/TestMachine.h"

namespace brisko::cli {
namespace {

using Finding = std::tuple<int, std::string, std::string>;  // category, key path, value name

std::vector<nlohmann::json> JsonLines(const std::string& out) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(nlohmann::json::parse(line));
    return lines;
}

TEST(ScanCommand, FindsExactlyTheDemoMachinesDocumentedBrokenEntries) {
    test::TestMachine machine("demo");
    test::CommandRun run = test::RunBrisko("scan --json --machine " + machine.Folder().string());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::vector<nlohmann::json> lines = JsonLines(run.out);
    ASSERT_FALSE(lines.empty());

    std::set<Finding> found;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i]["engine"], 0);
        EXPECT_EQ(lines[i]["file"], false);
        found.emplace(lines[i]["category"].get<int>(), lines[i]["key"].get<std::string>(),
                      scan::ShownValueName(lines[i]["value"].get<std::string>()));
    }
    EXPECT_EQ(found.size(), lines.size() - 1) << "a finding is listed twice";
    EXPECT_EQ(lines.back()["summary"]["problems"], lines.size() - 1);

    std::set<Finding> documented;
    for (const auto& entry : platform::sim::DemoRegistryEntries()) {
        Finding finding{entry.category, scan::FullKeyPath(entry.root, entry.key),
                        scan::ShownValueName(std::string(entry.name))};
        if (entry.verdict == platform::sim::DemoVerdict::kFound) {
            documented.insert(finding);
        } else {
            EXPECT_EQ(found.count(finding), 0u) << std::get<1>(finding) << " " << std::get<2>(finding);
        }
    }
    EXPECT_EQ(found, documented);
}

TEST(ScanCommand, ChosenCategoriesAloneAreScannedAndUnknownOnesAreRefused) {
    test::TestMachine machine("demo");
    std::string on = " --machine " + machine.Folder().string();
    test::CommandRun run = test::RunBrisko("scan --json --categories deepscan" + on);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::vector<nlohmann::json> lines = JsonLines(run.out);
    ASSERT_GT(lines.size(), 1u);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i]["category"], 11);

    run = test::RunBrisko("scan --categories sftloc,nonsense" + on);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("unknown category \"nonsense\""), std::string::npos) << run.output;
    run = test::RunBrisko("scan --machine /nonexistent/machine");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.output.find("cannot load the machine"), std::string::npos) << run.output;
}

TEST(ScanCommand, GroupsTheResultsAsTheResultsPagesDo) {
    test::TestMachine machine("demo");
    test::CommandRun run = test::RunBrisko("scan --categories sftloc --machine " + machine.Folder().string());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const char* expected :
         {"System Registry: ", "  Software Locations (", "Medium Priority: The key is invalid.",
          "Key: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\",
          "Disk Performance Issues: 0 problems", "Found "}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
    // The scan's start and counts are kept for the next run of the program.
    machine.Reopen();
    platform::RegKey key;
    ASSERT_EQ(machine->registry.OpenKey(platform::kLocalMachine, "SOFTWARE\\Brisko", platform::kKeyRead, key),
              platform::kOk);
    platform::ValueType type = 0;
    platform::Bytes data;
    EXPECT_EQ(machine->registry.QueryValue(key.Get(), "lastScan", 1024, type, data), platform::kOk);
    EXPECT_EQ(machine->registry.QueryValue(key.Get(), "esftloc", 1024, type, data), platform::kOk);
    EXPECT_NE(scan::DataText(data), "0");
}

TEST(ScanCommand, ControlCharactersOfTheMachineNeverReachTheTerminal) {
    test::TestMachine machine("win7");
    platform::RegKey key;
    ASSERT_EQ(machine->registry.CreateKey(
                  platform::kLocalMachine,
                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\evil\x1b]0;x\x07.exe",
                  platform::kKeyAllAccess, key),
              platform::kOk);
    const std::string data = "C:\\Gone\\evil.exe";
    platform::Bytes bytes(data.begin(), data.end());
    bytes.push_back(0);
    ASSERT_EQ(machine->registry.SetValue(key.Get(), "", platform::kRegSz, bytes), platform::kOk);
    key.Close();
    machine.Reopen();
    test::CommandRun run = test::RunBrisko("scan --categories sftloc --machine " + machine.Folder().string());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(run.out.find('\x07'), std::string::npos);
    EXPECT_NE(run.out.find("evil\\x1B]0;x\\x07.exe"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace brisko::cli
