// A synchronous message channel between a worker and the thread that owns the receiver: the portable
// stand-in for a window and SendMessageA. The worker's Send blocks until the owner's pump has run the
// handler and returned its answer, so the handler always runs on the owning thread and the worker never
// touches the owner's data itself.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Notifier.h"

namespace brisko::platform {

class MessageChannel final : public Notifier {
public:
    using Handler = std::function<std::intptr_t(std::uint32_t, std::uintptr_t, std::intptr_t)>;

    // The calling thread becomes the owner: its pump runs the handler.
    explicit MessageChannel(Handler handler);

    std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

    // Owner side: handles messages as they arrive until `done` holds; `done` is tested before each wait
    // and after each message.
    void PumpUntil(const std::function<bool()>& done);
    // Owner side: handles the messages waiting now, without blocking. Returns how many.
    int PumpPending();
    // Wakes a pump waiting in PumpUntil so that it tests `done` again (from any thread).
    void Wake();

private:
    struct Request {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    void HandleOne(std::unique_lock<std::mutex>& lock);

    Handler handler_;
    std::thread::id owner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Request> request_;
    std::optional<std::intptr_t> answer_;
    bool woken_ = false;
};

}  // namespace brisko::platform
