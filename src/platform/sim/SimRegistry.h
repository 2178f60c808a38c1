// The simulated registry: the hives HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and HKEY_USERS kept in memory
// and stored as registry/HKLM.reg, HKCU.reg and HKU.reg in the registry editor's text format.
//
// It behaves as the ANSI registry functions do on Windows: names are compared without regard to case and
// keep their case, subkeys enumerate in sorted order and values in creation order, string data is stored
// as UTF-16 and handed over in the code page, HKEY_CLASSES_ROOT is the merged view of
// HKLM\SOFTWARE\Classes under HKCU\Software\Classes, and keys listed as denied refuse to open.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"
#include "platform/sim/RegFile.h"
#include "platform/sim/RegistryTree.h"

namespace brisko::platform::sim {

class SimRegistry final : public Registry {
public:
    SimRegistry();
    ~SimRegistry() override;

    // Reads the hive files of registry/ below the machine folder; a missing file is an empty hive. A
    // malformed file leaves the registry as it was and says which file and line. Keys of `deniedKeys`
    // (full paths) refuse access once loaded.
    bool Load(const std::filesystem::path& registryFolder, const std::vector<std::string>& deniedKeys,
              std::string& error);
    // Writes the hives changed since the last load or save, each to a temporary file renamed over the
    // old one.
    bool Save(const std::filesystem::path& registryFolder, std::string& error);
    bool HasChanges() const;

    // Applies a .reg file as the registry editor's import does (lines it refuses are skipped).
    RegFileResult Import(std::string_view fileBytes);
    // The .reg text of one hive ("HKLM", "HKCU" or "HKU").
    std::string ExportHive(std::string_view hiveName) const;

    Status OpenKey(HKey parent, std::string_view subKey, Access access, RegKey& result) override;
    Status CreateKey(HKey parent, std::string_view subKey, Access access, RegKey& result,
                     bool* created = nullptr) override;
    Status CloseKey(HKey key) override;
    Status EnumKey(HKey key, std::uint32_t index, std::uint32_t nameCapacity, std::string& name) override;
    Status EnumValue(HKey key, std::uint32_t index, const EnumLimits& limits, RegValue& value,
                     bool wantData = true) override;
    Status QueryValue(HKey key, std::string_view name, std::uint32_t dataCapacity, ValueType& type,
                      Bytes& data, std::uint32_t* needed = nullptr) override;
    Status SetValue(HKey key, std::string_view name, ValueType type,
                    std::span<const std::uint8_t> data) override;
    Status DeleteValue(HKey key, std::string_view name) override;
    Status DeleteKey(HKey parent, std::string_view subKey) override;
    Status DeleteTree(HKey parent, std::string_view subKey) override;
    Status QueryInfoKey(HKey key, KeyInfo& info) override;

    std::size_t OpenHandleCount() const { return handles_.size(); }

private:
    struct Hive;
    // A key as a handle sees it: one node, or for HKEY_CLASSES_ROOT the user's and the machine's nodes of
    // the same path, either of which may be missing.
    struct View {
        std::shared_ptr<KeyNode> user;
        std::shared_ptr<KeyNode> machine;
        bool merged = false;
        bool IsValid() const { return user || machine; }
    };
    struct Handle {
        View view;
        Access access = 0;
        // The merged subkey names of a HKEY_CLASSES_ROOT handle, kept for index enumeration until the
        // registry changes.
        std::vector<std::string> mergedNames;
        std::uint64_t mergedGeneration = ~std::uint64_t{0};
    };

    Hive* HiveByRoot(HKey root);
    Hive* HiveByName(std::string_view rootName);
    // The view behind a handle, valid until the next call that resolves a predefined root.
    Status ResolveHandle(HKey key, const View*& view, Access& access);
    Status Descend(const View& from, std::string_view subKey, bool create, View& out, bool* created);
    // HKLM\SOFTWARE\Classes and HKCU\Software\Classes; `create` makes the machine's side if missing.
    View ClassesRoot(bool create);
    // The existing key `subKey` below `parent`.
    Status Locate(HKey parent, std::string_view subKey, View& view);
    Status Register(View view, Access access, RegKey& result);
    Status DeleteSubkey(HKey parent, std::string_view subKey, bool tree);
    // The node that writes through a view go to.
    std::shared_ptr<KeyNode> WriteTarget(const View& view) const;
    void Touch(const KeyNode* node);
    Hive* HiveOf(const KeyNode* node);
    // A key or value name below `node` that the text format cannot hold; `where` names its key.
    static bool FindUnwritableName(const KeyNode& node, const std::string& path, std::string& where);
    const std::vector<std::string>& MergedNames(Handle& handle);

    std::array<std::unique_ptr<Hive>, 3> hives_;
    std::unordered_map<std::uint64_t, Handle> handles_;
    std::uint64_t nextHandle_ = 0x1000;
    std::uint64_t generation_ = 0;
    View rootView_;
};

// Converts value data between the registry's native form and what the ANSI functions hand over.
Bytes AnsiFromNative(ValueType type, std::span<const std::uint8_t> data);
Bytes NativeFromAnsi(ValueType type, std::span<const std::uint8_t> data);

}  // namespace brisko::platform::sim
