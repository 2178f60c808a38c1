// Folded name -> real name of each host folder the simulation has looked into, so that a path written in
// another case than the one on disk is resolved without reading the folder again. The simulation reports
// each of its own changes here; a folder changed behind its back must be forgotten with Forget.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace brisko::platform::sim {

class FolderListings {
public:
    enum class Result { kFound, kMissing, kNotAFolder };

    // The real name of `name` in the host folder `folder`, reading the folder on first use.
    Result Lookup(const std::string& folder, std::string_view name, std::string& real);

    void Added(const std::string& folder, const std::string& name);
    void Removed(const std::string& folder, std::string_view name);
    // Drops what is known of a folder and of every folder below it.
    void Forget(const std::string& folder);

private:
    using Listing = std::unordered_map<std::string, std::string>;
    const Listing* Read(const std::string& folder);

    std::unordered_map<std::string, Listing> byFolder_;
};

}  // namespace brisko::platform::sim
