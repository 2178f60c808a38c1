// The demo machine's documented entries for installed software: registry integrity, fonts, help files,
// shared DLLs, startup, uninstall entries and virtual devices.
#include "platform/sim/DemoMachine.h"

namespace brisko::platform::sim {

namespace {

constexpr int kIntegrity = 1;
constexpr int kFonts = 2;
constexpr int kHelpFiles = 3;
constexpr int kSharedDlls = 4;
constexpr int kStartup = 5;
constexpr int kUninstall = 6;
constexpr int kVirtualDevices = 7;

using enum DemoVerdict;
using enum DemoData;

#define USER_SHELL_FOLDERS "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"
#define SHELL_FOLDERS "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"
#define FONTS "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"
#define HELP "SOFTWARE\\Microsoft\\Windows\\HELP"
#define HTML_HELP "SOFTWARE\\Microsoft\\Windows\\HTML Help"
#define SHARED_DLLS "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"
#define RUN "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
#define DISABLED_FOLDER "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder\\"
#define DISABLED_REG "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\Startupreg\\"
#define UNINSTALL "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
#define INSTALLER_FOLDERS "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders"
#define VIRTUAL_DEVICES "SYSTEM\\CurrentControlSet\\Control\\VirtualDeviceDrivers"

// Deep Scan walks most of these keys too: what the categories below report is left out of its results, and
// the sound entries are sound to it as well.
constexpr DemoEntry kEntries[] = {
    // Registry Integrity: the user's shell folders.
    {kIntegrity, kCurrentUser, USER_SHELL_FOLDERS, "{374DE290-123F-4565-9164-39C4925E467B}", kRegExpandSz,
     "%USERPROFILE%\\Old Downloads", kText, kFound, ""},
    {kIntegrity, kCurrentUser, USER_SHELL_FOLDERS, "My Video", kRegSz, "C:\\Media\\Videos", kText, kFound,
     ""},
    {kIntegrity, kCurrentUser, USER_SHELL_FOLDERS, "Personal", kRegExpandSz, "%USERPROFILE%\\Documents",
     kText, kHealthy, ""},
    {kIntegrity, kCurrentUser, USER_SHELL_FOLDERS, "My Pictures", kRegSz, "E:\\Pictures", kText, kHealthy,
     ""},
    {kIntegrity, kCurrentUser, USER_SHELL_FOLDERS, "Fonts", kRegExpandSz, "%windir%\\Fonts", kText, kHealthy,
     ""},

    // Font Entries: a font's display name and its file, bare names looked for in the fonts folder.
    {kFonts, kCurrentUser, SHELL_FOLDERS, "Fonts", kRegSz, "C:\\Windows\\Fonts", kText, kHealthy, ""},
    {kFonts, kLocalMachine, FONTS, "Caslon Old (TrueType)", kRegSz, "caslonold.ttf", kText, kFound, ""},
    {kFonts, kLocalMachine, FONTS, "Brand Sans (TrueType)", kRegSz,
     "C:\\Program Files\\Brand Kit\\brandsans.ttf", kText, kFound, ""},
    {kFonts, kLocalMachine, FONTS, "Verdana (TrueType)", kRegSz, "verdana.ttf", kText, kHealthy, ""},
    {kFonts, kLocalMachine, FONTS, "Quill Script (TrueType)", kRegSz,
     "C:\\Program Files\\Quillwork\\quillscript.ttf", kText, kHealthy, ""},
    {kFonts, kLocalMachine, FONTS, "Portable Mono (TrueType)", kRegSz, "E:\\Fonts\\pmono.ttf", kText,
     kHealthy, ""},

    // Help Files Information: the value's name is the help file, its data the folder it lies in.
    {kHelpFiles, kLocalMachine, HELP, "oldedit.hlp", kRegSz, "C:\\Windows\\Help", kText, kFound, ""},
    {kHelpFiles, kLocalMachine, HELP, "tracker.hlp", kRegSz, "C:\\Program Files\\Tracker\\", kText, kFound,
     ""},
    {kHelpFiles, kLocalMachine, HELP, "quillwork.hlp", kRegSz, "C:\\Program Files\\Quillwork\\", kText,
     kHealthy, ""},
    {kHelpFiles, kLocalMachine, HELP, "atlas.hlp", kRegSz, "D:\\Atlas\\Help", kText, kHealthy, ""},
    {kHelpFiles, kLocalMachine, HTML_HELP, "pv2.chm", kRegSz, "C:\\Program Files\\PhotoViewer 2", kText,
     kFound, ""},
    {kHelpFiles, kLocalMachine, HTML_HELP, "pstudio.chm", kRegSz, "C:\\Program Files\\Paint Studio", kText,
     kHealthy, ""},

    // Shared DLLs: the value's name is the library, its data a usage counter.
    {kSharedDlls, kLocalMachine, SHARED_DLLS, "C:\\Program Files\\Common Files\\Larkspur\\lsreport.dll",
     kRegDword, "1", kDword, kFound, ""},
    {kSharedDlls, kLocalMachine, SHARED_DLLS, "%ProgramFiles%\\Tracker\\trackhook.dll", kRegDword, "2",
     kDword, kFound, ""},
    {kSharedDlls, kLocalMachine, SHARED_DLLS, "C:\\Program Files\\Paint Studio\\filters.dll", kRegDword, "3",
     kDword, kHealthy, ""},
    {kSharedDlls, kLocalMachine, SHARED_DLLS, "%SystemRoot%\\system32\\shell32.dll", kRegDword, "12", kDword,
     kHealthy, ""},
    {kSharedDlls, kLocalMachine, SHARED_DLLS, "E:\\PortableApps\\Notes\\notesx.dll", kRegDword, "4", kDword,
     kHealthy, ""},

    // Startup Items: the Run keys of the machine and of the user, and the disabled-startup store.
    {kStartup, kLocalMachine, RUN, "TrackerAgent", kRegSz,
     "\"C:\\Program Files\\Tracker\\tracker.exe\" /background", kText, kFound, ""},
    {kStartup, kLocalMachine, RUN, "InvoicerUpdate", kRegExpandSz,
     "%ProgramFiles%\\Larkspur Invoicer\\lsupdate.exe -check", kText, kFound, ""},
    {kStartup, kLocalMachine, RUN, "PaintStudioTray", kRegSz,
     "\"C:\\Program Files\\Paint Studio\\pstudio.exe\" /tray", kText, kHealthy, ""},
    {kStartup, kLocalMachine, RUN, "PhotoViewerHook", kRegSz,
     "C:\\Windows\\system32\\rundll32.exe C:\\Program Files\\PhotoViewer 2\\pvhook.dll,Start", kText,
     kHealthy, ""},
    {kStartup, kCurrentUser, RUN, "StarfallLauncher", kRegSz, "C:\\Games\\Starfall\\launcher.exe -silent",
     kText, kFound, ""},
    {kStartup, kCurrentUser, RUN, "QuillTray", kRegSz, "qwtray.exe /min", kText, kHealthy, ""},
    {kStartup, kCurrentUser, RUN, "NotesSync", kRegSz, "E:\\PortableApps\\Notes\\notessync.exe", kText,
     kHealthy, ""},
    {kStartup, kLocalMachine,
     DISABLED_FOLDER "C:^ProgramData^Microsoft^Windows^Start Menu^Programs^Startup^Old Clock.lnk", "command",
     kRegSz, "%ProgramFiles%\\Old Clock\\clock.exe", kText, kFound, ""},
    {kStartup, kLocalMachine, DISABLED_REG "LarkspurSync", "command", kRegSz,
     "C:\\Program Files\\Larkspur Invoicer\\lssync.exe /hidden", kText, kFound, ""},
    {kStartup, kLocalMachine, DISABLED_REG "PaintStudio", "command", kRegSz,
     "\"C:\\Program Files\\Paint Studio\\pstudio.exe\" /tray", kText, kHealthy, ""},
    {kStartup, kLocalMachine, DISABLED_REG "QuillTray", "command", kRegSz, "qwtray.exe /min", kText, kHealthy,
     ""},

    // Add Remove Programs: every value of an uninstall entry, and the folders installers keep.
    {kUninstall, kLocalMachine, UNINSTALL "OldEditor", "DisplayName", kRegSz, "Old Editor 2.1", kText,
     kHealthy, ""},
    {kUninstall, kLocalMachine, UNINSTALL "OldEditor", "DisplayIcon", kRegSz,
     "C:\\Program Files\\Old Editor\\oldedit.exe,0", kText, kFound, ""},
    {kUninstall, kLocalMachine, UNINSTALL "OldEditor", "UninstallString", kRegSz,
     "C:\\Program Files\\Old Editor\\unins000.exe /SILENT", kText, kFound, ""},
    {kUninstall, kLocalMachine, UNINSTALL "PaintStudio", "UninstallString", kRegSz,
     "C:\\Program Files\\Paint Studio\\pstudio.exe /uninstall", kText, kHealthy, ""},
    {kUninstall, kLocalMachine, UNINSTALL "PaintStudio", "InstallLocation", kRegSz,
     "C:\\Program Files\\Paint Studio", kText, kHealthy, ""},
    {kUninstall, kLocalMachine, UNINSTALL "{6F1C2A44-0B7E-4D1A-9C3B-55E0A1D2B7F1}", "UninstallString", kRegSz,
     "MsiExec.exe /X{6F1C2A44-0B7E-4D1A-9C3B-55E0A1D2B7F1}", kText, kHealthy, ""},
    {kUninstall, kLocalMachine, INSTALLER_FOLDERS, "C:\\Program Files\\Old Editor\\", kRegSz, "", kText,
     kFound, ""},
    {kUninstall, kLocalMachine, INSTALLER_FOLDERS, "C:\\Program Files\\Paint Studio\\", kRegSz, "", kText,
     kHealthy, ""},
    {kUninstall, kLocalMachine, INSTALLER_FOLDERS, "D:\\Atlas\\", kRegSz, "", kText, kHealthy, ""},
    {kUninstall, kCurrentUser, UNINSTALL "Starfall", "DisplayIcon", kRegSz,
     "C:\\Games\\Starfall\\starfall.exe", kText, kFound, ""},

    // Virtual Devices: the drivers of old programs' virtual devices.
    {kVirtualDevices, kLocalMachine, VIRTUAL_DEVICES, "VDD", kRegMultiSz,
     "C:\\Program Files\\Old Scanner\\scanvdd.dll", kText, kExcluded, "HKEY_LOCAL_MACHINE\\SYSTEM"},
    {kVirtualDevices, kLocalMachine, VIRTUAL_DEVICES, "PaintVdd", kRegSz,
     "C:\\Program Files\\Paint Studio\\filters.dll", kText, kHealthy, ""},
    {kVirtualDevices, kLocalMachine, VIRTUAL_DEVICES, "AtlasVdd", kRegSz, "D:\\Atlas\\atlasvdd.dll", kText,
     kHealthy, ""},
    {kVirtualDevices, kLocalMachine, VIRTUAL_DEVICES, "LegacyPort", kRegDword, "1", kDword, kHealthy, ""},
};

#undef USER_SHELL_FOLDERS
#undef SHELL_FOLDERS
#undef FONTS
#undef HELP
#undef HTML_HELP
#undef SHARED_DLLS
#undef RUN
#undef DISABLED_FOLDER
#undef DISABLED_REG
#undef UNINSTALL
#undef INSTALLER_FOLDERS
#undef VIRTUAL_DEVICES

constexpr std::string_view kFiles[] = {
    "C:\\Windows\\Fonts\\verdana.ttf",
    "C:\\Program Files\\Quillwork\\quillscript.ttf",
    "C:\\Program Files\\Quillwork\\quillwork.hlp",
    "C:\\Program Files\\Paint Studio\\pstudio.chm",
};

}  // namespace

std::span<const DemoEntry> DemoInstalledSoftwareEntries() {
    return kEntries;
}

std::span<const std::string_view> DemoInstalledSoftwareFiles() {
    return kFiles;
}

bool AddDemoInstalledSoftwareExtras(SimMachine&, std::string&) {
    return true;
}

}  // namespace brisko::platform::sim
