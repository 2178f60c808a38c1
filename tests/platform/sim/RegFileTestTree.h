// A registry in memory for the .reg tests: it applies what a file says the way an import does, and writes
// itself out in the registry editor's export order (keys and values sorted by name, case ignored).
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Text.h"
#include "platform/sim/RegFile.h"

namespace brisko::platform::sim::regfile_test {

struct TreeKey {
    std::string name;
    std::vector<RegValue> values;                             // in the order set
    std::map<std::string, std::unique_ptr<TreeKey>> subkeys;  // by folded name
};

class RegFileTestTree : public RegFileSink {
public:
    void OnKey(std::string_view fullPath) override { current_ = Find(fullPath, true); }
    void OnDeleteKey(std::string_view fullPath) override {
        current_ = nullptr;
        std::size_t cut = fullPath.find_last_of('\\');
        if (cut == std::string_view::npos) return;
        if (TreeKey* parent = Find(fullPath.substr(0, cut), false)) {
            parent->subkeys.erase(FoldCase(fullPath.substr(cut + 1)));
        }
    }
    void OnValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data) override {
        ASSERT_NE(current_, nullptr) << "a value reached the sink outside any key";
        RegValue value{std::string(name), type, Bytes(data.begin(), data.end())};
        for (RegValue& old : current_->values) {
            if (EqualsNoCase(old.name, name)) {
                old = std::move(value);
                return;
            }
        }
        current_->values.push_back(std::move(value));
    }
    void OnDeleteValue(std::string_view name) override {
        ASSERT_NE(current_, nullptr) << "a value deletion reached the sink outside any key";
        std::erase_if(current_->values, [&](const RegValue& v) { return EqualsNoCase(v.name, name); });
    }

    // The key at a path, or null. Empty parts (a doubled or trailing backslash) are passed over, as the
    // registry functions pass over them.
    TreeKey* Find(std::string_view path, bool create) {
        TreeKey* key = &root_;
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find('\\', start);
            if (end == std::string_view::npos) end = path.size();
            std::string_view part = path.substr(start, end - start);
            start = end + 1;
            if (part.empty()) continue;
            auto it = key->subkeys.find(FoldCase(part));
            if (it == key->subkeys.end()) {
                if (!create) return nullptr;
                auto child = std::make_unique<TreeKey>();
                child->name = std::string(part);
                it = key->subkeys.emplace(FoldCase(part), std::move(child)).first;
            }
            key = it->second.get();
        }
        return key;
    }

    // The key at path and everything below it, as the editor exports them.
    std::string Export(std::string_view path) {
        RegFileWriter writer;
        if (TreeKey* key = Find(path, false)) Write(*key, std::string(path), writer);
        return writer.Finish();
    }

private:
    static void Write(const TreeKey& key, const std::string& path, RegFileWriter& writer) {
        writer.BeginKey(path);
        std::vector<const RegValue*> values;
        for (const RegValue& v : key.values)
            values.push_back(&v);
        std::sort(values.begin(), values.end(),
                  [](const RegValue* a, const RegValue* b) { return CompareNoCase(a->name, b->name) < 0; });
        for (const RegValue* v : values)
            writer.WriteValue(v->name, v->type, v->data);
        for (const auto& [folded, child] : key.subkeys)
            Write(*child, path + "\\" + child->name, writer);
    }

    TreeKey root_;
    TreeKey* current_ = nullptr;
};

}  // namespace brisko::platform::sim::regfile_test
