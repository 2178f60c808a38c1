// The simulated shell's own rules: the folder layouts of XP and of Vista and later, overrides from
// machine.json, the default environment of each version, and where PathFindOnPath looks.
#include "platform/sim/SimShell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/sim/FakeRegistry.h"

namespace brisko::platform::sim {
namespace {

namespace fs = std::filesystem;

class SimShellTest : public ::testing::Test {
protected:
    SimShellTest() {
        dir_ = fs::temp_directory_path() / ("brisko-simshell-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        config_.userName = "Alice";
        config_.computerName = "DEMO-PC";
        config_.drives = {{'C', kDriveFixed, 1000, 400}};
        SetVersion(6, 1);
    }
    ~SimShellTest() override {
        shell_.reset();
        files_.reset();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void SetVersion(std::uint32_t major, std::uint32_t minor) {
        config_.version.major = major;
        config_.version.minor = minor;
    }
    SimShell& Shell() {
        if (!shell_) {
            files_.emplace(config_, dir_, registry_);
            shell_.emplace(config_, *files_);
        }
        return *shell_;
    }
    void Host(const std::string& relative) {
        fs::path path = dir_ / "drives" / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
    std::string Folder(int csidl) {
        std::string path;
        EXPECT_EQ(Shell().GetFolderPath(csidl, true, path), kOk) << csidl;
        return path;
    }
    std::string Variable(std::string_view name) {
        std::string value = "<unset>";
        Shell().GetEnvironmentVariable(name, value);
        return value;
    }

    fs::path dir_;
    MachineConfig config_;
    testing::FakeRegistry registry_;
    std::optional<SimFileSystem> files_;
    std::optional<SimShell> shell_;
};

struct LayoutCase {
    int csidl;
    const char* xp;
    const char* seven;
};

const LayoutCase kLayouts[] = {
    {kCsidlAppData, "C:\\Documents and Settings\\Alice\\Application Data",
     "C:\\Users\\Alice\\AppData\\Roaming"},
    {kCsidlLocalAppData, "C:\\Documents and Settings\\Alice\\Local Settings\\Application Data",
     "C:\\Users\\Alice\\AppData\\Local"},
    {kCsidlInternetCache, "C:\\Documents and Settings\\Alice\\Local Settings\\Temporary Internet Files",
     "C:\\Users\\Alice\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files"},
    {kCsidlCookies, "C:\\Documents and Settings\\Alice\\Cookies",
     "C:\\Users\\Alice\\AppData\\Roaming\\Microsoft\\Windows\\Cookies"},
    {kCsidlRecent, "C:\\Documents and Settings\\Alice\\Recent",
     "C:\\Users\\Alice\\AppData\\Roaming\\Microsoft\\Windows\\Recent"},
    {kCsidlHistory, "C:\\Documents and Settings\\Alice\\Local Settings\\History",
     "C:\\Users\\Alice\\AppData\\Local\\Microsoft\\Windows\\History"},
    {kCsidlCommonAppData, "C:\\Documents and Settings\\All Users\\Application Data", "C:\\ProgramData"},
    {kCsidlPersonal, "C:\\Documents and Settings\\Alice\\My Documents", "C:\\Users\\Alice\\Documents"},
    {kCsidlStartup, "C:\\Documents and Settings\\Alice\\Start Menu\\Programs\\Startup",
     "C:\\Users\\Alice\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
    {kCsidlCommonStartup, "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup",
     "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
    {kCsidlCommonDesktopDirectory, "C:\\Documents and Settings\\All Users\\Desktop",
     "C:\\Users\\Public\\Desktop"},
    {kCsidlDesktop, "C:\\Documents and Settings\\Alice\\Desktop", "C:\\Users\\Alice\\Desktop"},
    {kCsidlWindows, "C:\\WINDOWS", "C:\\Windows"},
    {kCsidlSystem, "C:\\WINDOWS\\system32", "C:\\Windows\\system32"},
    {kCsidlProgramFilesCommon, "C:\\Program Files\\Common Files", "C:\\Program Files\\Common Files"},
};

TEST_F(SimShellTest, WindowsSevenLayout) {
    for (const LayoutCase& c : kLayouts)
        EXPECT_EQ(Folder(c.csidl), c.seven) << c.csidl;
}

TEST_F(SimShellTest, WindowsXpLayout) {
    SetVersion(5, 1);
    for (const LayoutCase& c : kLayouts)
        EXPECT_EQ(Folder(c.csidl), c.xp) << c.csidl;
}

TEST_F(SimShellTest, OverridesMoveAFolderAndWhatLiesBelowIt) {
    config_.knownFolders = {{"profile", "D:\\Home\\Alice\\"}, {"cookies", "C:\\Cookies"}};
    config_.drives.push_back({'D', kDriveFixed, 10, 5});
    EXPECT_EQ(Folder(kCsidlProfile), "D:\\Home\\Alice");
    EXPECT_EQ(Folder(kCsidlAppData), "D:\\Home\\Alice\\AppData\\Roaming");
    EXPECT_EQ(Folder(kCsidlRecent), "D:\\Home\\Alice\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
    EXPECT_EQ(Folder(kCsidlCookies), "C:\\Cookies");
    EXPECT_EQ(Variable("USERPROFILE"), "D:\\Home\\Alice");
    EXPECT_EQ(Variable("HOMEDRIVE"), "D:");
    EXPECT_EQ(Variable("HOMEPATH"), "\\Home\\Alice");
}

TEST_F(SimShellTest, CreateMakesTheFolderWithItsParents) {
    std::string path = "sentinel";
    EXPECT_EQ(Shell().GetFolderPath(kCsidlInternetCache, false, path), kFileNotFound);
    EXPECT_EQ(path, "sentinel");
    EXPECT_EQ(Shell().GetFolderPath(kCsidlInternetCache | kCsidlFlagCreate, false, path), kOk);
    EXPECT_TRUE(fs::is_directory(
        dir_ / "drives/C/Users/Alice/AppData/Local/Microsoft/Windows/Temporary Internet Files"));
    EXPECT_EQ(Shell().GetFolderPath(kCsidlInternetCache, false, path), kOk);
    EXPECT_EQ(Shell().GetFolderPath(kCsidlBitBucket, true, path), kInvalidParameter);
}

TEST_F(SimShellTest, EnvironmentOfEachVersionWithTheMachinesOwnValues) {
    config_.environment = {{"TEMP", "%USERPROFILE%\\Temp"}, {"Brisko", "%windir%\\x"}, {"path", "C:\\Tools"}};
    EXPECT_EQ(Variable("temp"), "C:\\Users\\Alice\\Temp");
    EXPECT_EQ(Variable("TMP"), "C:\\Users\\Alice\\AppData\\Local\\Temp");
    EXPECT_EQ(Variable("BRISKO"), "C:\\Windows\\x");
    EXPECT_EQ(Variable("PATH"), "C:\\Tools");
    EXPECT_EQ(Variable("LOCALAPPDATA"), "C:\\Users\\Alice\\AppData\\Local");
    EXPECT_EQ(Variable("ALLUSERSPROFILE"), "C:\\ProgramData");
    EXPECT_EQ(Variable("ProgramData"), "C:\\ProgramData");
    EXPECT_EQ(Variable("COMPUTERNAME"), "DEMO-PC");
    EXPECT_EQ(Variable("USERNAME"), "Alice");
    EXPECT_EQ(Variable("SystemDrive"), "C:");
    std::string out;
    EXPECT_EQ(Shell().ExpandEnvironmentStrings("%SystemRoot%\\%Nope%", 64, out), 18u);
    EXPECT_EQ(out, "C:\\Windows\\%Nope%");
}

TEST_F(SimShellTest, XpEnvironmentHasNoVistaVariables) {
    SetVersion(5, 1);
    EXPECT_EQ(Variable("LOCALAPPDATA"), "<unset>");
    EXPECT_EQ(Variable("ProgramData"), "<unset>");
    EXPECT_EQ(Variable("ALLUSERSPROFILE"), "C:\\Documents and Settings\\All Users");
    EXPECT_EQ(Variable("TEMP"), "C:\\Documents and Settings\\Alice\\Local Settings\\Temp");
    EXPECT_EQ(Variable("Path"), "C:\\WINDOWS\\system32;C:\\WINDOWS;C:\\WINDOWS\\system32\\Wbem");
    EXPECT_EQ(Variable("PATHEXT"), ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH");
}

// The caller's folders, the system folder, the 16-bit system folder, the Windows folder, then PATH.
TEST_F(SimShellTest, FindOnPathLooksInWindowsOrder) {
    config_.environment = {{"PATH", "C:\\Missing;; C:\\Tools\\"}};
    for (const char* file :
         {"Windows/System32/both.txt", "Other/both.txt", "Windows/System/sys16.txt", "Windows/win.txt",
          "Windows/System/win.txt", "Tools/tool.exe", "Windows/Other/deep.txt"}) {
        Host(std::string("C/") + file);
    }
    struct Case {
        const char* name;
        bool withOther;
        const char* found;  // null: not found
    };
    const Case cases[] = {
        {"both.txt", true, "C:\\Other\\both.txt"},
        {"both.txt", false, "C:\\Windows\\system32\\both.txt"},
        {"SYS16.TXT", false, "C:\\Windows\\System\\SYS16.TXT"},
        {"win.txt", false, "C:\\Windows\\System\\win.txt"},
        {"tool.exe", false, "C:\\Tools\\tool.exe"},
        {"tool", false, nullptr},      // no extensions are tried
        {"deep.txt", false, nullptr},  // folders are not searched below
        {"Tools\\tool.exe", false, nullptr},
    };
    const std::vector<std::string> other = {"C:\\Other", "", "C:\\Tools"};
    for (const Case& c : cases) {
        std::string path = c.name;
        bool found = Shell().PathFindOnPath(path, c.withOther ? &other : nullptr);
        EXPECT_EQ(found, c.found != nullptr) << c.name;
        EXPECT_EQ(path, c.found ? c.found : c.name);
    }
}

}  // namespace
}  // namespace brisko::platform::sim
