// The file attributes that a host file system has no place for (read-only, hidden, system, archive...),
// kept beside the drives in one text file of the machine folder, so they are never listed as files and
// survive the simulation. One line per path that differs from the default: the attributes in hexadecimal,
// a tab, and the folded Windows path. Every change is written at once, atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace brisko::platform::sim {

class AttributeStore {
public:
    // Reads the file if it exists; lines it cannot read are dropped.
    explicit AttributeStore(std::filesystem::path file);

    // The stored attributes of a path (folded key), or false when it has the default.
    bool Find(const std::string& key, std::uint32_t& attributes) const;
    bool Set(const std::string& key, std::uint32_t attributes);
    bool Erase(const std::string& key);
    // A folder and everything below it was moved or copied to `toKey`.
    bool MoveTree(std::string_view fromKey, std::string_view toKey);

private:
    bool Save();

    std::filesystem::path file_;
    std::unordered_map<std::string, std::uint32_t> byKey_;
};

}  // namespace brisko::platform::sim
