#include "platform/MessageChannel.h"

namespace brisko::platform {

MessageChannel::MessageChannel(Handler handler)
    : handler_(std::move(handler)), owner_(std::this_thread::get_id()) {}

std::intptr_t MessageChannel::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (std::this_thread::get_id() == owner_) return handler_(message, wParam, lParam);
    std::unique_lock<std::mutex> lock(mutex_);
    // One sender at a time: a second worker waits until the first has its answer.
    changed_.wait(lock, [this] { return !request_ && !answer_; });
    request_ = Request{message, wParam, lParam};
    changed_.notify_all();
    changed_.wait(lock, [this] { return answer_.has_value(); });
    std::intptr_t answer = *answer_;
    answer_.reset();
    changed_.notify_all();
    return answer;
}

void MessageChannel::HandleOne(std::unique_lock<std::mutex>& lock) {
    Request request = *request_;
    request_.reset();
    lock.unlock();
    std::intptr_t answer = handler_(request.message, request.wParam, request.lParam);
    lock.lock();
    answer_ = answer;
    changed_.notify_all();
}

void MessageChannel::PumpUntil(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        lock.unlock();
        bool finished = done();
        lock.lock();
        if (finished) return;
        changed_.wait(lock, [this] { return request_.has_value() || woken_; });
        woken_ = false;
        if (request_) HandleOne(lock);
    }
}

int MessageChannel::PumpPending() {
    std::unique_lock<std::mutex> lock(mutex_);
    int handled = 0;
    while (request_) {
        HandleOne(lock);
        ++handled;
    }
    return handled;
}

void MessageChannel::Wake() {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
    changed_.notify_all();
}

}  // namespace brisko::platform
