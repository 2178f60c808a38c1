#include "platform/sim/FolderListings.h"

#include <filesystem>
#include <system_error>

#include "platform/Text.h"

namespace brisko::platform::sim {

FolderListings::Result FolderListings::Lookup(const std::string& folder, std::string_view name,
                                              std::string& real) {
    const Listing* listing = Read(folder);
    if (listing == nullptr) return Result::kNotAFolder;
    auto found = listing->find(FoldCase(name));
    if (found == listing->end()) return Result::kMissing;
    real = found->second;
    return Result::kFound;
}

const FolderListings::Listing* FolderListings::Read(const std::string& folder) {
    auto known = byFolder_.find(folder);
    if (known != byFolder_.end()) return &known->second;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return nullptr;
    Listing listing;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        listing.emplace(FoldCase(name), std::move(name));
    }
    if (ec) return nullptr;
    return &byFolder_.emplace(folder, std::move(listing)).first->second;
}

void FolderListings::Added(const std::string& folder, const std::string& name) {
    auto known = byFolder_.find(folder);
    if (known != byFolder_.end()) known->second[FoldCase(name)] = name;
}

void FolderListings::Removed(const std::string& folder, std::string_view name) {
    auto known = byFolder_.find(folder);
    if (known != byFolder_.end()) known->second.erase(FoldCase(name));
}

void FolderListings::Forget(const std::string& folder) {
    for (auto it = byFolder_.begin(); it != byFolder_.end();) {
        const std::string& key = it->first;
        bool within = key.starts_with(folder) && (key.size() == folder.size() || key[folder.size()] == '/');
        it = within ? byFolder_.erase(it) : std::next(it);
    }
}

}  // namespace brisko::platform::sim
