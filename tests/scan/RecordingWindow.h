// A notify window for tests: it records every notification (with the current-item texts copied while
// they are valid), takes ownership of reported problems and answers 1.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Notifier.h"
#include "scan/Problem.h"
#include "scan/ScanMessages.h"

namespace brisko::test {

struct Notification {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    std::string text;  // the item text of 1612
};

class RecordingWindow final : public platform::Notifier {
public:
    std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        Notification n{message, wParam, lParam, {}};
        if (message == scan::kMsgCurrentItem) n.text = reinterpret_cast<const char*>(lParam);
        if (message == scan::kMsgProblemFound) {
            problems.emplace_back(reinterpret_cast<scan::CRegistryProblem*>(lParam));
            n.lParam = 0;
        }
        notifications.push_back(std::move(n));
        return 1;
    }
    std::vector<std::uint32_t> Messages() const {
        std::vector<std::uint32_t> messages;
        for (const auto& n : notifications)
            messages.push_back(n.message);
        return messages;
    }

    std::vector<Notification> notifications;
    scan::ProblemList problems;
};

}  // namespace brisko::test
