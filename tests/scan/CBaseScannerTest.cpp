// The filter every finding passes and the collection helpers the engines share.
#include "scan/CBaseScanner.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scan/RecordingWindow.h"
#include "support/TestMachine.h"

namespace brisko::scan {
namespace {

using namespace platform;

class BaseScannerTest : public ::testing::Test {
protected:
    BaseScannerTest() : scanner(context, kJunkFileEngine, flags) { scanner.SetWindow(&window); }
    void MakeFile(const std::string& path, std::uint32_t attributes = 0) {
        FileHandle file;
        ASSERT_EQ(machine->files.OpenFile(path, kGenericWrite, 0, kCreateAlways, file), kOk) << path;
        std::uint32_t written = 0;
        const std::uint8_t bytes[] = {'x', 'y'};
        ASSERT_EQ(file->Write(bytes, written), kOk);
        file.reset();
        if (attributes != 0) {
            ASSERT_EQ(machine->files.SetAttributes(path, attributes), kOk);
        }
    }
    std::unique_ptr<CRegistryProblem> Problem(std::string key, int engine, int category,
                                              std::string value = "") {
        return std::make_unique<CRegistryProblem>(std::move(key), std::move(value), "", engine, category);
    }

    test::TestMachine machine{"demo"};
    MemoryLog log;
    ProblemLists lists;
    std::vector<std::string> excludedKeys;
    ScanContext context{*machine,
                        log,
                        lists,
                        [this](const CRegistryProblem& p) {
                            return std::find(excludedKeys.begin(), excludedKeys.end(), p.keyPath) !=
                                   excludedKeys.end();
                        },
                        {}};
    bool flags[12] = {true, true, true, true, true, true, true, true, true, true, true, true};
    CBaseScanner scanner;
    test::RecordingWindow window;
};

TEST_F(BaseScannerTest, ReportProblemKeepsOrDropsByEngineAndKind) {
    MakeFile("C:\\Windows\\Temp\\free.tmp");
    MakeFile("C:\\Windows\\Temp\\readonly.tmp", kAttrReadOnly);
    MakeFile("C:\\Users\\Alice\\Desktop\\mine.tmp");
    excludedKeys = {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Excluded", "C:\\Windows\\Temp\\free.tmp",
                    "HKEY_CURRENT_USER\\Software\\Trace"};
    struct Case {
        const char* what;
        std::string key;
        int engine;
        int category;
        bool dropped;
    };
    const Case cases[] = {
        {"registry finding", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Broken", kRegistryEngine, REG_SOFTWARE_LOCATIONS,
         false},
        {"excluded registry finding", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Excluded", kRegistryEngine, 0, true},
        {"tune-up is never dropped", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Excluded", kTuneupEngine, 2, false},
        {"privacy category 1 is kept though excluded", "HKEY_CURRENT_USER\\Software\\Trace", kPrivacyEngine,
         1, false},
        {"other privacy categories are not", "HKEY_CURRENT_USER\\Software\\Trace", kPrivacyEngine, 2, true},
        // Files are judged by whether they can be removed; the registry lists do not speak for them.
        {"removable junk file", "C:\\Windows\\Temp\\free.tmp", kJunkFileEngine, 0, false},
        {"read-only junk file", "C:\\Windows\\Temp\\readonly.tmp", kJunkFileEngine, 0, true},
        {"junk file below a desktop", "C:\\Users\\Alice\\Desktop\\mine.tmp", kJunkFileEngine, 0, true},
        {"locked junk file", "C:\\pagefile.sys", kJunkFileEngine, 0, true},
        {"missing junk file", "C:\\Windows\\Temp\\gone.tmp", kJunkFileEngine, 0, true},
    };
    for (const Case& c : cases) {
        window.notifications.clear();
        bool dropped = scanner.ReportProblem(Problem(c.key, c.engine, c.category));
        EXPECT_EQ(dropped, c.dropped) << c.what;
        EXPECT_EQ(window.notifications.size(), c.dropped ? 0u : 1u) << c.what;
    }
}

TEST_F(BaseScannerTest, AFileTheUserIgnoredStaysIgnored) {
    MakeFile("C:\\Windows\\Temp\\keep.tmp");
    context.isIgnoredByUser = [](const CRegistryProblem& p) {
        return p.keyPath == "C:\\Windows\\Temp\\keep.tmp";
    };
    EXPECT_TRUE(scanner.ReportProblem(Problem("C:\\Windows\\Temp\\keep.tmp", kJunkFileEngine, 0)));
}

TEST_F(BaseScannerTest, DeepScanDropsWhatAnotherCategoryReportedAlready) {
    lists.RegistryProblems.push_back(std::make_unique<CRegistryProblem>(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\App", "Path", "C:\\x.exe", kRegistryEngine, 0));
    lists.RegistryProblems.push_back(std::make_unique<CRegistryProblem>(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Deep", "Path", "C:\\y.exe", kRegistryEngine, REG_DEEP_SCAN));
    EXPECT_TRUE(scanner.ReportProblem(
        Problem("hkey_local_machine\\software\\app", kRegistryEngine, REG_DEEP_SCAN, "PATH")));
    // Two Deep Scan findings of the same value are both kept.
    EXPECT_FALSE(scanner.ReportProblem(
        Problem("HKEY_LOCAL_MACHINE\\SOFTWARE\\Deep", kRegistryEngine, REG_DEEP_SCAN, "Path")));
    // Another category is not checked against earlier findings.
    EXPECT_FALSE(
        scanner.ReportProblem(Problem("HKEY_LOCAL_MACHINE\\SOFTWARE\\App", kRegistryEngine, 0, "Path")));
}

TEST_F(BaseScannerTest, CollectFolderFilesWalksBelowTheFolderOnly) {
    ASSERT_EQ(machine->files.CreateDirectory("C:\\Windows\\Temp\\sub"), kOk);
    MakeFile("C:\\Windows\\Temp\\a.tmp");
    MakeFile("C:\\Windows\\Temp\\sub\\b.tmp");
    // A link inside the folder that leads to the user's documents is listed, never walked.
    std::filesystem::path host;
    ASSERT_TRUE(machine->SimulatedFiles().HostPath("C:\\Users\\Alice\\Documents", host));
    MakeFile("C:\\Users\\Alice\\Documents\\precious.doc");
    std::filesystem::path link;
    ASSERT_TRUE(machine->SimulatedFiles().HostPath("C:\\Windows\\Temp", link));
    std::filesystem::create_directory_symlink(host, link / "docs");
    machine->SimulatedFiles().ForgetFolder(link);

    scanner.CollectFolderFiles("C:\\Windows\\Temp", kJunkFileEngine, 0);
    std::vector<std::string> found;
    for (const auto& p : window.problems)
        found.push_back(p->keyPath);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"C:\\Windows\\Temp\\a.tmp", "C:\\Windows\\Temp\\sub\\b.tmp"}));
    for (const auto& p : window.problems)
        EXPECT_TRUE(p->isFile);
}

TEST_F(BaseScannerTest, CollectFolderFilesLeavesShortFolderTextsAlone) {
    ASSERT_EQ(machine->files.CreateDirectory("C:\\Temp"), kOk);
    ASSERT_EQ(machine->files.CreateDirectory("C:\\Temp\\ab"), kOk);
    MakeFile("C:\\Temp\\ab\\x.tmp");
    scanner.CollectFolderFiles("C:\\Temp\\ab", kJunkFileEngine, 0);  // exactly 10 characters
    EXPECT_TRUE(window.notifications.empty());
    scanner.CollectFolderFiles("C:\\Temp\\ab\\", kJunkFileEngine, 0);
    EXPECT_FALSE(window.problems.empty());
}

TEST_F(BaseScannerTest, CollectHelpersReportValuesWithTheirKeyPaths) {
    RegKey key;
    ASSERT_EQ(machine->registry.CreateKey(kCurrentUser, "Software\\Traces\\One", kKeyAllAccess, key), kOk);
    const Bytes data{'a', 'b', 0};
    ASSERT_EQ(machine->registry.SetValue(key.Get(), "first", kRegSz, data), kOk);
    ASSERT_EQ(machine->registry.SetValue(key.Get(), "second", kRegSz, data), kOk);
    scanner.CollectSubkeyValues(kCurrentUser, "Software\\Traces", kPrivacyEngine, 1);
    ASSERT_EQ(window.problems.size(), 2u);
    EXPECT_EQ(window.problems[0]->keyPath, "HKEY_CURRENT_USER\\Software\\Traces\\One");
    EXPECT_EQ(window.problems[1]->valueName, "second");
    EXPECT_EQ(window.problems[1]->data, "ab");

    scanner.CollectValue(kCurrentUser, "Software\\Traces\\One", "first", kPrivacyEngine, 1);
    ASSERT_EQ(window.problems.size(), 3u);
    scanner.CollectValue(kCurrentUser, "Software\\Traces\\One", "missing", kPrivacyEngine, 1);
    EXPECT_EQ(window.problems.size(), 3u);
}

}  // namespace
}  // namespace brisko::scan
