#include "scan/RegistryPaths.h"

#include <algorithm>

namespace brisko::scan {

using namespace platform;

namespace {

struct RootNames {
    HKey root;
    std::string_view longName;
    std::string_view shortName;
};

constexpr RootNames kRoots[] = {
    {kClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {kCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {kLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {kUsers, "HKEY_USERS", "HKU"},
    {kPerformanceData, "HKEY_PERFORMANCE_DATA", "HKPD"},
    {kCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
    {kDynData, "HKEY_DYN_DATA", "HKDD"},
};

// Access for the content test: read, create subkey and set value.
constexpr Access kContentTestAccess = 0x2001F;

}  // namespace

std::string GetRootKeyName(HKey root, bool shortForm) {
    for (const RootNames& names : kRoots) {
        if (names.root == root) return std::string(shortForm ? names.shortName : names.longName);
    }
    return {};
}

std::string FullKeyPath(HKey root, std::string_view subKey) {
    std::string path = GetRootKeyName(root, false);
    if (!subKey.empty()) {
        path += '\\';
        path += subKey;
    }
    return path;
}

std::optional<SplitKey> SplitKeyPath(std::string_view text, std::span<const std::string_view> acceptedRoots) {
    for (std::string_view prefix : acceptedRoots) {
        if (text.substr(0, prefix.size()) != prefix) continue;
        // The name must end where the root does: "HKEY_USERSX\..." names no root.
        if (text.size() > prefix.size() && text[prefix.size()] != '\\') continue;
        auto names = std::find_if(std::begin(kRoots), std::end(kRoots), [&](const RootNames& n) {
            return n.longName == prefix || n.shortName == prefix;
        });
        if (names == std::end(kRoots)) continue;
        std::string_view rest =
            text.size() > prefix.size() ? text.substr(prefix.size() + 1) : std::string_view();
        return SplitKey{names->root, std::string(rest)};
    }
    return std::nullopt;
}

int CountSubkeys(Registry& registry, HKey root, std::string_view subKey) {
    RegKey key;
    if (registry.OpenKey(root, subKey, kKeyAllAccess, key) != kOk) return 0;
    KeyInfo info;
    if (registry.QueryInfoKey(key.Get(), info) != kOk) return 0;
    return static_cast<int>(info.subKeys);
}

bool KeyHasContent(Registry& registry, HKey root, std::string_view subKey, int expectedSubkeys) {
    RegKey key;
    if (registry.OpenKey(root, subKey, kContentTestAccess, key) != kOk) return true;
    KeyInfo info;
    if (registry.QueryInfoKey(key.Get(), info) != kOk) return true;
    return !(static_cast<int>(info.subKeys) == expectedSubkeys && info.values == 0);
}

std::string DataText(std::span<const std::uint8_t> data) {
    auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    return std::string(data.begin(), end);
}

void ExpandDataText(Shell& shell, std::string& text) {
    bool expand = (!text.empty() && text[0] == '%') || (text.size() > 1 && text[0] == '"' && text[1] == '%');
    if (!expand) return;
    std::string expanded;
    std::uint32_t needed = shell.ExpandEnvironmentStrings(text, kDataBufferLength, expanded);
    if (needed != 0 && needed <= kDataBufferLength) text = std::move(expanded);
}

}  // namespace brisko::scan
