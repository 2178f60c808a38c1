#include "scan/RunGate.h"

namespace brisko::scan {

void RunGate::Pause() {
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = true;
}

void RunGate::Resume() {
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = false;
    changed_.notify_all();
}

void RunGate::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
}

void RunGate::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = false;
    stopped_ = false;
}

bool RunGate::IsStopped() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopped_;
}

void RunGate::Check() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !paused_ || stopped_; });
    if (stopped_) throw RunStopped{};
}

}  // namespace brisko::scan
