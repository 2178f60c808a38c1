// The platform contract against the real Windows API (under Wine in this project's test runs): a
// Win32Machine, an empty scratch folder below %TEMP% and an empty scratch key below HKEY_CURRENT_USER,
// both made for this run and removed after it.
#include <windows.h>

#include <shlwapi.h>

#include <cstdio>
#include <string>

#include "contract/ContractEnv.h"
#include "platform/win32/Win32Machine.h"

namespace brisko::contract {

ContractEnv& Env() {
    static ContractEnv env;
    return env;
}

}  // namespace brisko::contract

namespace {

constexpr char kScratchKey[] = "Software\\BriskoContract";

// A folder of this process's own below %TEMP%, created new.
std::string MakeScratchDir() {
    char temp[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH) return {};
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof name, "%sBriskoContract-%lu-%u", temp, GetCurrentProcessId(), attempt);
        if (CreateDirectoryA(name, nullptr)) return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return {};
}

// Removes a folder and all it holds, read-only files included (tests set attributes).
void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);

    brisko::platform::win32::Win32Machine machine;
    auto& env = brisko::contract::Env();
    env.machine = &machine;
    env.simulated = false;
    env.scratchKey = kScratchKey;
    env.scratchDir = MakeScratchDir();
    if (env.scratchDir.empty()) {
        std::fprintf(stderr, "contract_win32: cannot create a scratch folder below %%TEMP%% (error %lu)\n",
                     GetLastError());
        return 1;
    }

    SHDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        std::fprintf(stderr, "contract_win32: cannot create HKEY_CURRENT_USER\\%s (error %ld)\n", kScratchKey,
                     static_cast<long>(status));
        RemoveTree(env.scratchDir);
        return 1;
    }
    RegCloseKey(key);

    int result = RUN_ALL_TESTS();

    SHDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
    RemoveTree(env.scratchDir);
    return result;
}
