#include "platform/sim/MachineConfig.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "platform/sim/AtomicFile.h"

namespace brisko::platform::sim {

namespace {

using json = nlohmann::ordered_json;

struct DriveTypeName {
    std::uint32_t type;
    const char* name;
};
constexpr DriveTypeName kDriveTypes[] = {
    {kDriveFixed, "fixed"},   {kDriveRemovable, "removable"}, {kDriveCdrom, "cdrom"},
    {kDriveRemote, "remote"}, {kDriveRamdisk, "ramdisk"},     {kDriveNoRootDir, "missing"},
};

// Reads what machine.json says, field by field, so that an error names the field at fault.
class ConfigReader {
public:
    explicit ConfigReader(std::string& error) : error_(error) {}

    bool Read(const json& root, MachineConfig& config) {
        if (!root.is_object()) return Fail("the file is not a JSON object");
        for (const auto& [key, value] : root.items()) {
            if (!ReadField(key, value, config)) return false;
        }
        if (config.version.major == 0) return Fail("\"windows.major\" is missing");
        return true;
    }

private:
    bool Fail(const std::string& message) {
        error_ = message;
        return false;
    }

    template <class T>
    bool Get(const json& value, const char* what, T& out) {
        try {
            out = value.get<T>();
            return true;
        } catch (const json::exception&) {
            return Fail(std::string("\"") + what + "\" has the wrong type");
        }
    }

    bool ReadStrings(const json& value, const char* what, std::vector<std::string>& out) {
        if (!value.is_array()) return Fail(std::string("\"") + what + "\" must be a list of texts");
        for (const json& item : value) {
            if (!item.is_string()) return Fail(std::string("\"") + what + "\" must be a list of texts");
            out.push_back(item.get<std::string>());
        }
        return true;
    }

    bool ReadField(const std::string& key, const json& value, MachineConfig& config) {
        if (key == "windows") return ReadVersion(value, config.version);
        if (key == "userName") return Get(value, "userName", config.userName);
        if (key == "computerName") return Get(value, "computerName", config.computerName);
        if (key == "programPath") return Get(value, "programPath", config.programPath);
        if (key == "administrator") return Get(value, "administrator", config.administrator);
        if (key == "elevated") return Get(value, "elevated", config.elevated);
        if (key == "environment") return ReadEnvironment(value, config);
        if (key == "drives") return ReadDrives(value, config);
        if (key == "knownFolders") return ReadKnownFolders(value, config);
        if (key == "lockedFiles") return ReadStrings(value, "lockedFiles", config.lockedFiles);
        if (key == "deniedKeys") return ReadStrings(value, "deniedKeys", config.deniedKeys);
        if (key == "deniedPaths") return ReadStrings(value, "deniedPaths", config.deniedPaths);
        if (key == "clock") return ReadClock(value, config);
        if (!key.empty() && key[0] == '_') return true;  // comments
        return Fail("unknown field \"" + key + "\"");
    }

    bool ReadVersion(const json& value, OsVersion& version) {
        if (!value.is_object()) return Fail("\"windows\" must be an object");
        for (const auto& [key, item] : value.items()) {
            bool ok = key == "major"         ? Get(item, "windows.major", version.major)
                      : key == "minor"       ? Get(item, "windows.minor", version.minor)
                      : key == "build"       ? Get(item, "windows.build", version.build)
                      : key == "servicePack" ? Get(item, "windows.servicePack", version.servicePack)
                                             : Fail("unknown field \"windows." + key + "\"");
            if (!ok) return false;
        }
        return true;
    }

    bool ReadEnvironment(const json& value, MachineConfig& config) {
        if (!value.is_object()) return Fail("\"environment\" must be an object of texts");
        for (const auto& [name, item] : value.items()) {
            if (!item.is_string()) return Fail("environment variable \"" + name + "\" must be a text");
            config.environment.emplace_back(name, item.get<std::string>());
        }
        return true;
    }

    bool ReadDrives(const json& value, MachineConfig& config) {
        if (!value.is_object()) return Fail("\"drives\" must be an object keyed by drive letter");
        for (const auto& [letter, item] : value.items()) {
            if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0]))) {
                return Fail("drive \"" + letter + "\" is not a drive letter");
            }
            if (!item.is_object()) return Fail("drive \"" + letter + "\" must be an object");
            DriveConfig drive;
            drive.letter = FoldChar(letter[0]);
            for (const auto& [key, field] : item.items()) {
                if (key == "type") {
                    std::string name;
                    if (!Get(field, "drive type", name)) return false;
                    bool known = false;
                    for (const DriveTypeName& entry : kDriveTypes) {
                        if (name == entry.name) drive.type = entry.type, known = true;
                    }
                    if (!known) return Fail("drive " + letter + ": unknown type \"" + name + "\"");
                } else if (key == "totalBytes") {
                    if (!Get(field, "totalBytes", drive.totalBytes)) return false;
                } else if (key == "freeBytes") {
                    if (!Get(field, "freeBytes", drive.freeBytes)) return false;
                } else {
                    return Fail("drive " + letter + ": unknown field \"" + key + "\"");
                }
            }
            for (const DriveConfig& other : config.drives) {
                if (other.letter == drive.letter) return Fail("drive " + letter + " is listed twice");
            }
            config.drives.push_back(drive);
        }
        return true;
    }

    bool ReadKnownFolders(const json& value, MachineConfig& config) {
        if (!value.is_object()) return Fail("\"knownFolders\" must be an object of texts");
        for (const auto& [name, item] : value.items()) {
            if (!item.is_string()) return Fail("known folder \"" + name + "\" must be a text");
            std::string lower = name;
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            config.knownFolders[lower] = item.get<std::string>();
        }
        return true;
    }

    bool ReadClock(const json& value, MachineConfig& config) {
        std::string text;
        if (!Get(value, "clock", text)) return false;
        SystemTime time;
        int consumed = 0;
        if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &time.year, &time.month, &time.day,
                        &time.hour, &time.minute, &time.second, &consumed) != 6 ||
            static_cast<std::size_t>(consumed) != text.size() || time.month < 1 || time.month > 12 ||
            time.day < 1 || time.day > 31 || time.hour > 23 || time.minute > 59 || time.second > 59 ||
            time.year < 1601) {
            return Fail("\"clock\" must be a local time written YYYY-MM-DDTHH:MM:SS");
        }
        time.dayOfWeek = DayOfWeek(time.year, time.month, time.day);
        config.clock = time;
        return true;
    }

    static int DayOfWeek(int y, int m, int d) {
        static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
        if (m < 3) y -= 1;
        return (y + y / 4 - y / 100 + y / 400 + offsets[m - 1] + d) % 7;
    }

    std::string& error_;
};

std::string DriveTypeText(std::uint32_t type) {
    for (const DriveTypeName& entry : kDriveTypes) {
        if (entry.type == type) return entry.name;
    }
    return "fixed";
}

}  // namespace

bool LoadMachineConfig(const std::filesystem::path& file, MachineConfig& config, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file.string() + ": no such file";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    json root = json::parse(text.str(), nullptr, false);
    if (root.is_discarded()) {
        error = file.string() + ": not valid JSON";
        return false;
    }
    MachineConfig fresh;
    std::string why;
    if (!ConfigReader(why).Read(root, fresh)) {
        error = file.string() + ": " + why;
        return false;
    }
    config = std::move(fresh);
    return true;
}

bool SaveMachineConfig(const std::filesystem::path& file, const MachineConfig& config, std::string& error) {
    json root = json::object();
    json windows = {
        {"major", config.version.major}, {"minor", config.version.minor}, {"build", config.version.build}};
    if (!config.version.servicePack.empty()) windows["servicePack"] = config.version.servicePack;
    root["windows"] = windows;
    root["userName"] = config.userName;
    root["computerName"] = config.computerName;
    root["programPath"] = config.programPath;
    root["administrator"] = config.administrator;
    root["elevated"] = config.elevated;
    json environment = json::object();
    for (const auto& [name, value] : config.environment)
        environment[name] = value;
    root["environment"] = environment;
    json drives = json::object();
    for (const DriveConfig& drive : config.drives) {
        json entry = {{"type", DriveTypeText(drive.type)}};
        if (drive.totalBytes != 0) entry["totalBytes"] = drive.totalBytes;
        if (drive.freeBytes != 0) entry["freeBytes"] = drive.freeBytes;
        drives[std::string(1, drive.letter)] = entry;
    }
    root["drives"] = drives;
    if (!config.knownFolders.empty()) root["knownFolders"] = config.knownFolders;
    if (!config.lockedFiles.empty()) root["lockedFiles"] = config.lockedFiles;
    if (!config.deniedKeys.empty()) root["deniedKeys"] = config.deniedKeys;
    if (!config.deniedPaths.empty()) root["deniedPaths"] = config.deniedPaths;
    if (config.clock) {
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", config.clock->year,
                      config.clock->month, config.clock->day, config.clock->hour, config.clock->minute,
                      config.clock->second);
        root["clock"] = text;
    }
    return WriteFileAtomically(file, root.dump(2) + "\n", error);
}

}  // namespace brisko::platform::sim
