#include "platform/sim/MachineBuilder.h"

#include <cstring>
#include <system_error>

#include "platform/Text.h"
#include "platform/sim/DemoMachine.h"
#include "platform/sim/SimMachine.h"

namespace brisko::platform::sim {

namespace {

struct SeedValue {
    HKey root;
    const char* key;
    const char* name;
    ValueType type;
    const char* data;  // text for the string types, a decimal number for REG_DWORD
};

// "{user}" in a seed text stands for the machine's user name.
std::string Expand(std::string_view text, const MachineConfig& config) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 6, "{user}") == 0) {
            out += config.userName;
            i += 5;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The registry of a fresh installation: what Windows itself and its own programs register.
constexpr SeedValue kCommonKeys[] = {
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", kRegSz,
     "C:\\Program Files"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir", kRegSz,
     "C:\\Program Files\\Common Files"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wordpad.exe", "", kRegExpandSz,
     "\"%ProgramFiles%\\Windows NT\\Accessories\\WORDPAD.EXE\""},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", nullptr, kRegNone, nullptr},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", nullptr, kRegNone, nullptr},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", "Arial (TrueType)", kRegSz,
     "arial.ttf"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\HELP", nullptr, kRegNone, nullptr},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", nullptr, kRegNone, nullptr},
    {kLocalMachine, "SOFTWARE\\Classes\\.txt", "", kRegSz, "txtfile"},
    {kLocalMachine, "SOFTWARE\\Classes\\.txt", "Content Type", kRegSz, "text/plain"},
    {kLocalMachine, "SOFTWARE\\Classes\\txtfile", "", kRegSz, "Text Document"},
    {kLocalMachine, "SOFTWARE\\Classes\\txtfile\\shell\\open\\command", "", kRegExpandSz,
     "%SystemRoot%\\system32\\NOTEPAD.EXE %1"},
    {kLocalMachine, "SOFTWARE\\Classes\\regfile\\shell\\open\\command", "", kRegSz, "regedit.exe \"%1\""},
    {kLocalMachine, "SOFTWARE\\Classes\\.reg", "", kRegSz, "regfile"},
    {kLocalMachine, "SOFTWARE\\Classes\\CLSID", nullptr, kRegNone, nullptr},
    {kLocalMachine, "SOFTWARE\\Classes\\Interface", nullptr, kRegNone, nullptr},
    {kLocalMachine, "SOFTWARE\\Classes\\TypeLib", nullptr, kRegNone, nullptr},
    {kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", "BootExecute", kRegMultiSz,
     "autocheck autochk *"},
    {kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "ComSpec",
     kRegExpandSz, "%SystemRoot%\\system32\\cmd.exe"},
    {kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path", kRegExpandSz,
     "%SystemRoot%\\system32;%SystemRoot%;%SystemRoot%\\System32\\Wbem"},
    {kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "windir",
     kRegExpandSz, "%SystemRoot%"},
    {kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
     "ClearPageFileAtShutdown", kRegDword, "0"},
    {kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", nullptr, kRegNone, nullptr},
    {kCurrentUser, "Software\\Classes", nullptr, kRegNone, nullptr},
    {kCurrentUser, "Control Panel\\Desktop", "MenuShowDelay", kRegSz, "400"},
    {kUsers, ".DEFAULT\\Control Panel\\Desktop", "MenuShowDelay", kRegSz, "400"},
};

constexpr SeedValue kVistaKeys[] = {
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName", kRegSz,
     "Windows 7 Professional"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", kRegSz, "6.1"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentBuildNumber", kRegSz, "7601"},
    {kCurrentUser, "Environment", "TEMP", kRegExpandSz, "%USERPROFILE%\\AppData\\Local\\Temp"},
    {kCurrentUser, "Environment", "TMP", kRegExpandSz, "%USERPROFILE%\\AppData\\Local\\Temp"},
    {kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "AppData", kRegSz,
     "C:\\Users\\{user}\\AppData\\Roaming"},
    {kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Local AppData",
     kRegSz, "C:\\Users\\{user}\\AppData\\Local"},
};

constexpr SeedValue kXpKeys[] = {
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName", kRegSz,
     "Microsoft Windows XP"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", kRegSz, "5.1"},
    {kLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentBuildNumber", kRegSz, "2600"},
    {kCurrentUser, "Environment", "TEMP", kRegExpandSz, "%USERPROFILE%\\Local Settings\\Temp"},
    {kCurrentUser, "Environment", "TMP", kRegExpandSz, "%USERPROFILE%\\Local Settings\\Temp"},
    {kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "AppData", kRegSz,
     "C:\\Documents and Settings\\{user}\\Application Data"},
};

// System files every installation has. Their contents do not matter to the engine, only that they exist.
constexpr const char* kSystemFiles[] = {
    "C:\\Windows\\regedit.exe",
    "C:\\Windows\\explorer.exe",
    "C:\\Windows\\notepad.exe",
    "C:\\Windows\\system32\\notepad.exe",
    "C:\\Windows\\system32\\cmd.exe",
    "C:\\Windows\\system32\\kernel32.dll",
    "C:\\Windows\\system32\\shell32.dll",
    "C:\\Windows\\system32\\msiexec.exe",
    "C:\\Windows\\system32\\rundll32.exe",
    "C:\\Windows\\Fonts\\arial.ttf",
    "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe",
    // This program, installed where machine.json says it runs from.
    "C:\\Program Files\\Brisko\\Brisko.exe",
};

// Folders that exist on a fresh system beyond the known folders.
constexpr const char* kSystemFolders[] = {
    "C:\\Windows\\Temp",
    "C:\\Windows\\Prefetch",
    "C:\\Windows\\Help",
    "C:\\Program Files\\Common Files",
};

constexpr int kCreatedFolders[] = {
    kCsidlWindows,      kCsidlSystem,         kCsidlProgramFiles, kCsidlProfile,          kCsidlAppData,
    kCsidlLocalAppData, kCsidlCommonAppData,  kCsidlPersonal,     kCsidlDesktopDirectory, kCsidlRecent,
    kCsidlCookies,      kCsidlInternetCache,  kCsidlHistory,      kCsidlStartup,          kCsidlCommonStartup,
    kCsidlPrograms,     kCsidlCommonPrograms, kCsidlFonts,        kCsidlTemplates,
};

const std::vector<MachinePreset> kPresets = {
    {"win7", "a fresh Windows 7 SP1 installation for one user"},
    {"xp", "a fresh Windows XP SP3 installation for one user"},
    {"demo", "a lived-in Windows 7 machine (the machine the main job runs on)"},
};

MachineConfig ConfigFor(std::string_view preset) {
    MachineConfig config;
    config.userName = "Alice";
    config.computerName = "ALICE-PC";
    if (preset == "xp") {
        config.version = OsVersion{5, 1, 2600, 2, "Service Pack 3", 1};
    } else {
        config.version = OsVersion{6, 1, 7601, 2, "Service Pack 1", 1};
    }
    config.drives.push_back(DriveConfig{'C', kDriveFixed, 250'000'000'000ULL, 81'000'000'000ULL});
    config.drives.push_back(DriveConfig{'D', kDriveCdrom, 0, 0});
    if (preset == "demo") {
        config.drives.push_back(DriveConfig{'E', kDriveRemovable, 8'000'000'000ULL, 5'500'000'000ULL});
        config.drives.push_back(DriveConfig{'Z', kDriveRemote, 2'000'000'000'000ULL, 900'000'000'000ULL});
        config.deniedKeys.push_back("HKEY_LOCAL_MACHINE\\SAM\\SAM");
        config.deniedKeys.push_back("HKEY_LOCAL_MACHINE\\SECURITY\\Policy");
        config.lockedFiles.push_back("C:\\pagefile.sys");
    }
    return config;
}

class Seeder {
public:
    Seeder(SimMachine& machine, std::string& error) : machine_(machine), error_(error) {}

    bool Keys(std::span<const SeedValue> seeds) {
        for (const SeedValue& seed : seeds) {
            RegKey key;
            Status s = machine_.registry.CreateKey(seed.root, seed.key, kKeyAllAccess, key);
            if (s != kOk) return Fail(std::string("cannot create key ") + seed.key, s);
            if (seed.data == nullptr) continue;
            std::string text = Expand(seed.data, machine_.Config());
            Bytes data;
            if (seed.type == kRegDword) {
                std::uint32_t number = static_cast<std::uint32_t>(std::stoul(text));
                for (int i = 0; i < 4; ++i)
                    data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
            } else {
                data.assign(text.begin(), text.end());
                data.push_back(0);
                if (seed.type == kRegMultiSz) data.push_back(0);
            }
            s = machine_.registry.SetValue(key.Get(), seed.name, seed.type, data);
            if (s != kOk) return Fail(std::string("cannot set a value of ") + seed.key, s);
        }
        return true;
    }

    bool Folders() {
        for (int csidl : kCreatedFolders) {
            std::string path;
            Status s = machine_.shell.GetFolderPath(csidl, true, path);
            if (s != kOk) return Fail("cannot create known folder " + std::to_string(csidl), s);
        }
        for (const char* folder : kSystemFolders) {
            if (!MakeFolders(folder)) return false;
        }
        // The user's temporary folder, wherever the system's environment puts it.
        std::string temp;
        if (machine_.shell.GetEnvironmentVariable("TEMP", temp) && !MakeFolders(temp)) return false;
        return true;
    }

    bool Files() {
        static constexpr std::uint8_t kStub[] = {'M', 'Z', 0x90, 0};
        for (const char* path : kSystemFiles) {
            std::string_view text(path);
            if (!MakeFolders(text.substr(0, text.rfind('\\')))) return false;
            FileHandle file;
            Status s = machine_.files.OpenFile(path, kGenericWrite, 0, kCreateAlways, file);
            if (s != kOk) return Fail(std::string("cannot create ") + path, s);
            std::uint32_t written = 0;
            s = file->Write(kStub, written);
            if (s != kOk) return Fail(std::string("cannot write ") + path, s);
        }
        return true;
    }

private:
    bool MakeFolders(std::string_view path) {
        for (std::size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
            std::string prefix(path.substr(0, slash));
            Status s = machine_.files.CreateDirectory(prefix);
            if (s != kOk && s != kAlreadyExists) return Fail("cannot create folder " + prefix, s);
            if (slash == std::string_view::npos) return true;
        }
    }

    bool Fail(const std::string& what, Status status) {
        error_ = what + " (status " + std::to_string(status) + ")";
        return false;
    }

    SimMachine& machine_;
    std::string& error_;
};

}  // namespace

const std::vector<MachinePreset>& MachinePresets() {
    return kPresets;
}

bool CreateMachine(const std::filesystem::path& folder, std::string_view preset, std::string& error) {
    bool known = false;
    for (const MachinePreset& p : kPresets)
        known = known || p.name == preset;
    if (!known) {
        error = "unknown preset \"" + std::string(preset) + "\"";
        return false;
    }
    std::error_code ec;
    if (std::filesystem::exists(folder, ec) && !std::filesystem::is_empty(folder, ec)) {
        error = folder.string() + ": exists and is not empty";
        return false;
    }
    // Build in a neighbouring folder and rename it into place, so a failure leaves nothing half-made.
    std::filesystem::path staging = folder;
    staging += ".creating";
    std::filesystem::remove_all(staging, ec);
    MachineConfig config = ConfigFor(preset);
    std::filesystem::create_directories(staging / "registry", ec);
    for (const DriveConfig& drive : config.drives) {
        if (drive.type == kDriveFixed || drive.type == kDriveRemovable) {
            std::filesystem::create_directories(staging / "drives" / std::string(1, drive.letter), ec);
        }
    }
    if (ec || !SaveMachineConfig(staging / "machine.json", config, error)) {
        if (error.empty()) error = staging.string() + ": cannot be created (" + ec.message() + ")";
        std::filesystem::remove_all(staging, ec);
        return false;
    }
    bool ok = [&] {
        std::unique_ptr<SimMachine> machine = SimMachine::Open(staging, error);
        if (!machine) return false;
        Seeder seeder(*machine, error);
        bool xp = machine->Config().version.major < 6;
        if (!seeder.Keys(kCommonKeys) ||
            !seeder.Keys(xp ? std::span<const SeedValue>(kXpKeys) : std::span<const SeedValue>(kVistaKeys))) {
            return false;
        }
        return seeder.Folders() && seeder.Files() && (preset != "demo" || AddDemoEntries(*machine, error)) &&
               machine->Save(error);
    }();
    if (ok) {
        std::filesystem::remove(folder, ec);  // an empty folder given by the caller
        std::filesystem::rename(staging, folder, ec);
        if (ec) {
            error = folder.string() + ": cannot be created (" + ec.message() + ")";
            ok = false;
        }
    }
    if (!ok) std::filesystem::remove_all(staging, ec);
    return ok;
}

}  // namespace brisko::platform::sim
