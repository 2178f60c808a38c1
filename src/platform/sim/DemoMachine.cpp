#include "platform/sim/DemoMachine.h"

#include <vector>

#include "platform/sim/SimMachine.h"

namespace brisko::platform::sim {

namespace {

constexpr int kSoftwareLocations = 0;
constexpr int kDeepScan = 11;

using enum DemoVerdict;
using enum DemoData;

#define APP_PATHS "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\"

// The demo's user is Alice (see MachineBuilder), so her profile is C:\Users\Alice.
constexpr DemoEntry kEntries[] = {
    // Software Locations: the programs Windows starts by name.
    {kSoftwareLocations, kLocalMachine, APP_PATHS "oldeditor.exe", "", kRegSz,
     "C:\\Program Files\\Old Editor\\oldedit.exe", kText, kFound, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "oldeditor.exe", "Path", kRegSz,
     "C:\\Program Files\\Old Editor", kText, kFound, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "pv2.exe", "", kRegSz,
     "\"C:\\Program Files\\PhotoViewer 2\\pv2.exe\" --safe-mode", kText, kFound, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "legacyhelper.exe", "", kRegExpandSz,
     "%SystemRoot%\\System32\\legacyhelper.exe", kText, kFound, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "tracker.exe", "", kRegExpandSz,
     "\"%ProgramFiles%\\Tracker\\tracker.exe\" /background", kText, kFound, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "mapview.exe", "", kRegSz,
     "C:\\Program Files\\MapView\\mapview.exe,0", kText, kFound, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "mapview.exe", "Path", kRegSz,
     "C:\\Program Files\\MapView\\bin;C:\\Program Files\\MapView", kText, kFound, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "wordpad.exe", "", kRegExpandSz,
     "\"%ProgramFiles%\\Windows NT\\Accessories\\WORDPAD.EXE\"", kText, kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "pstudio.exe", "", kRegSz,
     "\"C:\\Program Files\\Paint Studio\\pstudio.exe\" /nosplash", kText, kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "pstudio.exe", "Path", kRegSz,
     "C:\\Program Files\\Paint Studio\\Plugins", kText, kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "pstudio.exe", "Filters", kRegSz,
     "C:\\Program Files\\Paint Studio\\filters.dll\\2", kText, kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "pstudio.exe", "Icon", kRegSz,
     "C:\\Program Files\\Paint Studio\\pstudio.exe,0", kText, kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "notepad.exe", "", kRegExpandSz,
     "%SystemRoot%\\system32\\notepad.exe", kText, kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "atlas.exe", "", kRegSz, "D:\\Atlas\\atlas.exe", kText,
     kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "notes.exe", "", kRegSz,
     "E:\\PortableApps\\Notes\\notes.exe", kText, kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "report.exe", "", kRegSz, "Z:\\Shared\\Tools\\report.exe",
     kText, kHealthy, ""},
    {kSoftwareLocations, kLocalMachine, APP_PATHS "scanner.exe", "", kRegSz, "Q:\\Scanner\\scanner.exe",
     kText, kHealthy, ""},

    // Deep Scan: what programs keep in their own keys.
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer", "InstallDir", kRegSz,
     "C:\\Program Files\\Larkspur Invoicer", kText, kFound, ""},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer", "Launcher", kRegSz,
     "C:\\Program Files\\Larkspur Invoicer\\invoicer.exe /startup", kText, kFound, ""},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer", "DataFile", kRegSz,
     "C:\\ProgramData\\Larkspur\\ledger.db", kUnterminated, kFound, ""},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer", "LastExport", kRegBinary,
     "C:\\Exports\\invoices.csv", kText, kFound, ""},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer", "Version", kRegDword, "3", kDword, kHealthy,
     ""},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer", "Help", kRegSz,
     "C:\\Windows\\Help\\invoicer.chm -context 12", kText, kHealthy, ""},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer", "Installer", kRegSz,
     "C:\\Larkspur\\setup\\invoicer.msi", kText, kExcluded, ".msi"},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer\\Cache", "Blob", kRegBinary, "0123456789abcdef",
     kOversized, kHealthy, ""},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Larkspur\\Invoicer\\Cache", "Spool", kRegSz, "C:\\Larkspur\\spool",
     kText, kHealthy, ""},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Wow6432Node", "LegacyAgent", kRegSz,
     "C:\\Program Files (x86)\\Agent\\agent.exe", kText, kExcluded,
     "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node"},
    {kDeepScan, kLocalMachine, "SOFTWARE\\Wow6432Node\\Larkspur\\Invoicer", "InstallDir", kRegSz,
     "C:\\Program Files (x86)\\Larkspur Invoicer", kText, kHealthy, ""},
    {kDeepScan, kCurrentUser, "Software\\Bramble Games\\Starfall", "SaveFolder", kRegSz,
     "C:\\Users\\Alice\\Documents\\Starfall Saves", kText, kFound, ""},
    {kDeepScan, kCurrentUser, "Software\\Bramble Games\\Starfall", "Icon", kRegSz,
     "C:\\Games\\Starfall\\starfall.ico,0", kText, kFound, ""},
    {kDeepScan, kCurrentUser, "Software\\Bramble Games\\Starfall", "Launch", kRegSz,
     "C:\\Games\\Starfall\\starfall.bat -windowed", kText, kFound, ""},
    {kDeepScan, kCurrentUser, "Software\\Bramble Games\\Starfall", "Homepage", kRegSz,
     "http://www.bramblegames.example/starfall", kText, kHealthy, ""},
    {kDeepScan, kCurrentUser, "Software\\Bramble Games\\Starfall", "Title", kRegSz,
     "Starfall: Director's Cut", kText, kHealthy, ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Recent",
     "C:\\Users\\Alice\\Documents\\Quarterly plan.qwd", kRegDword, "1", kDword, kFound, ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Recent", "C:\\Users\\Alice\\Documents\\Budget.qwd",
     kRegDword, "2", kDword, kHealthy, ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Settings", "BackupDrive", kRegSz, "C:\\", kText, kHealthy,
     ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Settings", "Templates", kRegSz,
     "C:\\Program Files\\Quillwork\\%LANG%\\templates", kText, kHealthy, ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Settings", "Editors", kRegSz,
     "C:\\Program Files\\Quillwork\\qwedit.exe;notepad.exe", kText, kHealthy, ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Settings", "Viewer", kRegSz,
     "C:\\Windows\\system32\\rundll32.exe C:\\Program Files\\Quillwork\\qwview.dll,Show", kText, kHealthy,
     ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Settings", "Cleanup", kRegSz,
     "C:\\Tools\\sync.bat -quiet", kText, kHealthy, ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Settings", "LastOpened", kRegSz,
     "file://C:/Users/Alice/Documents/Budget.qwd", kText, kHealthy, ""},
    {kDeepScan, kCurrentUser, "Software\\Quillwork\\Installer\\SourceList", "LastUsedSource", kRegSz,
     "C:\\Installers\\Quillwork\\", kText, kExcluded, "SourceList"},
};

#undef APP_PATHS

constexpr std::string_view kFiles[] = {
    "C:\\Program Files\\Paint Studio\\pstudio.exe",
    "C:\\Program Files\\Paint Studio\\filters.dll",
    "C:\\Program Files\\Paint Studio\\Plugins\\sharpen.plg",
    // The viewer was uninstalled, but its folder stayed behind.
    "C:\\Program Files\\PhotoViewer 2\\readme.txt",
    "C:\\Program Files\\Quillwork\\quillwork.exe",
    "C:\\Users\\Alice\\Documents\\Budget.qwd",
    "C:\\Tools\\sync.bat",
};

class Installer {
public:
    Installer(SimMachine& machine, std::string& error) : machine_(machine), error_(error) {}

    bool Value(const DemoEntry& entry) {
        RegKey key;
        Status status = machine_.registry.CreateKey(entry.root, entry.key, kKeyAllAccess, key);
        if (status != kOk) return Fail("cannot create key " + std::string(entry.key), status);
        status = machine_.registry.SetValue(key.Get(), entry.name, entry.type, DemoValueBytes(entry));
        if (status != kOk) return Fail("cannot set a value of " + std::string(entry.key), status);
        return true;
    }

    bool File(std::string_view path) {
        for (std::size_t slash = path.find('\\', 3); slash != std::string_view::npos;
             slash = path.find('\\', slash + 1)) {
            std::string folder(path.substr(0, slash));
            Status status = machine_.files.CreateDirectory(folder);
            if (status != kOk && status != kAlreadyExists)
                return Fail("cannot create folder " + folder, status);
        }
        static constexpr std::uint8_t kStub[] = {'M', 'Z', 0x90, 0};
        FileHandle file;
        Status status = machine_.files.OpenFile(path, kGenericWrite, 0, kCreateAlways, file);
        if (status != kOk) return Fail("cannot create " + std::string(path), status);
        std::uint32_t written = 0;
        status = file->Write(kStub, written);
        if (status != kOk) return Fail("cannot write " + std::string(path), status);
        return true;
    }

private:
    bool Fail(const std::string& what, Status status) {
        error_ = what + " (status " + std::to_string(status) + ")";
        return false;
    }

    SimMachine& machine_;
    std::string& error_;
};

}  // namespace

namespace {
// Each group of categories keeps its documented entries in a file of its own.
template <class T>
std::vector<T> Joined(std::initializer_list<std::span<const T>> parts) {
    std::vector<T> all;
    for (std::span<const T> part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
}  // namespace

std::span<const DemoEntry> DemoRegistryEntries() {
    static const std::vector<DemoEntry> all = Joined<DemoEntry>(
        {kEntries, DemoComEntries(), DemoInstalledSoftwareEntries(), DemoAssociationEntries()});
    return all;
}

std::span<const std::string_view> DemoFiles() {
    static const std::vector<std::string_view> all = Joined<std::string_view>(
        {kFiles, DemoComFiles(), DemoInstalledSoftwareFiles(), DemoAssociationFiles()});
    return all;
}

Bytes DemoValueBytes(const DemoEntry& entry) {
    Bytes bytes;
    switch (entry.form) {
        case kText:
            bytes.assign(entry.data.begin(), entry.data.end());
            bytes.push_back(0);
            break;
        case kUnterminated:
            bytes.assign(entry.data.begin(), entry.data.end());
            break;
        case kDword: {
            std::uint32_t number = static_cast<std::uint32_t>(std::stoul(std::string(entry.data)));
            for (int i = 0; i < 4; ++i)
                bytes.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
            break;
        }
        case kOversized:
            while (bytes.size() < kOversizedLength)
                bytes.push_back(static_cast<std::uint8_t>(entry.data[bytes.size() % entry.data.size()]));
            break;
    }
    return bytes;
}

bool AddDemoEntries(SimMachine& machine, std::string& error) {
    Installer installer(machine, error);
    for (std::string_view file : DemoFiles()) {
        if (!installer.File(file)) return false;
    }
    for (const DemoEntry& entry : DemoRegistryEntries()) {
        if (!installer.Value(entry)) return false;
    }
    // What a group needs beyond values and plain files (shortcut files, for one).
    return AddDemoComExtras(machine, error) && AddDemoInstalledSoftwareExtras(machine, error) &&
           AddDemoAssociationExtras(machine, error);
}

}  // namespace brisko::platform::sim
