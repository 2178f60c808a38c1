// Where the program keeps its data: backups, activity logs and the list files.
#pragma once

#include <string>
#include <string_view>

#include "platform/Machine.h"

namespace brisko::scan {

// The all-users application data folder with the subfolder "Brisko", created with any missing parents;
// when the system cannot name the all-users folder, the folder of the program itself. A non-empty
// `name` is appended after a backslash (and is not created).
std::string DataFolderPath(platform::Machine& machine, std::string_view name = {});

// The folder the program runs from (its path without the file name); empty when the path has no folder.
// The list files and "ignorelist.dat" lie there.
std::string ProgramFolderPath(platform::System& system);

// Creates a folder and every missing folder above it; true when it exists afterwards.
bool CreateFolderTree(platform::FileSystem& files, std::string_view path);

}  // namespace brisko::scan
