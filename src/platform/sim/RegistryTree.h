// The simulated registry's storage: a tree of keys per hive, in the registry's native form.
//
// Subkeys are kept sorted by their case-folded names, which is the order Windows enumerates them in;
// values keep the order they were created in. Names keep the case they were created with.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"

namespace brisko::platform::sim {

struct ValueEntry {
    std::string name;
    ValueType type = kRegNone;
    Bytes data;  // native: the string types as UTF-16LE
};

class KeyNode : public std::enable_shared_from_this<KeyNode> {
public:
    KeyNode(std::string name, KeyNode* parent) : name_(std::move(name)), parent_(parent) {}

    const std::string& Name() const { return name_; }
    KeyNode* Parent() const { return parent_; }
    bool IsDeleted() const { return deleted_; }
    bool IsDenied() const { return denied_; }
    void SetDenied() { denied_ = true; }

    // Subkeys, sorted without regard to case.
    const std::vector<std::shared_ptr<KeyNode>>& Subkeys() const { return subkeys_; }
    KeyNode* FindSubkey(std::string_view name) const;
    std::shared_ptr<KeyNode> SharedSubkey(std::string_view name) const;
    // Finds or inserts; an append in sorted order (the order files are written in) costs no search.
    KeyNode& AddSubkey(std::string_view name);
    // Unlinks the subkey and marks it and everything below it deleted, so open handles notice.
    bool RemoveSubkey(std::string_view name);

    const std::vector<ValueEntry>& Values() const { return values_; }
    const ValueEntry* FindValue(std::string_view name) const;
    void SetValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data);
    bool RemoveValue(std::string_view name);

    // The path below the hive root ("" for the root itself).
    std::string SubPath() const;

private:
    std::size_t LowerBound(std::string_view name) const;
    std::ptrdiff_t ValueIndex(std::string_view name) const;
    void MarkDeleted();

    std::string name_;
    KeyNode* parent_;
    bool deleted_ = false;
    bool denied_ = false;
    std::vector<std::shared_ptr<KeyNode>> subkeys_;
    std::vector<ValueEntry> values_;
    // Built only for keys with many values, so a large key stays fast to fill.
    std::unique_ptr<std::unordered_map<std::string, std::size_t>> valueIndex_;
};

// Splits "A\B\C" into its components. Empty components (a doubled or trailing backslash) are dropped.
std::vector<std::string_view> SplitPath(std::string_view path);

}  // namespace brisko::platform::sim
