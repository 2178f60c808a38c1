// Whether the program runs with administrator rights in force. Asked once: the answer cannot change
// while the process lives.
#pragma once

#include <optional>

#include "platform/System.h"

namespace brisko::app {

class Elevation {
public:
    explicit Elevation(platform::System& system) : system_(system) {}
    bool IsElevated() {
        if (!elevated_) elevated_ = system_.IsElevated();
        return *elevated_;
    }

private:
    platform::System& system_;
    std::optional<bool> elevated_;
};

}  // namespace brisko::app
