// Just enough of a registry for the simulated file system's tests: keys by folded path, values by folded
// name, with the capacity rule of QueryValue.
#pragma once

#include <map>
#include <string>

#include "platform/Registry.h"
#include "platform/Text.h"

namespace brisko::platform::sim::testing {

class FakeRegistry final : public Registry {
public:
    using Values = std::map<std::string, std::pair<ValueType, Bytes>>;

    Values& Key(HKey root, std::string_view path) { return keys_[Path(root, path)]; }

    Status OpenKey(HKey parent, std::string_view sub, Access, RegKey& result) override {
        std::string path = Path(parent, sub);
        if (!keys_.count(path)) return kFileNotFound;
        return Issue(path, result);
    }
    Status CreateKey(HKey parent, std::string_view sub, Access, RegKey& result, bool* created) override {
        std::string path = Path(parent, sub);
        if (created != nullptr) *created = !keys_.count(path);
        keys_[path];
        return Issue(path, result);
    }
    Status CloseKey(HKey key) override { return open_.erase(Id(key)) ? kOk : kInvalidHandle; }
    Status EnumKey(HKey, std::uint32_t, std::uint32_t, std::string&) override { return kNoMoreItems; }
    Status EnumValue(HKey, std::uint32_t, const EnumLimits&, RegValue&, bool) override {
        return kNoMoreItems;
    }
    Status QueryValue(HKey key, std::string_view name, std::uint32_t capacity, ValueType& type, Bytes& data,
                      std::uint32_t* needed) override {
        Values& values = keys_[open_.at(Id(key))];
        auto found = values.find(FoldCase(name));
        if (found == values.end()) return kFileNotFound;
        if (found->second.second.size() > capacity) {
            if (needed != nullptr) *needed = static_cast<std::uint32_t>(found->second.second.size());
            return kMoreData;
        }
        type = found->second.first;
        data = found->second.second;
        return kOk;
    }
    Status SetValue(HKey key, std::string_view name, ValueType type,
                    std::span<const std::uint8_t> data) override {
        keys_[open_.at(Id(key))][FoldCase(name)] = {type, Bytes(data.begin(), data.end())};
        return kOk;
    }
    Status DeleteValue(HKey key, std::string_view name) override {
        return keys_[open_.at(Id(key))].erase(FoldCase(name)) ? kOk : kFileNotFound;
    }
    Status DeleteKey(HKey, std::string_view) override { return kAccessDenied; }
    Status DeleteTree(HKey, std::string_view) override { return kAccessDenied; }
    Status QueryInfoKey(HKey, KeyInfo&) override { return kAccessDenied; }

    std::size_t OpenCount() const { return open_.size(); }

private:
    static std::uint64_t Id(HKey key) { return static_cast<std::uint64_t>(key); }
    std::string Path(HKey parent, std::string_view sub) const {
        std::string base = IsPredefinedKey(parent) ? std::to_string(Id(parent)) : open_.at(Id(parent));
        return sub.empty() ? base : base + "\\" + FoldCase(sub);
    }
    Status Issue(const std::string& path, RegKey& result) {
        open_[next_] = path;
        result = RegKey(*this, HKey{next_++});
        return kOk;
    }

    std::map<std::string, Values> keys_;
    std::map<std::uint64_t, std::string> open_;
    std::uint64_t next_ = 1;
};

}  // namespace brisko::platform::sim::testing
