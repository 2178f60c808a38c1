#include "platform/sim/SimEnvironment.h"

#include "platform/Text.h"

namespace brisko::platform::sim {

void SimEnvironment::Set(std::string_view name, std::string value) {
    auto [it, inserted] = indexByFolded_.try_emplace(FoldCase(name), variables_.size());
    if (inserted) {
        variables_.emplace_back(std::string(name), std::move(value));
    } else {
        variables_[it->second].second = std::move(value);
    }
}

bool SimEnvironment::Get(std::string_view name, std::string& value) const {
    if (name.empty()) return false;
    auto found = indexByFolded_.find(FoldCase(name));
    if (found == indexByFolded_.end()) return false;
    value = variables_[found->second].second;
    return true;
}

std::string SimEnvironment::Expand(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t open = text.find('%', at);
        if (open == std::string_view::npos) {
            out.append(text.substr(at));
            break;
        }
        out.append(text.substr(at, open - at));
        std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out.append(text.substr(open));
            break;
        }
        std::string value;
        if (Get(text.substr(open + 1, close - open - 1), value)) {
            out += value;
        } else {
            out.append(text.substr(open, close - open + 1));
        }
        at = close + 1;
    }
    return out;
}

}  // namespace brisko::platform::sim
