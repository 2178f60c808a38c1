#include "platform/sim/KnownFolders.h"

#include "platform/Shell.h"

namespace brisko::platform::sim {

namespace {

// One folder: the folder it lies in (by name) and its own path below it, for each layout. A folder with
// no parent holds its full path, where "<user>" stands for the user's name.
struct Place {
    const char* parent;
    const char* path;
};

struct FolderRow {
    int csidl;  // -1 for folders no CSIDL names
    const char* name;
    Place xp;
    Place vista;
};

// In dependency order: each row's parent comes before it.
constexpr FolderRow kFolders[] = {
    {kCsidlProfile,
     "profile",
     {nullptr, "C:\\Documents and Settings\\<user>"},
     {nullptr, "C:\\Users\\<user>"}},
    {-1,
     "allusers_profile",
     {nullptr, "C:\\Documents and Settings\\All Users"},
     {nullptr, "C:\\ProgramData"}},
    {-1, "public", {"allusers_profile", ""}, {nullptr, "C:\\Users\\Public"}},
    {kCsidlWindows, "windows", {nullptr, "C:\\WINDOWS"}, {nullptr, "C:\\Windows"}},
    {kCsidlSystem, "system", {"windows", "system32"}, {"windows", "system32"}},
    {kCsidlFonts, "fonts", {"windows", "Fonts"}, {"windows", "Fonts"}},
    {kCsidlProgramFiles, "program_files", {nullptr, "C:\\Program Files"}, {nullptr, "C:\\Program Files"}},
    {kCsidlProgramFilesCommon,
     "program_files_common",
     {"program_files", "Common Files"},
     {"program_files", "Common Files"}},
    {kCsidlAppData, "appdata", {"profile", "Application Data"}, {"profile", "AppData\\Roaming"}},
    {kCsidlLocalAppData,
     "local_appdata",
     {"profile", "Local Settings\\Application Data"},
     {"profile", "AppData\\Local"}},
    {kCsidlInternetCache,
     "internet_cache",
     {"profile", "Local Settings\\Temporary Internet Files"},
     {"local_appdata", "Microsoft\\Windows\\Temporary Internet Files"}},
    {kCsidlCookies, "cookies", {"profile", "Cookies"}, {"appdata", "Microsoft\\Windows\\Cookies"}},
    {kCsidlHistory,
     "history",
     {"profile", "Local Settings\\History"},
     {"local_appdata", "Microsoft\\Windows\\History"}},
    {kCsidlRecent, "recent", {"profile", "Recent"}, {"appdata", "Microsoft\\Windows\\Recent"}},
    {kCsidlSendTo, "sendto", {"profile", "SendTo"}, {"appdata", "Microsoft\\Windows\\SendTo"}},
    {kCsidlTemplates, "templates", {"profile", "Templates"}, {"appdata", "Microsoft\\Windows\\Templates"}},
    {kCsidlStartMenu, "startmenu", {"profile", "Start Menu"}, {"appdata", "Microsoft\\Windows\\Start Menu"}},
    {kCsidlPrograms, "programs", {"startmenu", "Programs"}, {"startmenu", "Programs"}},
    {kCsidlStartup, "startup", {"programs", "Startup"}, {"programs", "Startup"}},
    {kCsidlCommonAppData,
     "common_appdata",
     {"allusers_profile", "Application Data"},
     {"allusers_profile", ""}},
    {kCsidlCommonStartMenu,
     "common_startmenu",
     {"allusers_profile", "Start Menu"},
     {"allusers_profile", "Microsoft\\Windows\\Start Menu"}},
    {kCsidlCommonPrograms,
     "common_programs",
     {"common_startmenu", "Programs"},
     {"common_startmenu", "Programs"}},
    {kCsidlCommonStartup, "common_startup", {"common_programs", "Startup"}, {"common_programs", "Startup"}},
    {kCsidlCommonDesktopDirectory,
     "common_desktopdirectory",
     {"allusers_profile", "Desktop"},
     {"public", "Desktop"}},
    {kCsidlCommonDocuments, "common_documents", {"allusers_profile", "Documents"}, {"public", "Documents"}},
    {kCsidlDesktopDirectory, "desktopdirectory", {"profile", "Desktop"}, {"profile", "Desktop"}},
    {kCsidlDesktop, "desktop", {"desktopdirectory", ""}, {"desktopdirectory", ""}},
    {kCsidlPersonal, "personal", {"profile", "My Documents"}, {"profile", "Documents"}},
    {kCsidlMyPictures, "mypictures", {"personal", "My Pictures"}, {"profile", "Pictures"}},
    {kCsidlFavorites, "favorites", {"profile", "Favorites"}, {"profile", "Favorites"}},
};

std::string Substitute(std::string text, const std::string& user) {
    const std::string marker = "<user>";
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + user.size())) {
        text.replace(at, marker.size(), user);
    }
    return text;
}

}  // namespace

KnownFolders::KnownFolders(const MachineConfig& config) {
    bool xp = config.version.major < 6;
    for (const FolderRow& row : kFolders) {
        auto overridden = config.knownFolders.find(row.name);
        if (overridden != config.knownFolders.end()) {
            std::string path = overridden->second;
            while (path.size() > 3 && path.back() == '\\')
                path.pop_back();
            paths_[row.name] = std::move(path);
            continue;
        }
        const Place& place = xp ? row.xp : row.vista;
        std::string path;
        if (place.parent == nullptr) {
            path = Substitute(place.path, config.userName);
        } else {
            path = paths_[place.parent];
            if (*place.path != '\0') path += std::string("\\") + place.path;
        }
        paths_[row.name] = std::move(path);
    }
}

bool KnownFolders::FindByCsidl(int csidl, std::string& path) const {
    for (const FolderRow& row : kFolders) {
        if (row.csidl == csidl) {
            // machine.json names a folder with the empty text to say the system has none.
            const std::string& found = paths_.find(row.name)->second;
            if (found.empty()) return false;
            path = found;
            return true;
        }
    }
    return false;
}

std::string KnownFolders::FindByName(std::string_view name) const {
    auto found = paths_.find(name);
    return found == paths_.end() ? std::string() : found->second;
}

}  // namespace brisko::platform::sim
