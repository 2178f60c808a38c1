// The registry engine's category loop and its generic checkers over a simulated machine.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "scan/RegistryPaths.h"
#include "scanners/RegistryScanRun.h"
#include "support/TestMachine.h"

namespace brisko::scanners {
namespace {

using namespace platform;
using regtest::PutText;
using regtest::PutValue;
using regtest::RegistryRun;
using scan::REG_DEEP_SCAN;
using scan::REG_SOFTWARE_LOCATIONS;

constexpr const char* kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// (key path, value name) of each finding, in the order reported.
std::vector<std::pair<std::string, std::string>> Findings(const RegistryRun& run) {
    std::vector<std::pair<std::string, std::string>> found;
    for (const auto& problem : run.Found())
        found.emplace_back(problem->keyPath, problem->valueName);
    return found;
}

TEST(RegistryScanner, RunsEnabledCategoriesInOrderAndSkipsTheRest) {
    test::TestMachine machine;
    RegistryRun run(*machine, {REG_SOFTWARE_LOCATIONS, REG_DEEP_SCAN});
    run.Scan();

    std::vector<std::pair<std::uint32_t, std::intptr_t>> categoryMessages;
    for (const auto& message : run.window.messages) {
        EXPECT_EQ(message.wParam, 0u) << "the registry engine sends engine 0";
        if (message.id != scan::kMsgCurrentItem) categoryMessages.emplace_back(message.id, message.lParam);
    }
    std::vector<std::pair<std::uint32_t, std::intptr_t>> expected = {{scan::kMsgCategoryStart, 0},
                                                                     {scan::kMsgCategoryEnd, 0}};
    for (int category = 1; category < 11; ++category)
        expected.emplace_back(scan::kMsgCategorySkipped, category);
    expected.insert(expected.end(), {{scan::kMsgCategoryStart, 11}, {scan::kMsgCategoryEnd, 11}});
    EXPECT_EQ(categoryMessages, expected) << "a fresh machine has nothing to report";

    const std::vector<std::string>& lines = run.log.Lines();
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "Stated Scan for :Software Locations");
    EXPECT_EQ(lines[1], "End Scan for :Software Locations");
    EXPECT_EQ(lines[2], "Ignonred Scan for :Registry Integrity");
    EXPECT_EQ(lines[11], "Ignonred Scan for :Custom Controls");
    EXPECT_EQ(lines[12], "Stated Scan for :Deep Scan");
    EXPECT_EQ(lines[13], "End Scan for :Deep Scan");
}

TEST(RegistryScanner, CheckKeyValuesReportsValuesNamingMissingFiles) {
    test::TestMachine machine;
    const char* key = "SOFTWARE\\Vendor\\App";
    PutText(*machine, kLocalMachine, key, "plain", "C:\\Gone\\a.exe");
    PutText(*machine, kLocalMachine, key, "", "\"C:\\Gone\\b.exe\" /x");
    PutValue(*machine, kLocalMachine, key, "expanded", kRegExpandSz,
             regtest::Terminated("%SystemRoot%\\gone.exe"));
    PutValue(*machine, kLocalMachine, key, "C:\\Gone\\listed.txt", kRegDword, {1, 0, 0, 0});
    PutText(*machine, kLocalMachine, key, "C:\\Gone\\named.txt", "C:\\Windows\\notepad.exe");
    PutValue(*machine, kLocalMachine, key, "unterminated", kRegBinary, {'C', ':', '\\', 'G', 'o', 'n', 'e'});
    PutValue(*machine, kLocalMachine, key, "number", kRegDword, {'C', ':', '\\', 0});
    PutText(*machine, kLocalMachine, key, "sound", "C:\\Windows\\notepad.exe");
    PutText(*machine, kLocalMachine, key, "url", "http://example.com/");

    RegistryRun run(*machine, {});
    run.scanner.CheckKeyValues(kLocalMachine, key, REG_DEEP_SCAN, true);

    const std::string path = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App";
    using Row = std::tuple<std::string, std::string, std::string>;
    std::vector<Row> found;
    for (const auto& problem : run.Found()) {
        EXPECT_EQ(problem->keyPath, path);
        EXPECT_EQ(problem->engine, scan::kRegistryEngine);
        EXPECT_EQ(problem->category, REG_DEEP_SCAN);
        found.emplace_back(problem->keyPath, problem->valueName, problem->data);
    }
    EXPECT_EQ(found, (std::vector<Row>{
                         {path, "plain", "C:\\Gone\\a.exe"},
                         {path, "", "\"C:\\Gone\\b.exe\" /x"},
                         {path, "expanded", "C:\\Windows\\gone.exe"},
                         {path, "C:\\Gone\\listed.txt", "\x01"},
                         {path, "unterminated", "C:\\Gone"},
                     }));

    // The current-item texts name the value as a display would.
    std::vector<std::string> items;
    for (const auto& message : run.window.messages) {
        if (message.id == scan::kMsgCurrentItem) items.push_back(message.text);
    }
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[0], "SOFTWARE\\Vendor\\App || plain=C:\\Gone\\a.exe");
    EXPECT_EQ(items[1], "SOFTWARE\\Vendor\\App || (Default)=\"C:\\Gone\\b.exe\" /x");

    RegistryRun withoutNames(*machine, {});
    withoutNames.scanner.CheckKeyValues(kLocalMachine, key, REG_DEEP_SCAN, false);
    EXPECT_EQ(withoutNames.Found().size(), 4u) << "value names are only judged when asked for";
}

TEST(RegistryScanner, DataBeyondTheBufferEndsTheKeysValues) {
    test::TestMachine machine;
    const char* key = "SOFTWARE\\Vendor\\Big";
    PutText(*machine, kLocalMachine, key, "before", "C:\\Gone\\before.exe");
    PutValue(*machine, kLocalMachine, key, "big", kRegBinary, Bytes(2000, 'x'));
    PutText(*machine, kLocalMachine, key, "after", "C:\\Gone\\after.exe");
    // A path that fills the whole buffer with no terminator is read within the buffer, and is too long to
    // judge.
    std::string full = "C:\\Gone\\" + std::string(1016, 'y');
    PutValue(*machine, kLocalMachine, "SOFTWARE\\Vendor\\Full", "full", kRegBinary,
             Bytes(full.begin(), full.end()));

    RegistryRun run(*machine, {});
    run.scanner.CheckKeyValues(kLocalMachine, key, REG_DEEP_SCAN, true);
    run.scanner.CheckKeyValues(kLocalMachine, "SOFTWARE\\Vendor\\Full", REG_DEEP_SCAN, true);
    EXPECT_EQ(Findings(run), (std::vector<std::pair<std::string, std::string>>{
                                 {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Big", "before"}}));
}

TEST(RegistryScanner, WalkKeyTreeGoesDepthFirstAndStopsBelowMirroredTrees) {
    test::TestMachine machine;
    const char* missing = "C:\\Gone\\x.exe";
    for (const char* key :
         {"SOFTWARE\\Walk\\A", "SOFTWARE\\Walk\\A\\A1", "SOFTWARE\\Walk\\B", "SOFTWARE\\Walk\\Wow6432Node",
          "SOFTWARE\\Walk\\Wow6432Node\\Hidden", "SOFTWARE\\Walk\\Classes", "SOFTWARE\\Walk\\Classes\\x",
          "SOFTWARE\\Walk\\Classes\\x\\Hidden", "SOFTWARE\\Walk\\Profiles\\.DEFAULT",
          "SOFTWARE\\Walk\\Profiles\\.DEFAULT\\Hidden"}) {
        PutText(*machine, kLocalMachine, key, "v", missing);
    }
    PutText(*machine, kLocalMachine, "SOFTWARE\\Walk", "own", missing);

    RegistryRun run(*machine, {});
    run.scanner.WalkKeyTree(kLocalMachine, "SOFTWARE\\Walk", REG_DEEP_SCAN);

    std::vector<std::string> keys;
    for (const auto& [keyPath, name] : Findings(run))
        keys.push_back(keyPath.substr(std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Walk\\").size()));
    // Subkeys enumerate sorted; the walk's own key is not checked.
    EXPECT_EQ(keys, (std::vector<std::string>{"A", "A\\A1", "B", "Classes", "Classes\\x",
                                              "Profiles\\.DEFAULT", "Wow6432Node"}));
}

TEST(RegistryScanner, KeysThatDenyAccessAreSkippedSilently) {
    test::TestMachine machine;
    PutText(*machine, kCurrentUser, "Software\\Vendor\\Locked", "v", "C:\\Gone\\locked.exe");
    PutText(*machine, kCurrentUser, "Software\\Vendor\\Locked\\Below", "v", "C:\\Gone\\below.exe");
    PutText(*machine, kCurrentUser, "Software\\Vendor\\Open", "v", "C:\\Gone\\open.exe");
    machine.EditConfig([](sim::MachineConfig& config) {
        config.deniedKeys.push_back("HKEY_CURRENT_USER\\Software\\Vendor\\Locked");
    });

    RegistryRun run(*machine, {REG_DEEP_SCAN});
    run.Scan();
    EXPECT_EQ(Findings(run), (std::vector<std::pair<std::string, std::string>>{
                                 {"HKEY_CURRENT_USER\\Software\\Vendor\\Open", "v"}}));
}

TEST(RegistryScanner, DeepTreesAreWalkedToTheRegistrysOwnDepthLimitAndSkippedBelow) {
    test::TestMachine machine;
    std::string key = "Software\\Deep";
    for (int level = 0; level < 500; ++level)
        key += "\\k";
    PutText(*machine, kCurrentUser, key, "v", "C:\\Gone\\deep.exe");
    std::string tooDeep = "Software\\TooDeep";
    for (int level = 0; level < 1000; ++level)
        tooDeep += "\\k";
    PutText(*machine, kCurrentUser, tooDeep, "v", "C:\\Gone\\deeper.exe");

    RegistryRun run(*machine, {REG_DEEP_SCAN});
    run.Scan();
    EXPECT_EQ(Findings(run),
              (std::vector<std::pair<std::string, std::string>>{{"HKEY_CURRENT_USER\\" + key, "v"}}));
    int skipped = 0;
    for (const std::string& line : run.log.Lines()) {
        skipped += line.rfind("Skipped the keys below a tree too deep to walk: Software\\TooDeep\\k", 0) == 0;
    }
    EXPECT_EQ(skipped, 1);
}

TEST(RegistryScanner, SoftwareLocationsChecksTheProgramsBelowAppPaths) {
    test::TestMachine machine;
    PutText(*machine, kLocalMachine, kAppPaths, "Own", "C:\\Gone\\own.exe");
    PutText(*machine, kLocalMachine, std::string(kAppPaths) + "\\gone.exe", "", "C:\\Gone\\gone.exe");

    RegistryRun run(*machine, {REG_SOFTWARE_LOCATIONS});
    run.Scan();
    ASSERT_EQ(run.Found().size(), 1u);
    EXPECT_EQ(run.Found()[0]->keyPath, "HKEY_LOCAL_MACHINE\\" + std::string(kAppPaths) + "\\gone.exe");
    EXPECT_EQ(run.Found()[0]->category, REG_SOFTWARE_LOCATIONS);
}

TEST(RegistryScanner, DeepScanLeavesSoftwareLocationsFindingsToTheirCategory) {
    test::TestMachine machine;
    const std::string key = std::string(kAppPaths) + "\\gone.exe";
    PutText(*machine, kLocalMachine, key, "", "C:\\Gone\\gone.exe");
    PutText(*machine, kCurrentUser, "Software\\Vendor", "Data", "C:\\Gone\\data.txt");

    RegistryRun both(*machine, {REG_SOFTWARE_LOCATIONS, REG_DEEP_SCAN});
    both.Scan();
    std::vector<std::pair<std::string, int>> found;
    for (const auto& problem : both.Found())
        found.emplace_back(problem->keyPath, problem->category);
    EXPECT_EQ(found, (std::vector<std::pair<std::string, int>>{
                         {"HKEY_LOCAL_MACHINE\\" + key, REG_SOFTWARE_LOCATIONS},
                         {"HKEY_CURRENT_USER\\Software\\Vendor", REG_DEEP_SCAN},
                     }));

    RegistryRun deepOnly(*machine, {REG_DEEP_SCAN});
    deepOnly.Scan();
    ASSERT_EQ(deepOnly.Found().size(), 2u) << "without Software Locations, Deep Scan reports it";
    EXPECT_EQ(deepOnly.Found()[1]->keyPath, "HKEY_LOCAL_MACHINE\\" + key);
    EXPECT_EQ(deepOnly.Found()[1]->category, REG_DEEP_SCAN);
}

}  // namespace
}  // namespace brisko::scanners
