#include "platform/sim/RegistryTree.h"

#include <algorithm>

#include "platform/Text.h"

namespace brisko::platform::sim {

namespace {
constexpr std::size_t kIndexThreshold = 32;
}

std::size_t KeyNode::LowerBound(std::string_view name) const {
    auto it = std::lower_bound(subkeys_.begin(), subkeys_.end(), name,
                               [](const std::shared_ptr<KeyNode>& node, std::string_view n) {
                                   return CompareNoCase(node->name_, n) < 0;
                               });
    return static_cast<std::size_t>(it - subkeys_.begin());
}

KeyNode* KeyNode::FindSubkey(std::string_view name) const {
    std::size_t i = LowerBound(name);
    if (i < subkeys_.size() && EqualsNoCase(subkeys_[i]->name_, name)) return subkeys_[i].get();
    return nullptr;
}

std::shared_ptr<KeyNode> KeyNode::SharedSubkey(std::string_view name) const {
    std::size_t i = LowerBound(name);
    if (i < subkeys_.size() && EqualsNoCase(subkeys_[i]->name_, name)) return subkeys_[i];
    return nullptr;
}

KeyNode& KeyNode::AddSubkey(std::string_view name) {
    if (subkeys_.empty() || CompareNoCase(subkeys_.back()->name_, name) < 0) {
        subkeys_.push_back(std::make_shared<KeyNode>(std::string(name), this));
        return *subkeys_.back();
    }
    std::size_t i = LowerBound(name);
    if (i < subkeys_.size() && EqualsNoCase(subkeys_[i]->name_, name)) return *subkeys_[i];
    auto it = subkeys_.insert(subkeys_.begin() + static_cast<std::ptrdiff_t>(i),
                              std::make_shared<KeyNode>(std::string(name), this));
    return **it;
}

bool KeyNode::RemoveSubkey(std::string_view name) {
    std::size_t i = LowerBound(name);
    if (i >= subkeys_.size() || !EqualsNoCase(subkeys_[i]->name_, name)) return false;
    subkeys_[i]->MarkDeleted();
    subkeys_.erase(subkeys_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

void KeyNode::MarkDeleted() {
    deleted_ = true;
    parent_ = nullptr;
    for (auto& child : subkeys_)
        child->MarkDeleted();
}

std::ptrdiff_t KeyNode::ValueIndex(std::string_view name) const {
    if (valueIndex_) {
        auto it = valueIndex_->find(FoldCase(name));
        return it == valueIndex_->end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
    }
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (EqualsNoCase(values_[i].name, name)) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

const ValueEntry* KeyNode::FindValue(std::string_view name) const {
    std::ptrdiff_t i = ValueIndex(name);
    return i < 0 ? nullptr : &values_[static_cast<std::size_t>(i)];
}

void KeyNode::SetValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data) {
    std::ptrdiff_t i = ValueIndex(name);
    if (i >= 0) {
        ValueEntry& entry = values_[static_cast<std::size_t>(i)];
        entry.type = type;
        entry.data.assign(data.begin(), data.end());
        return;
    }
    values_.push_back(ValueEntry{std::string(name), type, Bytes(data.begin(), data.end())});
    if (valueIndex_) {
        valueIndex_->emplace(FoldCase(name), values_.size() - 1);
    } else if (values_.size() > kIndexThreshold) {
        valueIndex_ = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t k = 0; k < values_.size(); ++k)
            valueIndex_->emplace(FoldCase(values_[k].name), k);
    }
}

bool KeyNode::RemoveValue(std::string_view name) {
    std::ptrdiff_t i = ValueIndex(name);
    if (i < 0) return false;
    values_.erase(values_.begin() + i);
    valueIndex_.reset();
    if (values_.size() > kIndexThreshold) {
        valueIndex_ = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t k = 0; k < values_.size(); ++k)
            valueIndex_->emplace(FoldCase(values_[k].name), k);
    }
    return true;
}

std::string KeyNode::SubPath() const {
    std::vector<const KeyNode*> chain;
    for (const KeyNode* node = this; node != nullptr && node->parent_ != nullptr; node = node->parent_) {
        chain.push_back(node);
    }
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty()) path += '\\';
        path += (*it)->name_;
    }
    return path;
}

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace brisko::platform::sim
