#include "platform/sim/SimRegistry.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/Text.h"
#include "platform/sim/AtomicFile.h"

namespace brisko::platform::sim {

struct SimRegistry::Hive {
    std::string_view fileStem;  // "HKLM"
    std::string_view longName;  // "HKEY_LOCAL_MACHINE"
    HKey root;
    std::shared_ptr<KeyNode> node = std::make_shared<KeyNode>(std::string(), nullptr);
    bool dirty = false;
};

SimRegistry::SimRegistry() {
    hives_[0] = std::make_unique<Hive>(Hive{"HKLM", "HKEY_LOCAL_MACHINE", kLocalMachine});
    hives_[1] = std::make_unique<Hive>(Hive{"HKCU", "HKEY_CURRENT_USER", kCurrentUser});
    hives_[2] = std::make_unique<Hive>(Hive{"HKU", "HKEY_USERS", kUsers});
}

SimRegistry::~SimRegistry() = default;

SimRegistry::Hive* SimRegistry::HiveByRoot(HKey root) {
    for (auto& hive : hives_) {
        if (hive->root == root) return hive.get();
    }
    return nullptr;
}

SimRegistry::Hive* SimRegistry::HiveByName(std::string_view rootName) {
    for (auto& hive : hives_) {
        if (EqualsNoCase(rootName, hive->longName) || EqualsNoCase(rootName, hive->fileStem)) {
            return hive.get();
        }
    }
    return nullptr;
}

SimRegistry::Hive* SimRegistry::HiveOf(const KeyNode* node) {
    while (node != nullptr && node->Parent() != nullptr)
        node = node->Parent();
    for (auto& hive : hives_) {
        if (hive->node.get() == node) return hive.get();
    }
    return nullptr;
}

void SimRegistry::Touch(const KeyNode* node) {
    ++generation_;
    if (Hive* hive = HiveOf(node)) hive->dirty = true;
}

// ---- Loading and saving -------------------------------------------------------------------------------

namespace {

// Builds hives from .reg text. In the simulation's own files every key lies in the hive the file is
// named after; an import may name any of the three.
class TreeBuilder final : public RegFileSink {
public:
    using Resolver = std::function<KeyNode*(std::string_view fullPath, bool create)>;
    using Deleter = std::function<void(std::string_view fullPath)>;
    using Changed = std::function<void(KeyNode*)>;

    TreeBuilder(Resolver resolve, Deleter remove, Changed changed)
        : resolve_(std::move(resolve)), remove_(std::move(remove)), changed_(std::move(changed)) {}

    void OnKey(std::string_view fullPath) override {
        current_ = resolve_(fullPath, true);
        if (current_ != nullptr) changed_(current_);
    }
    void OnDeleteKey(std::string_view fullPath) override {
        remove_(fullPath);
        current_ = nullptr;
    }
    void OnValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data) override {
        if (current_ == nullptr) return;
        current_->SetValue(name, type, data);
    }
    void OnDeleteValue(std::string_view name) override {
        if (current_ != nullptr) current_->RemoveValue(name);
    }

private:
    Resolver resolve_;
    Deleter remove_;
    Changed changed_;
    KeyNode* current_ = nullptr;
};

// Walks down from `start` along `path`, creating keys; remembers the last key so that a file written in
// tree order resolves each key from its parent without a search from the root.
class PathCache {
public:
    KeyNode* Resolve(KeyNode& root, std::string_view subPath) {
        if (last_ != nullptr && lastRoot_ == &root && subPath.size() > lastPath_.size() &&
            subPath[lastPath_.size()] == '\\' && subPath.compare(0, lastPath_.size(), lastPath_) == 0) {
            KeyNode* node = last_;
            for (std::string_view part : SplitPath(subPath.substr(lastPath_.size() + 1))) {
                node = &node->AddSubkey(part);
            }
            Remember(root, subPath, node);
            return node;
        }
        // A sibling or an unrelated key: resolved from the root.
        KeyNode* node = &root;
        for (std::string_view part : SplitPath(subPath))
            node = &node->AddSubkey(part);
        Remember(root, subPath, node);
        return node;
    }
    void Reset() { last_ = nullptr; }

private:
    void Remember(KeyNode& root, std::string_view path, KeyNode* node) {
        lastRoot_ = &root;
        lastPath_.assign(path);
        last_ = node;
    }
    KeyNode* lastRoot_ = nullptr;
    std::string lastPath_;
    KeyNode* last_ = nullptr;
};

std::pair<std::string_view, std::string_view> SplitRoot(std::string_view fullPath) {
    std::size_t slash = fullPath.find('\\');
    if (slash == std::string_view::npos) return {fullPath, {}};
    return {fullPath.substr(0, slash), fullPath.substr(slash + 1)};
}

bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = std::move(buffer).str();
    return true;
}

}  // namespace

bool SimRegistry::Load(const std::filesystem::path& registryFolder,
                       const std::vector<std::string>& deniedKeys, std::string& error) {
    std::array<std::shared_ptr<KeyNode>, 3> fresh;
    for (std::size_t h = 0; h < hives_.size(); ++h) {
        fresh[h] = std::make_shared<KeyNode>(std::string(), nullptr);
        std::filesystem::path file = registryFolder / (std::string(hives_[h]->fileStem) + ".reg");
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) continue;
        std::string bytes;
        if (!ReadWholeFile(file, bytes)) {
            error = file.string() + ": cannot be read";
            return false;
        }
        PathCache cache;
        KeyNode* root = fresh[h].get();
        const Hive& hive = *hives_[h];
        std::string foreign;
        TreeBuilder builder(
            [&](std::string_view fullPath, bool) -> KeyNode* {
                auto [rootName, sub] = SplitRoot(fullPath);
                if (!EqualsNoCase(rootName, hive.longName) && !EqualsNoCase(rootName, hive.fileStem)) {
                    if (foreign.empty()) foreign.assign(fullPath);
                    return nullptr;
                }
                return cache.Resolve(*root, sub);
            },
            [&](std::string_view fullPath) {
                auto [rootName, sub] = SplitRoot(fullPath);
                cache.Reset();
                std::vector<std::string_view> parts = SplitPath(sub);
                if (parts.empty()) return;
                KeyNode* node = root;
                for (std::size_t i = 0; i + 1 < parts.size() && node != nullptr; ++i) {
                    node = node->FindSubkey(parts[i]);
                }
                if (node != nullptr) node->RemoveSubkey(parts.back());
            },
            [](KeyNode*) {});
        RegFileResult result = ReadRegFile(bytes, RegFileMode::kStrict, builder);
        if (!result.ok) {
            error = file.string() + ":" + std::to_string(result.errorLine) + ": " + result.error;
            return false;
        }
        if (!foreign.empty()) {
            error =
                file.string() + ": key [" + foreign + "] does not belong to " + std::string(hive.longName);
            return false;
        }
    }
    for (const std::string& denied : deniedKeys) {
        auto [rootName, sub] = SplitRoot(denied);
        Hive* hive = HiveByName(rootName);
        if (hive == nullptr) {
            error =
                "denied key \"" + denied + "\" is not in HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_USERS";
            return false;
        }
        std::size_t h = 0;
        while (hives_[h].get() != hive)
            ++h;
        // A denied key exists on the machine, as a key whose access list shuts the user out does.
        KeyNode* node = fresh[h].get();
        for (std::string_view part : SplitPath(sub))
            node = &node->AddSubkey(part);
        node->SetDenied();
    }
    for (std::size_t h = 0; h < hives_.size(); ++h) {
        hives_[h]->node = std::move(fresh[h]);
        hives_[h]->dirty = false;
    }
    handles_.clear();
    ++generation_;
    return true;
}

std::string SimRegistry::ExportHive(std::string_view hiveName) const {
    const Hive* hive = nullptr;
    for (const auto& h : hives_) {
        if (EqualsNoCase(h->fileStem, hiveName) || EqualsNoCase(h->longName, hiveName)) hive = h.get();
    }
    RegFileWriter writer;
    if (hive == nullptr) return writer.Finish();
    std::string path(hive->longName);
    std::function<void(const KeyNode&)> walk = [&](const KeyNode& node) {
        std::size_t length = path.size();
        for (const auto& child : node.Subkeys()) {
            path += '\\';
            path += child->Name();
            writer.BeginKey(path);
            for (const ValueEntry& value : child->Values())
                writer.WriteValue(value.name, value.type, value.data);
            walk(*child);
            path.resize(length);
        }
    };
    // Values of the hive's root itself come first, under its bare name.
    if (!hive->node->Values().empty()) {
        writer.BeginKey(path);
        for (const ValueEntry& value : hive->node->Values())
            writer.WriteValue(value.name, value.type, value.data);
    }
    walk(*hive->node);
    return writer.Finish();
}

bool SimRegistry::Save(const std::filesystem::path& registryFolder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(registryFolder, ec);
    for (auto& hive : hives_) {
        if (!hive->dirty) continue;
        std::filesystem::path file = registryFolder / (std::string(hive->fileStem) + ".reg");
        // A line break in a name cannot be written in the registry editor's format; writing it anyway
        // would leave a hive that no longer loads.
        if (std::string where; FindUnwritableName(*hive->node, std::string(hive->longName), where)) {
            error = file.string() + ": cannot keep a name with a line break in " + where;
            return false;
        }
        if (!WriteFileAtomically(file, ExportHive(hive->fileStem), error)) return false;
        hive->dirty = false;
    }
    return true;
}

namespace {
bool HasLineBreak(std::string_view name) {
    return name.find_first_of("\r\n") != std::string_view::npos;
}
}  // namespace

bool SimRegistry::FindUnwritableName(const KeyNode& node, const std::string& path, std::string& where) {
    for (const ValueEntry& value : node.Values()) {
        if (HasLineBreak(value.name)) {
            where = path;
            return true;
        }
    }
    for (const auto& child : node.Subkeys()) {
        if (HasLineBreak(child->Name())) {
            where = path;
            return true;
        }
        if (FindUnwritableName(*child, path + "\\" + child->Name(), where)) return true;
    }
    return false;
}

bool SimRegistry::HasChanges() const {
    return std::any_of(hives_.begin(), hives_.end(), [](const auto& hive) { return hive->dirty; });
}

RegFileResult SimRegistry::Import(std::string_view fileBytes) {
    PathCache cache;
    TreeBuilder builder(
        [&](std::string_view fullPath, bool) -> KeyNode* {
            auto [rootName, sub] = SplitRoot(fullPath);
            if (EqualsNoCase(rootName, "HKEY_CLASSES_ROOT") || EqualsNoCase(rootName, "HKCR")) {
                // The registry editor writes new class keys through the merged view, which puts them
                // below HKLM\SOFTWARE\Classes unless the user's classes already hold the key.
                View target;
                if (Descend(ClassesRoot(true), sub, true, target, nullptr) != kOk) return nullptr;
                std::shared_ptr<KeyNode> node = WriteTarget(target);
                return node.get();
            }
            Hive* hive = HiveByName(rootName);
            if (hive == nullptr) return nullptr;
            return cache.Resolve(*hive->node, sub);
        },
        [&](std::string_view fullPath) {
            cache.Reset();
            auto [rootName, sub] = SplitRoot(fullPath);
            std::vector<std::string_view> parts = SplitPath(sub);
            if (parts.empty()) return;
            HKey root = kNullKey;
            if (EqualsNoCase(rootName, "HKEY_CLASSES_ROOT") || EqualsNoCase(rootName, "HKCR")) {
                root = kClassesRoot;
            } else if (Hive* hive = HiveByName(rootName)) {
                root = hive->root;
            }
            if (root != kNullKey) DeleteTree(root, sub);
        },
        [&](KeyNode* node) { Touch(node); });
    RegFileResult result = ReadRegFile(fileBytes, RegFileMode::kImport, builder);
    ++generation_;
    return result;
}

// ---- Handles and views --------------------------------------------------------------------------------

Status SimRegistry::ResolveHandle(HKey key, const View*& view, Access& access) {
    access = kKeyAllAccess;
    if (key == kClassesRoot) {
        rootView_ = ClassesRoot(false);
        view = &rootView_;
        return kOk;
    }
    if (Hive* hive = HiveByRoot(key)) {
        rootView_ = View{nullptr, hive->node, false};
        view = &rootView_;
        return kOk;
    }
    if (key == kCurrentConfig) {
        Status s =
            Descend(View{nullptr, hives_[0]->node, false},
                    "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current", false, rootView_, nullptr);
        view = &rootView_;
        return s;
    }
    auto it = handles_.find(static_cast<std::uint64_t>(key));
    if (it == handles_.end()) return kInvalidHandle;
    View& held = it->second.view;
    if (held.user && held.user->IsDeleted()) held.user.reset();
    if (held.machine && held.machine->IsDeleted()) held.machine.reset();
    if (!held.IsValid()) return kKeyDeleted;
    view = &held;
    access = it->second.access;
    return kOk;
}

Status SimRegistry::Descend(const View& from, std::string_view subKey, bool create, View& out,
                            bool* created) {
    if (!subKey.empty() && subKey.front() == '\\') return kBadPathname;
    View view = from;
    if (view.merged && !view.user && !view.machine) view = ClassesRoot(create);
    bool madeAny = false;
    KeyNode* user = view.user.get();
    KeyNode* machine = view.machine.get();
    for (std::size_t start = 0; start < subKey.size();) {
        std::size_t end = std::min(subKey.find('\\', start), subKey.size());
        std::string_view part = subKey.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;  // a doubled or trailing backslash
        if (part.size() > 255) return kInvalidParameter;
        KeyNode* nextUser = user ? user->FindSubkey(part) : nullptr;
        KeyNode* nextMachine = machine ? machine->FindSubkey(part) : nullptr;
        if (!nextUser && !nextMachine) {
            if (!create) return kFileNotFound;
            // A new key goes where the merged view writes: the user's side when only it holds the parent.
            KeyNode* parent = machine ? machine : user;
            if (parent == nullptr) return kFileNotFound;
            KeyNode& made = parent->AddSubkey(part);
            Touch(parent);
            madeAny = true;
            (parent == machine ? nextMachine : nextUser) = &made;
        }
        if ((nextUser && nextUser->IsDenied()) || (nextMachine && nextMachine->IsDenied()))
            return kAccessDenied;
        user = nextUser;
        machine = nextMachine;
    }
    view.user = user ? user->shared_from_this() : nullptr;
    view.machine = machine ? machine->shared_from_this() : nullptr;
    if (created != nullptr) *created = madeAny;
    out = std::move(view);
    return kOk;
}

Status SimRegistry::Register(View view, Access access, RegKey& result) {
    std::uint64_t id = nextHandle_;
    nextHandle_ += 4;
    handles_.emplace(id, Handle{std::move(view), access, {}, ~std::uint64_t{0}});
    result = RegKey(*this, HKey{id});
    return kOk;
}

std::shared_ptr<KeyNode> SimRegistry::WriteTarget(const View& view) const {
    return view.merged && view.user ? view.user : (view.machine ? view.machine : view.user);
}

const std::vector<std::string>& SimRegistry::MergedNames(Handle& handle) {
    if (handle.mergedGeneration != generation_) {
        handle.mergedNames.clear();
        const auto empty = std::vector<std::shared_ptr<KeyNode>>();
        const auto& a = handle.view.user ? handle.view.user->Subkeys() : empty;
        const auto& b = handle.view.machine ? handle.view.machine->Subkeys() : empty;
        std::size_t i = 0, j = 0;
        while (i < a.size() || j < b.size()) {
            int order = i == a.size() ? 1 : j == b.size() ? -1 : CompareNoCase(a[i]->Name(), b[j]->Name());
            if (order < 0) {
                handle.mergedNames.push_back(a[i++]->Name());
            } else if (order > 0) {
                handle.mergedNames.push_back(b[j++]->Name());
            } else {
                handle.mergedNames.push_back(a[i++]->Name());
                ++j;
            }
        }
        handle.mergedGeneration = generation_;
    }
    return handle.mergedNames;
}

SimRegistry::View SimRegistry::ClassesRoot(bool create) {
    View view{nullptr, nullptr, true};
    if (KeyNode* software = hives_[1]->node->FindSubkey("Software"))
        view.user = software->SharedSubkey("Classes");
    KeyNode* software =
        create ? &hives_[0]->node->AddSubkey("SOFTWARE") : hives_[0]->node->FindSubkey("SOFTWARE");
    if (software != nullptr) {
        view.machine = software->SharedSubkey("Classes");
        if (!view.machine && create) {
            software->AddSubkey("Classes");
            view.machine = software->SharedSubkey("Classes");
            Touch(software);
        }
    }
    return view;
}

// ---- The registry functions ---------------------------------------------------------------------------

Status SimRegistry::Locate(HKey parent, std::string_view subKey, View& view) {
    const View* resolved = nullptr;
    Access access = 0;
    if (Status s = ResolveHandle(parent, resolved, access); s != kOk) return s;
    return Descend(*resolved, subKey, false, view, nullptr);
}

Status SimRegistry::OpenKey(HKey parent, std::string_view subKey, Access access, RegKey& result) {
    View view;
    if (Status s = Locate(parent, subKey, view); s != kOk) return s;
    return Register(std::move(view), access, result);
}

Status SimRegistry::CreateKey(HKey parent, std::string_view subKey, Access access, RegKey& result,
                              bool* created) {
    const View* resolved = nullptr;
    Access baseAccess = 0;
    if (Status s = ResolveHandle(parent, resolved, baseAccess); s != kOk) return s;
    const View base = *resolved;
    View view;
    bool made = false;
    if (Status s = Descend(base, subKey, false, view, nullptr); s == kFileNotFound) {
        if (!(baseAccess & kKeyCreateSubKey)) return kAccessDenied;
        if (Status c = Descend(base, subKey, true, view, &made); c != kOk) return c;
    } else if (s != kOk) {
        return s;
    }
    if (created != nullptr) *created = made;
    return Register(std::move(view), access, result);
}

Status SimRegistry::CloseKey(HKey key) {
    if (IsPredefinedKey(key)) return kOk;
    return handles_.erase(static_cast<std::uint64_t>(key)) == 1 ? kOk : kInvalidHandle;
}

Status SimRegistry::EnumKey(HKey key, std::uint32_t index, std::uint32_t nameCapacity, std::string& name) {
    const View* resolved = nullptr;
    Access access = 0;
    if (Status s = ResolveHandle(key, resolved, access); s != kOk) return s;
    const View& view = *resolved;
    if (!(access & kKeyEnumerateSubKeys)) return kAccessDenied;
    const std::string* found = nullptr;
    if (view.merged) {
        auto it = handles_.find(static_cast<std::uint64_t>(key));
        std::vector<std::string> rootNames;
        const std::vector<std::string>* names = nullptr;
        if (it != handles_.end()) {
            names = &MergedNames(it->second);
        } else {
            // HKEY_CLASSES_ROOT itself has no handle entry to cache in: use a temporary one.
            Handle temporary{view, access, {}, ~std::uint64_t{0}};
            rootNames = MergedNames(temporary);
            names = &rootNames;
        }
        if (index >= names->size()) return kNoMoreItems;
        if ((*names)[index].size() + 1 > nameCapacity) return kMoreData;
        name = (*names)[index];
        return kOk;
    }
    const auto& subkeys = view.machine->Subkeys();
    if (index >= subkeys.size()) return kNoMoreItems;
    found = &subkeys[index]->Name();
    if (found->size() + 1 > nameCapacity) return kMoreData;
    name = *found;
    return kOk;
}

Status SimRegistry::EnumValue(HKey key, std::uint32_t index, const EnumLimits& limits, RegValue& value,
                              bool wantData) {
    const View* resolved = nullptr;
    Access access = 0;
    if (Status s = ResolveHandle(key, resolved, access); s != kOk) return s;
    const View& view = *resolved;
    if (!(access & kKeyQueryValue)) return kAccessDenied;
    const ValueEntry* entry = nullptr;
    if (view.merged && view.user && view.machine) {
        // The user's values, then the machine's values that the user's do not hide.
        const auto& own = view.user->Values();
        if (index < own.size()) {
            entry = &own[index];
        } else {
            std::uint32_t k = index - static_cast<std::uint32_t>(own.size());
            for (const ValueEntry& candidate : view.machine->Values()) {
                if (view.user->FindValue(candidate.name) != nullptr) continue;
                if (k-- == 0) {
                    entry = &candidate;
                    break;
                }
            }
        }
    } else if (view.IsValid()) {
        const KeyNode& node = view.user ? *view.user : *view.machine;
        if (index < node.Values().size()) entry = &node.Values()[index];
    }
    if (entry == nullptr) return kNoMoreItems;
    if (entry->name.size() + 1 > limits.nameCapacity) return kMoreData;
    Bytes data;
    if (wantData) {
        data = AnsiFromNative(entry->type, entry->data);
        if (data.size() > limits.dataCapacity) return kMoreData;
    }
    value.name = entry->name;
    value.type = entry->type;
    value.data = std::move(data);
    return kOk;
}

Status SimRegistry::QueryValue(HKey key, std::string_view name, std::uint32_t dataCapacity, ValueType& type,
                               Bytes& data, std::uint32_t* needed) {
    const View* resolved = nullptr;
    Access access = 0;
    if (Status s = ResolveHandle(key, resolved, access); s != kOk) return s;
    const View& view = *resolved;
    if (!(access & kKeyQueryValue)) return kAccessDenied;
    const ValueEntry* entry = view.user ? view.user->FindValue(name) : nullptr;
    if (entry == nullptr && view.machine) entry = view.machine->FindValue(name);
    if (entry == nullptr) return kFileNotFound;
    Bytes ansi = AnsiFromNative(entry->type, entry->data);
    if (ansi.size() > dataCapacity) {
        if (needed != nullptr) *needed = static_cast<std::uint32_t>(ansi.size());
        return kMoreData;
    }
    type = entry->type;
    data = std::move(ansi);
    return kOk;
}

Status SimRegistry::SetValue(HKey key, std::string_view name, ValueType type,
                             std::span<const std::uint8_t> data) {
    const View* resolved = nullptr;
    Access access = 0;
    if (Status s = ResolveHandle(key, resolved, access); s != kOk) return s;
    const View& view = *resolved;
    if (!(access & kKeySetValue)) return kAccessDenied;
    if (name.size() > 16383) return kInvalidParameter;
    std::shared_ptr<KeyNode> target = WriteTarget(view);
    if (!target) target = ClassesRoot(true).machine;  // HKEY_CLASSES_ROOT itself on an empty machine
    Bytes native = NativeFromAnsi(type, data);
    target->SetValue(name, type, native);
    Touch(target.get());
    return kOk;
}

Status SimRegistry::DeleteValue(HKey key, std::string_view name) {
    const View* resolved = nullptr;
    Access access = 0;
    if (Status s = ResolveHandle(key, resolved, access); s != kOk) return s;
    const View& view = *resolved;
    if (!(access & kKeySetValue)) return kAccessDenied;
    for (const auto& node : {view.user, view.machine}) {
        if (node && node->RemoveValue(name)) {
            Touch(node.get());
            return kOk;
        }
    }
    return kFileNotFound;
}

namespace {
bool HoldsDeniedKey(const KeyNode& node) {
    if (node.IsDenied()) return true;
    for (const auto& child : node.Subkeys()) {
        if (HoldsDeniedKey(*child)) return true;
    }
    return false;
}
}  // namespace

Status SimRegistry::DeleteSubkey(HKey parent, std::string_view subKey, bool tree) {
    // A root itself (and the keys HKEY_CLASSES_ROOT and HKEY_CURRENT_CONFIG stand for) is never deleted.
    if (IsPredefinedKey(parent) && SplitPath(subKey).empty()) return kAccessDenied;
    View view;
    if (Status s = Locate(parent, subKey, view); s != kOk) return s;
    for (const auto& node : {view.user, view.machine}) {
        if (!node) continue;
        if (node->Parent() == nullptr) return kAccessDenied;  // a hive's root
        if (!tree && !node->Subkeys().empty()) return kAccessDenied;
        // A key that refuses access cannot be deleted, so neither can the tree that holds it.
        if (tree && HoldsDeniedKey(*node)) return kAccessDenied;
    }
    // Through the merged view a deletion removes the user's key when there is one, as Windows does.
    std::shared_ptr<KeyNode> victim =
        view.merged && view.user ? view.user : (view.machine ? view.machine : view.user);
    KeyNode* owner = victim->Parent();
    Touch(owner);
    owner->RemoveSubkey(victim->Name());
    return kOk;
}

Status SimRegistry::DeleteKey(HKey parent, std::string_view subKey) {
    return DeleteSubkey(parent, subKey, false);
}

Status SimRegistry::DeleteTree(HKey parent, std::string_view subKey) {
    return DeleteSubkey(parent, subKey, true);
}

Status SimRegistry::QueryInfoKey(HKey key, KeyInfo& info) {
    const View* resolved = nullptr;
    Access access = 0;
    if (Status s = ResolveHandle(key, resolved, access); s != kOk) return s;
    const View& view = *resolved;
    KeyInfo result;
    auto countKey = [&](const KeyNode& node, bool valuesToo) {
        for (const auto& child : node.Subkeys()) {
            result.maxSubKeyLength =
                std::max(result.maxSubKeyLength, static_cast<std::uint32_t>(child->Name().size()));
        }
        if (!valuesToo) return;
        for (const ValueEntry& value : node.Values()) {
            result.maxValueNameLength =
                std::max(result.maxValueNameLength, static_cast<std::uint32_t>(value.name.size()));
            result.maxValueDataLength =
                std::max(result.maxValueDataLength, static_cast<std::uint32_t>(value.data.size()));
        }
    };
    if (view.merged) {
        Handle temporary{view, access, {}, ~std::uint64_t{0}};
        result.subKeys = static_cast<std::uint32_t>(MergedNames(temporary).size());
        std::uint32_t values = 0;
        if (view.user) values += static_cast<std::uint32_t>(view.user->Values().size());
        if (view.machine) {
            for (const ValueEntry& value : view.machine->Values()) {
                if (!view.user || view.user->FindValue(value.name) == nullptr) ++values;
            }
        }
        result.values = values;
        if (view.user) countKey(*view.user, true);
        if (view.machine) countKey(*view.machine, true);
    } else {
        result.subKeys = static_cast<std::uint32_t>(view.machine->Subkeys().size());
        result.values = static_cast<std::uint32_t>(view.machine->Values().size());
        countKey(*view.machine, true);
    }
    info = result;
    return kOk;
}

// ---- Data conversion ----------------------------------------------------------------------------------

Bytes AnsiFromNative(ValueType type, std::span<const std::uint8_t> data) {
    if (!IsStringType(type)) return Bytes(data.begin(), data.end());
    std::string text = Utf8FromUtf16(Utf16FromBytes(data));
    return Bytes(text.begin(), text.end());
}

Bytes NativeFromAnsi(ValueType type, std::span<const std::uint8_t> data) {
    if (!IsStringType(type)) return Bytes(data.begin(), data.end());
    std::u16string wide =
        Utf16FromUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    std::string bytes;
    AppendUtf16Bytes(wide, bytes);
    return Bytes(bytes.begin(), bytes.end());
}

}  // namespace brisko::platform::sim
