// Pause, resume and stop of a worker, checked by the worker before each notification it sends, so it
// never halts at an arbitrary point (never while it holds a lock the user-interface thread needs).
#pragma once

#include <condition_variable>
#include <mutex>

namespace brisko::scan {

// Thrown inside a worker when its run has been stopped; the worker's top catches it. It unwinds the
// engine's checks, releasing what they hold, and never leaves the worker.
struct RunStopped {};

class RunGate {
public:
    void Pause();
    void Resume();
    // Ends the run for good: a paused worker wakes, and the worker's next check throws RunStopped.
    void Stop();
    // Re-arms the gate for a new run.
    void Reset();
    bool IsStopped() const;

    // Worker side: waits while paused; throws RunStopped once stopped.
    void Check();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool paused_ = false;
    bool stopped_ = false;
};

}  // namespace brisko::scan
