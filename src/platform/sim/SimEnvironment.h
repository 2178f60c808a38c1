// The environment block of a simulated process: names compared without regard to case, and %NAME%
// expansion as ExpandEnvironmentStringsA does it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brisko::platform::sim {

class SimEnvironment {
public:
    // Adds or replaces a variable; an existing one keeps its place and the case of its name.
    void Set(std::string_view name, std::string value);
    bool Get(std::string_view name, std::string& value) const;
    // An unknown %NAME% stays as written, both signs included, and the text goes on after it; a "%"
    // without a closing one stays as it is.
    std::string Expand(std::string_view text) const;

private:
    std::vector<std::pair<std::string, std::string>> variables_;
    std::unordered_map<std::string, std::size_t> indexByFolded_;
};

}  // namespace brisko::platform::sim
