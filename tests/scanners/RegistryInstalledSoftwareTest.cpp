// The registry engine's installed-software categories: shell folders, fonts, help files, shared DLLs,
// startup items, uninstall entries and virtual devices, each on a small simulated machine.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "scan/Problem.h"
#include "scanners/RegistryScanRun.h"
#include "support/TestMachine.h"

namespace brisko::scanners {
namespace {

using namespace platform;
using regtest::PutFile;
using regtest::PutText;
using regtest::PutValue;
using regtest::RegistryRun;

constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kFonts = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr const char* kHelp = "SOFTWARE\\Microsoft\\Windows\\HELP";
constexpr const char* kHtmlHelp = "SOFTWARE\\Microsoft\\Windows\\HTML Help";
constexpr const char* kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kStartupReg = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\Startupreg";
constexpr const char* kStartupFolder = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kInstallerFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
constexpr const char* kVirtualDevices = "SYSTEM\\CurrentControlSet\\Control\\VirtualDeviceDrivers";

// (key path, value name, data) of each finding, in the order reported.
using Finding = std::tuple<std::string, std::string, std::string>;

std::vector<Finding> FindingsIn(const RegistryRun& run, int category) {
    std::vector<Finding> found;
    for (const auto& problem : run.Found()) {
        EXPECT_EQ(problem->engine, scan::kRegistryEngine);
        if (problem->category == category)
            found.emplace_back(problem->keyPath, problem->valueName, problem->data);
    }
    return found;
}

std::string Hklm(std::string_view subKey) {
    return "HKEY_LOCAL_MACHINE\\" + std::string(subKey);
}
std::string Hkcu(std::string_view subKey) {
    return "HKEY_CURRENT_USER\\" + std::string(subKey);
}

Bytes Dword(std::uint32_t number) {
    return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

struct Case {
    const char* what;
    int category;
    std::function<void(Machine&)> setup;
    std::vector<Finding> expected;
};

// Each case runs its one category on a fresh Windows 7 machine (user Alice, Windows in C:\Windows, D: an
// optical drive, E: removable) with only what the case adds.
const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"shell folders: a folder on a missing drive path is reported expanded; sound ones are not",
         scan::REG_INTEGRITY,
         [](Machine& m) {
             PutValue(m, kCurrentUser, kUserShellFolders, "Personal", kRegExpandSz,
                      regtest::Terminated("%USERPROFILE%\\Lost Documents"));
             PutText(m, kCurrentUser, kUserShellFolders, "My Music", "C:\\Users\\Alice\\Lost Music");
             PutValue(m, kCurrentUser, kUserShellFolders, "AppData", kRegExpandSz,
                      regtest::Terminated("%USERPROFILE%\\AppData\\Roaming"));
             PutText(m, kCurrentUser, kUserShellFolders, "My Video", "E:\\Videos");
             PutText(m, kCurrentUser, kUserShellFolders, "Empty", "");
         },
         {{Hkcu(kUserShellFolders), "Personal", "C:\\Users\\Alice\\Lost Documents"},
          {Hkcu(kUserShellFolders), "My Music", "C:\\Users\\Alice\\Lost Music"}}},

        {"fonts: a bare name is looked for in the fonts folders; a full path is judged as it is",
         scan::REG_FONTS,
         [](Machine& m) {
             PutFile(m, "C:\\Fonts2\\inshell.ttf");
             PutFile(m, "C:\\Program Files\\Kit\\full.ttf");
             PutText(m, kCurrentUser, kShellFolders, "Fonts", "C:\\Fonts2");
             PutValue(m, kCurrentUser, kUserShellFolders, "Fonts", kRegExpandSz,
                      regtest::Terminated("%windir%\\Fonts"));
             PutText(m, kLocalMachine, kFonts, "In Shell Folder", "inshell.ttf");
             PutText(m, kLocalMachine, kFonts, "Full Path", "C:\\Program Files\\Kit\\full.ttf");
             PutText(m, kLocalMachine, kFonts, "Missing Bare", "courier9.ttf");
             PutText(m, kLocalMachine, kFonts, "Missing Full", "C:\\Program Files\\Kit\\gone.ttf");
             PutText(m, kLocalMachine, kFonts, "Removable", "E:\\Fonts\\x.ttf");
         },
         {{Hklm(kFonts), "Missing Bare", "courier9.ttf"},
          {Hklm(kFonts), "Missing Full", "C:\\Program Files\\Kit\\gone.ttf"}}},

        {"fonts: an unexpanded user fonts folder is expanded before the file is looked for",
         scan::REG_FONTS,
         [](Machine& m) {
             PutFile(m, "C:\\Users\\Alice\\My Fonts\\calibri.ttf");
             PutValue(m, kCurrentUser, kUserShellFolders, "Fonts", kRegExpandSz,
                      regtest::Terminated("%USERPROFILE%\\My Fonts"));
             PutText(m, kLocalMachine, kFonts, "Calibri", "calibri.ttf");
         },
         {}},

        {"fonts: without either folder value the system's fonts folder still holds the bare names",
         scan::REG_FONTS,
         [](Machine& m) {
             PutFile(m, "C:\\Windows\\Fonts\\cambria.ttf");
             PutText(m, kLocalMachine, kFonts, "Cambria", "cambria.ttf");
             PutText(m, kLocalMachine, kFonts, "Gone", "cgone.ttf");
         },
         {{Hklm(kFonts), "Gone", "cgone.ttf"}}},

        {"help files: the path is folder and name, one backslash between; the folder is the data",
         scan::REG_HELP_FILES,
         [](Machine& m) {
             PutFile(m, "C:\\Apps\\Help\\there.hlp");
             PutText(m, kLocalMachine, kHelp, "there.hlp", "C:\\Apps\\Help\\");
             PutText(m, kLocalMachine, kHelp, "gone.hlp", "C:\\Apps\\Help");
             PutText(m, kLocalMachine, kHelp, "optical.hlp", "D:\\Help");
             PutText(m, kLocalMachine, kHelp, "relative.hlp", "Help");
             PutText(m, kLocalMachine, kHtmlHelp, "gone.chm", "C:\\Apps\\Help\\");
         },
         {{Hklm(kHelp), "gone.hlp", "C:\\Apps\\Help"}, {Hklm(kHtmlHelp), "gone.chm", "C:\\Apps\\Help\\"}}},

        {"shared DLLs: the value name is the library, expanded for the test and reported as stored",
         scan::REG_SHARED_DLLS,
         [](Machine& m) {
             PutValue(m, kLocalMachine, kSharedDlls, "%SystemRoot%\\system32\\kernel32.dll", kRegDword,
                      Dword(3));
             PutValue(m, kLocalMachine, kSharedDlls, "%ProgramFiles%\\Gone\\gone.dll", kRegDword,
                      Dword(0x41));
             PutValue(m, kLocalMachine, kSharedDlls, "C:\\Gone\\other.dll", kRegDword, Dword(0x42));
             PutValue(m, kLocalMachine, kSharedDlls, "gone.dll", kRegDword, Dword(1));
         },
         {{Hklm(kSharedDlls), "%ProgramFiles%\\Gone\\gone.dll", "A"},
          {Hklm(kSharedDlls), "C:\\Gone\\other.dll", "B"}}},

        {"startup: Run values of both roots; rundll32 and bare names are never reported",
         scan::REG_STARTUP,
         [](Machine& m) {
             PutText(m, kLocalMachine, kRun, "Quoted", "\"C:\\Gone\\agent.exe\" /tray");
             PutValue(m, kLocalMachine, kRun, "Expanded", kRegExpandSz,
                      regtest::Terminated("%ProgramFiles%\\Gone\\up.exe -check"));
             PutText(m, kLocalMachine, kRun, "Rundll",
                     "C:\\Windows\\system32\\rundll32.exe C:\\Gone\\x.dll,Go");
             PutText(m, kLocalMachine, kRun, "Bare", "gone.exe /min");
             PutText(m, kLocalMachine, kRun, "Sound", "C:\\Windows\\notepad.exe");
             PutText(m, kLocalMachine, kRun, "Empty", "");
             PutText(m, kCurrentUser, kRun, "User", "C:\\Gone\\user.exe");
         },
         {{Hklm(kRun), "Quoted", "\"C:\\Gone\\agent.exe\" /tray"},
          {Hklm(kRun), "Expanded", "C:\\Program Files\\Gone\\up.exe -check"},
          {Hkcu(kRun), "User", "C:\\Gone\\user.exe"}}},

        {"startup: a disabled item is judged expanded and reported with its command as stored",
         scan::REG_STARTUP,
         [](Machine& m) {
             PutText(m, kLocalMachine, std::string(kStartupFolder) + "\\C:^Startup^Clock.lnk", "command",
                     "%ProgramFiles%\\Clock\\clock.exe");
             PutText(m, kLocalMachine, std::string(kStartupReg) + "\\Gone", "command",
                     "C:\\Gone\\sync.exe /q");
             PutText(m, kLocalMachine, std::string(kStartupReg) + "\\Sound", "command",
                     "%SystemRoot%\\notepad.exe");
             PutText(m, kLocalMachine, std::string(kStartupReg) + "\\Bare", "command", "gone.exe");
             PutText(m, kLocalMachine, std::string(kStartupReg) + "\\NoCommand", "item", "C:\\Gone\\x.exe");
         },
         {{Hklm(std::string(kStartupFolder) + "\\C:^Startup^Clock.lnk"), "command",
           "%ProgramFiles%\\Clock\\clock.exe"},
          {Hklm(std::string(kStartupReg) + "\\Gone"), "command", "C:\\Gone\\sync.exe /q"}}},

        {"uninstall: every value with a drive path is judged; installer helpers are passed over",
         scan::REG_UNINSTALL,
         [](Machine& m) {
             std::string app = std::string(kUninstall) + "\\App";
             PutText(m, kLocalMachine, app, "DisplayIcon", "C:\\Gone\\app.exe,0");
             PutText(m, kLocalMachine, app, "UninstallString", "C:\\Windows\\notepad.exe /uninstall");
             PutText(m, kLocalMachine, app, "Bare", "unins000.exe /S");
             PutText(m, kLocalMachine, app, "Stub", "\"C:\\Gone\\UNINST.EXE\"");
             PutText(m, kLocalMachine, app, "Msi", "C:\\Gone\\msiexec.exe /x");
             PutText(m, kLocalMachine, app, "Rundll", "C:\\Gone\\rundll32.exe a.dll");
             PutValue(m, kLocalMachine, app, "Location", kRegExpandSz,
                      regtest::Terminated("%ProgramFiles%\\Gone App"));
             PutText(m, kCurrentUser, std::string(kUninstall) + "\\Mine", "DisplayIcon",
                     "C:\\Gone\\mine.exe");
         },
         {{Hklm(std::string(kUninstall) + "\\App"), "DisplayIcon", "C:\\Gone\\app.exe,0"},
          {Hklm(std::string(kUninstall) + "\\App"), "Location", "C:\\Program Files\\Gone App"},
          {Hkcu(std::string(kUninstall) + "\\Mine"), "DisplayIcon", "C:\\Gone\\mine.exe"}}},

        {"uninstall: installer folders are judged by their value names",
         scan::REG_UNINSTALL,
         [](Machine& m) {
             PutText(m, kLocalMachine, kInstallerFolders, "C:\\Gone\\", "note");
             PutText(m, kLocalMachine, kInstallerFolders, "C:\\Windows\\", "");
             PutText(m, kLocalMachine, kInstallerFolders, "D:\\Atlas\\", "");
             PutText(m, kLocalMachine, kInstallerFolders, "gone", "");
         },
         {{Hklm(kInstallerFolders), "C:\\Gone\\", "note"}}},

        {"virtual devices: only text values count, a list by its first driver",
         scan::REG_VIRTUAL_DEVICES,
         [](Machine& m) {
             const char list[] = "C:\\Windows\\notepad.exe\0C:\\Gone\\second.dll\0";
             PutValue(m, kLocalMachine, kVirtualDevices, "SoundList", kRegMultiSz,
                      Bytes(list, list + sizeof list));
             const char gone[] = "C:\\Gone\\first.dll\0C:\\Windows\\notepad.exe\0";
             PutValue(m, kLocalMachine, kVirtualDevices, "GoneList", kRegMultiSz,
                      Bytes(gone, gone + sizeof gone));
             PutText(m, kLocalMachine, kVirtualDevices, "Text", "C:\\Gone\\vdd.dll");
             PutValue(m, kLocalMachine, kVirtualDevices, "Expand", kRegExpandSz,
                      regtest::Terminated("C:\\Gone\\e.dll"));
             PutValue(m, kLocalMachine, kVirtualDevices, "Number", kRegDword, Dword(0x5c3a43));  // "C:\"
             PutText(m, kLocalMachine, kVirtualDevices, "Blank", "   ");
         },
         {{Hklm(kVirtualDevices), "GoneList", "C:\\Gone\\first.dll"},
          {Hklm(kVirtualDevices), "Text", "C:\\Gone\\vdd.dll"}}},
    };
    return cases;
}

TEST(RegistryInstalledSoftware, ReportsExactlyTheBrokenEntriesOfEachCategory) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        test::TestMachine machine;
        c.setup(*machine);
        RegistryRun run(*machine, {c.category});
        run.Scan();
        EXPECT_EQ(FindingsIn(run, c.category), c.expected);
        EXPECT_EQ(run.Found().size(), c.expected.size()) << "nothing reported in another category";
    }
}

TEST(RegistryInstalledSoftware, FreshMachinesGiveNothing) {
    // The fresh systems register a font by its bare name and have none of the optional keys.
    for (const char* preset : {"win7", "xp"}) {
        test::TestMachine machine(preset);
        RegistryRun run(*machine, {1, 2, 3, 4, 5, 6, 7});
        run.Scan();
        EXPECT_TRUE(run.Found().empty()) << preset << ": " << run.Found().front()->keyPath;
    }
}

TEST(RegistryInstalledSoftware, AValueTooLargeToReadHidesNothingAfterIt) {
    // Each category's key gets an oversized value first and a broken one after it.
    struct Oversized {
        int category;
        HKey root;
        std::string key;
        std::string name;  // of the broken value
        std::string data;
    };
    const std::vector<Oversized> cases = {
        {scan::REG_INTEGRITY, kCurrentUser, kUserShellFolders, "Gone", "C:\\Gone"},
        {scan::REG_FONTS, kLocalMachine, kFonts, "Gone", "C:\\Gone\\f.ttf"},
        {scan::REG_HELP_FILES, kLocalMachine, kHelp, "g.hlp", "C:\\Gone"},
        {scan::REG_STARTUP, kLocalMachine, kRun, "Gone", "C:\\Gone\\a.exe"},
        {scan::REG_UNINSTALL, kLocalMachine, std::string(kUninstall) + "\\App", "Gone", "C:\\Gone\\a.exe"},
        {scan::REG_VIRTUAL_DEVICES, kLocalMachine, kVirtualDevices, "Gone", "C:\\Gone\\v.dll"},
    };
    for (const Oversized& c : cases) {
        SCOPED_TRACE(c.key);
        test::TestMachine machine;
        PutValue(*machine, c.root, c.key, "Big", kRegSz, Bytes(2000, 'x'));
        PutValue(*machine, c.root, c.key, std::string(1100, 'n'), kRegSz,
                 regtest::Terminated("C:\\Gone\\n.dll"));
        PutText(*machine, c.root, c.key, c.name, c.data);
        RegistryRun run(*machine, {c.category});
        run.Scan();
        ASSERT_EQ(run.Found().size(), 1u);
        EXPECT_EQ(run.Found()[0]->valueName, c.name);
    }
}

TEST(RegistryInstalledSoftware, AnnouncesWhatItExamines) {
    test::TestMachine machine;
    PutText(*machine, kLocalMachine, kFonts, "Font", "c.ttf");
    PutText(*machine, kLocalMachine, std::string(kUninstall) + "\\App", "Icon", "\"C:\\Gone\\a.exe\" /x");
    PutText(*machine, kLocalMachine, kInstallerFolders, "C:\\Windows\\", "");
    PutText(*machine, kLocalMachine, std::string(kStartupReg) + "\\Item", "command", "x.exe");
    RegistryRun run(*machine, {scan::REG_FONTS, scan::REG_STARTUP, scan::REG_UNINSTALL});
    run.Scan();
    std::vector<std::string> texts;
    for (const auto& message : run.window.messages) {
        if (message.id == scan::kMsgCurrentItem) texts.push_back(message.text);
    }
    const std::vector<std::string> expected = {
        kUserShellFolders,
        kShellFolders,
        kFonts,
        kStartupFolder,
        kStartupReg,
        std::string(kStartupReg) + "\\Item",
        std::string(kUninstall) + "\\App",
        std::string(kUninstall) + "\\AppC:\\Gone\\a.exe",
        std::string(kInstallerFolders) + ":C:\\Windows\\",
    };
    EXPECT_EQ(texts, expected);
}

}  // namespace
}  // namespace brisko::scanners
