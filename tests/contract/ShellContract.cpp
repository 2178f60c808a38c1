// How the shell service behaves on the simulation and on the real API alike: relations between the known
// folders (their exact places depend on the machine), environment expansion and the Path tests.
#include <string>
#include <vector>

#include "contract/ContractEnv.h"
#include "platform/Text.h"

namespace brisko::contract {
namespace {

using namespace platform;

std::string Folder(int csidl) {
    std::string path;
    EXPECT_EQ(M().shell.GetFolderPath(csidl, false, path), kOk) << csidl;
    return path;
}

TEST(ShellContract, KnownFoldersHangTogether) {
    Shell& shell = M().shell;
    std::string windows = Folder(kCsidlWindows);
    EXPECT_TRUE(EqualsNoCase(Folder(kCsidlSystem), windows + "\\system32"));
    EXPECT_TRUE(EqualsNoCase(Folder(kCsidlFonts), windows + "\\Fonts"));
    std::string profile = Folder(kCsidlProfile);
    for (int csidl : {kCsidlAppData, kCsidlLocalAppData, kCsidlPersonal, kCsidlDesktopDirectory}) {
        std::string path = Folder(csidl);
        EXPECT_TRUE(StartsWithNoCase(path, profile + "\\")) << path;
        EXPECT_TRUE(shell.PathIsDirectory(path)) << path;
    }
    EXPECT_TRUE(shell.PathIsDirectory(Folder(kCsidlCommonAppData)));
    EXPECT_TRUE(shell.PathIsDirectory(Folder(kCsidlProgramFiles)));
    // The environment names the same places.
    const std::pair<const char*, int> variables[] = {
        {"SystemRoot", kCsidlWindows},        {"windir", kCsidlWindows},
        {"USERPROFILE", kCsidlProfile},       {"APPDATA", kCsidlAppData},
        {"ProgramFiles", kCsidlProgramFiles},
    };
    for (const auto& [name, csidl] : variables) {
        std::string value;
        ASSERT_TRUE(shell.GetEnvironmentVariable(name, value)) << name;
        EXPECT_TRUE(EqualsNoCase(value, Folder(csidl))) << name << " = " << value;
    }
}

TEST(ShellContract, MissingFolderIsCreatedOnlyWhenAsked) {
    Shell& shell = M().shell;
    std::string cookies;
    ASSERT_EQ(shell.GetFolderPath(kCsidlCookies, true, cookies), kOk);
    ASSERT_TRUE(shell.PathIsDirectory(cookies));
    if (M().files.RemoveDirectory(cookies) != kOk) GTEST_SKIP() << cookies << " is in use";
    std::string path = "sentinel";
    EXPECT_EQ(shell.GetFolderPath(kCsidlCookies, false, path), kFileNotFound);
    EXPECT_EQ(path, "sentinel");
    EXPECT_EQ(shell.GetFolderPath(kCsidlCookies, true, path), kOk);
    EXPECT_EQ(path, cookies);
    EXPECT_TRUE(shell.PathIsDirectory(cookies));
}

TEST(ShellContract, VirtualFolderHasNoPath) {
    std::string path = "sentinel";
    EXPECT_NE(M().shell.GetFolderPath(kCsidlBitBucket, true, path), kOk);
    EXPECT_EQ(path, "sentinel");
}

TEST(ShellContract, EnvironmentNamesIgnoreCase) {
    Shell& shell = M().shell;
    std::string upper;
    std::string lower;
    ASSERT_TRUE(shell.GetEnvironmentVariable("SYSTEMROOT", upper));
    ASSERT_TRUE(shell.GetEnvironmentVariable("systemroot", lower));
    EXPECT_EQ(upper, lower);
    std::string value = "sentinel";
    EXPECT_FALSE(shell.GetEnvironmentVariable("BRISKO_NO_SUCH_VARIABLE", value));
    EXPECT_EQ(value, "sentinel");
}

TEST(ShellContract, ExpansionFollowsWindows) {
    Shell& shell = M().shell;
    std::string root;
    ASSERT_TRUE(shell.GetEnvironmentVariable("SystemRoot", root));
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"%SystemRoot%\\x", root + "\\x"},
        {"%systemroot%%SYSTEMROOT%", root + root},
        {"%BRISKO_NO_SUCH%", "%BRISKO_NO_SUCH%"},                          // unknown names stay as written
        {"a%BRISKO_NO_SUCH%SystemRoot%", "a%BRISKO_NO_SUCH%SystemRoot%"},  // ...and take both signs with them
        {"100%", "100%"},
        {"%", "%"},
        {"%%", "%%"},
        {"%SystemRoot", "%SystemRoot"},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string out = "sentinel";
        std::uint32_t needed = shell.ExpandEnvironmentStrings(c.text, 1024, out);
        EXPECT_EQ(out, c.expected) << c.text;
        EXPECT_GE(needed, c.expected.size() + 1) << c.text;
    }
    // Too small a buffer: the size it needs, and nothing handed over.
    std::string text = "%SystemRoot%\\x";
    std::string out = "sentinel";
    std::uint32_t needed =
        shell.ExpandEnvironmentStrings(text, static_cast<std::uint32_t>(root.size() + 2), out);
    EXPECT_GE(needed, root.size() + 3);
    EXPECT_EQ(out, "sentinel");
    EXPECT_EQ(shell.ExpandEnvironmentStrings(text, needed, out), needed);
    EXPECT_EQ(out, root + "\\x");
}

TEST(ShellContract, PathTextTests) {
    Shell& shell = M().shell;
    struct Case {
        const char* path;
        bool relative;
        bool root;
    };
    const Case cases[] = {
        {"", true, false},
        {"a\\b", true, false},
        {"..\\a", true, false},
        {"/a", true, false},
        {" C:\\", true, false},
        {"\\a", false, false},
        {"C:", false, false},
        {"C:a", false, false},
        {"c:/a", false, false},
        {"C:\\", false, true},
        {"C:\\\\", false, false},
        {"C:/", false, false},
        {"\\", false, true},
        {"\\\\", false, true},
        {"\\\\server", false, true},
        {"\\\\server\\share", false, true},
        {"\\\\server\\share\\", false, false},
        {"\\\\?\\C:\\", false, false},
        {"X:\\a\\", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shell.PathIsRelative(c.path), c.relative) << c.path;
        EXPECT_EQ(shell.PathIsRoot(c.path), c.root) << c.path;
    }
}

TEST(ShellContract, RenameExtensionReplacesTheLastExtension) {
    Shell& shell = M().shell;
    struct Case {
        const char* path;
        const char* ext;
        const char* expected;
    };
    const Case cases[] = {
        {"a.txt", ".bak", "a.bak"},
        {"a", ".bak", "a.bak"},
        {"C:\\dir.d\\file", ".x", "C:\\dir.d\\file.x"},  // a dot in a folder name is no extension
        {"C:\\d\\f.old.txt", ".x", "C:\\d\\f.old.x"},
        {"a.txt", "", "a"},
        {".hidden", ".x", ".x"},
        {"a b.t xt", ".x", "a b.t xt.x"},  // a space ends an extension as a backslash does
        {"a.toolongext", ".x", "a.x"},
    };
    for (const Case& c : cases) {
        std::string path = c.path;
        EXPECT_TRUE(shell.PathRenameExtension(path, c.ext)) << c.path;
        EXPECT_EQ(path, c.expected);
    }
    // The result must fit in MAX_PATH with its terminating zero.
    std::string base(255, 'a');
    base += ".t";
    std::string path = base;
    EXPECT_TRUE(shell.PathRenameExtension(path, ".abc"));
    EXPECT_EQ(path.size(), kMaxPath - 1);
    path = base;
    EXPECT_FALSE(shell.PathRenameExtension(path, ".abcd"));
    EXPECT_EQ(path, base);
}

class ShellFileContract : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = Env().scratchDir + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(M().files.CreateDirectory(dir_), kOk);
    }
    void TearDown() override {
        for (const std::string& path : created_)
            M().files.DeleteFile(path);
        M().files.RemoveDirectory(dir_);
    }
    void Touch(const std::string& path) {
        FileHandle file;
        ASSERT_EQ(M().files.OpenFile(path, kGenericWrite, 0, kCreateAlways, file), kOk) << path;
        created_.push_back(path);
    }

    std::string dir_;
    std::vector<std::string> created_;
};

TEST_F(ShellFileContract, ExistenceAndFolderTests) {
    Shell& shell = M().shell;
    Touch(dir_ + "\\File.txt");
    EXPECT_TRUE(shell.PathFileExists(dir_ + "\\file.TXT"));
    EXPECT_FALSE(shell.PathIsDirectory(dir_ + "\\File.txt"));
    EXPECT_FALSE(shell.PathFileExists(dir_ + "\\File.txt\\"));
    EXPECT_TRUE(shell.PathFileExists(dir_));
    EXPECT_TRUE(shell.PathIsDirectory(dir_));
    EXPECT_TRUE(shell.PathIsDirectory(dir_ + "\\"));
    EXPECT_TRUE(shell.PathIsDirectory(dir_ + "\\."));
    EXPECT_FALSE(shell.PathFileExists(dir_ + "\\missing"));
    EXPECT_FALSE(shell.PathFileExists(dir_ + "\\F*.txt"));
    EXPECT_FALSE(shell.PathFileExists(""));
    EXPECT_FALSE(shell.PathIsDirectory(dir_ + "\\missing"));
}

// Looks in the caller's folders first, then the system folder and the Windows folder; never for a name
// that has a folder in it.
TEST_F(ShellFileContract, FindOnPathSearchesInOrder) {
    Shell& shell = M().shell;
    std::string system = Folder(kCsidlSystem);
    std::string windows = Folder(kCsidlWindows);
    const std::string inSystem = "BriskoContractSys.tmp";
    const std::string inWindows = "BriskoContractWin.tmp";
    Touch(system + "\\" + inSystem);
    Touch(windows + "\\" + inWindows);
    Touch(dir_ + "\\" + inSystem);

    std::string path = inWindows;
    EXPECT_TRUE(shell.PathFindOnPath(path, nullptr));
    EXPECT_TRUE(EqualsNoCase(path, windows + "\\" + inWindows)) << path;

    path = inSystem;
    EXPECT_TRUE(shell.PathFindOnPath(path, nullptr));
    EXPECT_TRUE(EqualsNoCase(path, system + "\\" + inSystem)) << path;

    const std::vector<std::string> mine = {dir_};
    path = inSystem;
    EXPECT_TRUE(shell.PathFindOnPath(path, &mine));
    EXPECT_EQ(path, dir_ + "\\" + inSystem);

    const std::vector<std::string> withSlash = {dir_ + "\\"};
    path = inSystem;
    EXPECT_TRUE(shell.PathFindOnPath(path, &withSlash));
    EXPECT_EQ(path, dir_ + "\\" + inSystem);

    for (std::string name :
         {std::string("BriskoContractNowhere.tmp"), "x\\" + inSystem, dir_ + "\\" + inSystem}) {
        path = name;
        EXPECT_FALSE(shell.PathFindOnPath(path, &mine)) << name;
        EXPECT_EQ(path, name);
    }
}

}  // namespace
}  // namespace brisko::contract
