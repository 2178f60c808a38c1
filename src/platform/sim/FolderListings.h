// Folded name -> real name of each host folder the simulation has looked into, so that a path written in
// another case than the one on disk is resolved without reading the folder again. The simulation reports
// each of its own changes here; a folder changed behind its back must be forgotten with Forget.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/sim/SimPath.h"

namespace brisko::platform::sim {

class FolderListings {
public:
    enum class Result { kFound, kMissing, kNotAFolder };

    // The real name of the name folded as `folded` in the host folder `folder`, reading the folder on
    // first use. `real` points into the listing and stays valid until the listing changes.
    Result Lookup(std::string_view folder, std::string_view folded, const std::string*& real);
    // The same for a folder already read, without reading one: false when the folder was not read or does
    // not hold the name.
    bool Find(std::string_view folder, std::string_view folded, const std::string*& real) const;

    void Added(std::string_view folder, std::string_view name);
    void Removed(std::string_view folder, std::string_view name);
    // Drops what is known of a folder and of every folder below it.
    void Forget(std::string_view folder);

private:
    using Listing = std::unordered_map<std::string, std::string, TextHash, std::equal_to<>>;
    const Listing* Read(std::string_view folder);

    std::unordered_map<std::string, Listing, TextHash, std::equal_to<>> byFolder_;
};

}  // namespace brisko::platform::sim
