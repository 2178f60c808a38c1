// The file-reference tests and the text rules behind every registry category.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "scanners/RegistryScanRun.h"
#include "scanners/registry/FileRefChecker.h"
#include "scanners/registry/RegistryText.h"
#include "support/TestMachine.h"

namespace brisko::scanners {
namespace {

using platform::kDriveRemote;
using platform::kDriveRemovable;

// A Windows 7 machine with a removable E:, a network Z:, an optical D: (the preset's) and no Q:, plus a
// few programs of its own.
class FileRefTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine_.EditConfig([](platform::sim::MachineConfig& config) {
            config.drives.push_back({'E', kDriveRemovable, 8'000'000'000ULL, 1'000'000'000ULL});
            config.drives.push_back({'Z', kDriveRemote, 8'000'000'000ULL, 1'000'000'000ULL});
        });
        checker_.emplace(machine_->shell, machine_->files);
        for (const char* file : {"C:\\Program Files\\App\\app.exe", "C:\\Program Files\\App\\lib.dll",
                                 "C:\\Program Files\\App\\app.ico", "C:\\Program Files\\App\\readme.txt",
                                 "C:\\Tools\\run.bat", "C:\\Tool.exe"}) {
            regtest::PutFile(*machine_, file);
        }
    }

    test::TestMachine machine_{"win7"};
    // Made after the machine's last reopening, which replaces its services.
    std::optional<FileRefChecker> checker_;
};

struct RefCase {
    const char* text;
    bool accepted;
    const char* why;
    int step = 0;  // the rule of CheckFileRef that decides (0: not told)
};

// Each case with the rule that decides it: 1 empty, 10 "rundll", 11 nothing left or too long to judge,
// 12 missing before a comma, 13 exists, 14 a drive not judged, 15 the first of two paths exists, 16 a
// plain missing path, 17 wildcards, 19 the assembly cache, 20 a token exists, 21 no token does.
TEST_F(FileRefTest, CheckFileRefAcceptsWhatExistsOrCannotBeJudged) {
    const std::string longPath = "C:\\Gone\\" + std::string(300, 'a') + ".exe";
    const RefCase cases[] = {
        {"", true, "empty", 1},
        {"C:\\Windows\\notepad.exe /p", true, "arguments after .exe are cut", 13},
        {"C:\\Windows\\NOTEPAD.EXE /p", true, "upper-case spelling of .exe", 13},
        {"C:\\Gone\\gone.exe", false, "a plain missing path", 16},
        {"C:\\Gone\\gone.exe,1", false, "missing before the comma", 12},
        {"C:\\Windows\\notepad.exe,1", true, "existing before the comma", 20},
        {"C:\\Windows\\System32\\RUNDLL32.EXE gone.dll,Entry", true, "rundll, any case", 10},
        {"C:\\Gone\\RunDll.txt", true, "rundll anywhere", 10},
        {"D:\\Setup\\app.exe", true, "optical drive", 14},
        {"E:\\Portable\\app.exe", true, "removable drive", 14},
        {"Z:\\Share\\app.exe", true, "network drive", 14},
        {"Q:\\Old\\app.exe", true, "no such drive", 14},
        {"\\\\server\\share\\x.exe", false, "missing network path", 16},
        {"C:\\Program Files\\App\\app.exe\\1", true, "resource path after .exe", 13},
        {"C:\\Program Files\\App\\lib.DLL\\2", true, "resource path after .DLL", 13},
        {"C:\\Program Files\\App\\app.ICO,3", true, "icon index after .ICO", 13},
        {"C:\\Gone\\x.ico,3", false, "missing icon", 16},
        {"C:\\Program Files\\App\\app.exe^.manifest", true, "cut before ^.", 13},
        {"C:\\Program Files\\App\\%LANG%\\x.txt", true, "cut before an unexpanded variable", 13},
        {"file://C:\\Program Files\\App\\app.exe", true, "file:// dropped", 13},
        {"@C:\\Program Files\\App\\lib.dll,-101", true, "resource reference", 20},
        {"@C:\\Gone\\lib.dll,-101", false, "resource reference to a missing library", 12},
        {"@", true, "nothing left once the @ is dropped", 11},
        {"junk C:\\Program Files\\App\\app.exe", true, "text before the drive is dropped", 13},
        {"junk C:\\Gone\\app.exe", false, "text before a missing path is dropped", 16},
        {"C:\\Program Files\\App\\readme.txt C:\\Gone\\x.txt", true, "first of two paths exists", 15},
        {"C:\\Gone\\*.tmp", true, "wildcards", 17},
        {"C:\\Gone\\GAC\\x;y", true, "global assembly cache", 19},
        {"C:\\Gone\\x.exe;notepad.exe", true, "a token found on the search path", 20},
        {"C:\\Gone\\x.txt;C:\\Gone\\y.txt", false, "no token exists", 21},
        {"C:\\Windows\\gone.cpl -x", true, "below the Windows folder, with a switch", 20},
        {"C:\\Tools\\run.bat -x", true, "existing script with a switch", 20},
        {"C:\\Tools\\gone.bat -x", false, "missing script with a switch", 21},
        {longPath.c_str(), true, "longer than MAX_PATH", 11},
    };
    for (const RefCase& c : cases) {
        EXPECT_EQ(checker_->CheckFileRef(c.text), c.accepted) << c.why << ": " << c.text;
        EXPECT_EQ(checker_->LastStep(), c.step) << c.why << ": " << c.text;
    }
}

TEST_F(FileRefTest, CheckPathTokenJudgesOneToken) {
    const RefCase cases[] = {
        {"PROGRAM", true, "no backslash"},
        {"C:\\GONE\\APP.EXE", false, "neither the path, its folder nor folder.exe exist"},
        {"C:\\TOOL\\RUN", true, "the folder with .exe exists"},
        {"C:\\\\GONE\\\\APP.EXE", false, "double backslashes are single"},
        {"", true, "empty"},
        {"  \t", true, "only white space"},
        {"\\\\server\\x", true, "starts with a backslash"},
        {"C:\\a<b", true, "a character no path holds"},
        {"C:\\", true, "drive root"},
        {"NOTEPAD.EXE", true, "on the search path"},
        {"%SystemRoot%\\NOTEPAD.EXE", true, "expanded, then exists"},
        {"C:\\WINDOWS\\GONE.DLL", true, "below the Windows folder"},
        {"C:\\Windows\\gone.dll", false, "the folder prefix compares case-sensitively"},
        {"C:\\PROGRAM FILES\\APP\\APP.EXE -X", true, "an existing file before the arguments"},
        {"C:\\PROGRAM FILES\\APP -X", true, "an existing folder before the arguments"},
        {"C:\\GONE\\X.TXT:STREAM", false, "cut at a second colon"},
        {"AB:C:\\X", true, "no folder left after the cut at the second colon"},
        {"C:\\PROGRAM FILES\\APP\\", true, "trailing backslashes go"},
    };
    for (const RefCase& c : cases) {
        EXPECT_EQ(checker_->CheckPathToken(c.text, nullptr), c.accepted) << c.why << ": " << c.text;
    }
    EXPECT_TRUE(checker_->CheckPathToken(std::string(260, 'A'), nullptr)) << "MAX_PATH or longer";
}

TEST_F(FileRefTest, OnlyFixedDrivesAreJudged) {
    const std::pair<char, bool> cases[] = {
        {'c', true},  {'C', true},  {'d', false}, {'D', false}, {'e', false},
        {'z', false}, {'q', false}, {'a', true},  {'\\', true}, {'1', true},
    };
    for (auto [letter, judged] : cases) {
        EXPECT_EQ(checker_->IsJudgeableDrive(letter), judged) << letter;
    }
}

TEST_F(FileRefTest, CleanExePathKeepsTheProgram) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Program Files\\App\\app.exe\" /s", "C:\\Program Files\\App\\app.exe"},
        {"\"\"C:\\App\\run.exe\"\"", "C:\\App\\run.exe"},
        {"C:\\App\\x.DLL,1", "C:\\App\\x.DLL"},
        {"C:\\App\\ctl.Ocx -r", "C:\\App\\ctl.Ocx"},
        {"C:\\App\\a.dll\\b.exe", "C:\\App\\a.dll"},
        {"%SystemRoot%\\system32\\svc.exe -k", "C:\\Windows\\system32\\svc.exe"},
        {"C:\\App\\readme.txt", "C:\\App\\readme.txt"},
        {"", ""},
    };
    for (auto [text, expected] : cases) {
        std::string out = "sentinel";
        EXPECT_TRUE(CleanExePath(machine_->shell, text, out)) << text;
        EXPECT_EQ(out, expected) << text;
    }
    std::string out = "sentinel";
    EXPECT_FALSE(CleanExePath(machine_->shell, std::string(1100, 'x'), out));
    EXPECT_EQ(out, "sentinel") << "a text beyond the buffer leaves the output alone";
}

TEST(RegistryText, StripVerbPrefixKeepsThePath) {
    const std::pair<const char*, const char*> cases[] = {
        {"Folder:\"C:\\Data\\Inbox\"", "C:\\Data\\Inbox"},
        {"regsvr32 /s \"C:\\App\\ctl.dll\"", "C:\\App\\ctl.dll"},
        {"regsvr32.exe \"C:\\App\\ctl.dll\"", "C:\\App\\ctl.dll"},
        {"regsvr32 C:\\App\\ctl.dll", " C:\\App\\ctl.dll"},
        {"\"C:\\App\\app.exe\"", "\"C:\\App\\app.exe\""},
        {"", ""},
    };
    for (auto [text, expected] : cases) {
        std::string out = "sentinel";
        StripVerbPrefix(text, out);
        EXPECT_EQ(out, expected) << text;
    }
}

TEST(RegistryText, PathCandidateNeedsADrivePathAtTheStart) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\App\\app.exe\" -a", "C:\\App\\app.exe"},
        {"C:\\App\\app.exe /s", "C:\\App\\app.exe /s"},
        {"C:\\App\\\"x", "C:\\App\\"},
        {"\"C:\\", "C:\\"},
        {"1:\\x", "1:\\x"},
    };
    for (auto [text, expected] : cases) {
        std::optional<std::string> candidate = PathCandidate(text);
        ASSERT_TRUE(candidate.has_value()) << text;
        EXPECT_EQ(*candidate, expected) << text;
    }
    for (const char* text : {"", "\"", "C:", "\"C:x", "http://x", "app.exe", "\\\\server\\x", "@C:\\x"}) {
        EXPECT_FALSE(PathCandidate(text).has_value()) << text;
    }
}

}  // namespace
}  // namespace brisko::scanners
