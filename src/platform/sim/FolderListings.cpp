#include "platform/sim/FolderListings.h"

#include <filesystem>
#include <system_error>

#include "platform/Text.h"

namespace brisko::platform::sim {

FolderListings::Result FolderListings::Lookup(std::string_view folder, std::string_view folded,
                                              const std::string*& real) {
    const Listing* listing = Read(folder);
    if (listing == nullptr) return Result::kNotAFolder;
    auto found = listing->find(folded);
    if (found == listing->end()) return Result::kMissing;
    real = &found->second;
    return Result::kFound;
}

bool FolderListings::Find(std::string_view folder, std::string_view folded, const std::string*& real) const {
    auto known = byFolder_.find(folder);
    if (known == byFolder_.end()) return false;
    auto found = known->second.find(folded);
    if (found == known->second.end()) return false;
    real = &found->second;
    return true;
}

const FolderListings::Listing* FolderListings::Read(std::string_view folder) {
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

void FolderListings::Added(std::string_view folder, std::string_view name) {
    auto known = byFolder_.find(folder);
    if (known != byFolder_.end()) known->second.insert_or_assign(FoldCase(name), std::string(name));
}

void FolderListings::Removed(std::string_view folder, std::string_view name) {
    auto known = byFolder_.find(folder);
    if (known == byFolder_.end()) return;
    auto found = known->second.find(FoldCase(name));
    if (found != known->second.end()) known->second.erase(found);
}

void FolderListings::Forget(std::string_view folder) {
    for (auto it = byFolder_.begin(); it != byFolder_.end();) {
        std::string_view key = it->first;
        bool within = key.starts_with(folder) && (key.size() == folder.size() || key[folder.size()] == '/');
        it = within ? byFolder_.erase(it) : std::next(it);
    }
}

}  // namespace brisko::platform::sim
