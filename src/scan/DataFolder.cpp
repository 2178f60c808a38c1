#include "scan/DataFolder.h"

namespace brisko::scan {

using namespace platform;

bool CreateFolderTree(FileSystem& files, std::string_view path) {
    // Each prefix that ends before a backslash, past the drive's root, then the whole path.
    std::size_t start = path.size() > 3 && path[1] == ':' ? 3 : 0;
    for (std::size_t slash = path.find('\\', start);; slash = path.find('\\', slash + 1)) {
        std::string_view prefix = path.substr(0, slash);
        if (!prefix.empty()) {
            Status s = files.CreateDirectory(prefix);
            if (s != kOk && s != kAlreadyExists) return false;
        }
        if (slash == std::string_view::npos) break;
    }
    std::uint32_t attributes = 0;
    return files.GetAttributes(path, attributes) == kOk && (attributes & kAttrDirectory);
}

std::string ProgramFolderPath(System& system) {
    std::string path = system.GetProgramPath();
    std::size_t slash = path.rfind('\\');
    path.resize(slash == std::string::npos ? 0 : slash);
    return path;
}

std::string DataFolderPath(Machine& machine, std::string_view name) {
    std::string folder;
    if (machine.shell.GetFolderPath(kCsidlCommonAppData, true, folder) == kOk) {
        folder += "\\Brisko";
        CreateFolderTree(machine.files, folder);
    } else {
        folder = ProgramFolderPath(machine.system);
    }
    if (!name.empty()) {
        folder += '\\';
        folder += name;
    }
    return folder;
}

}  // namespace brisko::scan
