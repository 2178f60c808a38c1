#include "platform/sim/AttributeStore.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/sim/AtomicFile.h"
#include "platform/sim/SimPath.h"

namespace brisko::platform::sim {

AttributeStore::AttributeStore(std::filesystem::path file) : file_(std::move(file)) {
    std::ifstream in(file_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab + 1 >= line.size()) continue;
        char* end = nullptr;
        std::string number = line.substr(0, tab);
        unsigned long value = std::strtoul(number.c_str(), &end, 16);
        if (end != number.c_str() + number.size()) continue;
        byKey_[line.substr(tab + 1)] = static_cast<std::uint32_t>(value);
    }
}

bool AttributeStore::Find(const std::string& key, std::uint32_t& attributes) const {
    auto found = byKey_.find(key);
    if (found == byKey_.end()) return false;
    attributes = found->second;
    return true;
}

bool AttributeStore::Set(const std::string& key, std::uint32_t attributes) {
    auto [it, inserted] = byKey_.try_emplace(key, attributes);
    if (!inserted && it->second == attributes) return true;
    it->second = attributes;
    return Save();
}

bool AttributeStore::Erase(const std::string& key) {
    return byKey_.erase(key) == 0 || Save();
}

bool AttributeStore::MoveTree(std::string_view fromKey, std::string_view toKey) {
    std::vector<std::pair<std::string, std::uint32_t>> moved;
    for (auto it = byKey_.begin(); it != byKey_.end();) {
        if (KeyIsWithin(it->first, fromKey)) {
            moved.emplace_back(std::string(toKey) + it->first.substr(fromKey.size()), it->second);
            it = byKey_.erase(it);
        } else {
            ++it;
        }
    }
    if (moved.empty()) return true;
    for (auto& [key, value] : moved)
        byKey_[key] = value;
    return Save();
}

bool AttributeStore::Save() {
    std::vector<std::pair<std::string, std::uint32_t>> lines(byKey_.begin(), byKey_.end());
    std::sort(lines.begin(), lines.end());
    std::string text;
    char number[16];
    for (const auto& [key, value] : lines) {
        std::snprintf(number, sizeof number, "%08X\t", static_cast<unsigned>(value));
        text += number;
        text += key;
        text += '\n';
    }
    std::string error;
    return WriteFileAtomically(file_, text, error);
}

}  // namespace brisko::platform::sim
