// The scan controller: owns the four engines and the worker that runs them, in engine order, reporting
// every step to one notify window. One controller at a time; it outlives its scan, because the repair run
// starts a second worker on the same engines.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "platform/Notifier.h"
#include "scan/CBaseScanner.h"
#include "scan/Problem.h"
#include "scan/RunGate.h"
#include "scan/ScanItems.h"
#include "scan/SettingsStore.h"

namespace brisko::scan {

using Engines = std::array<std::unique_ptr<CBaseScanner>, kEngineCount>;

// The program's state a scan run resets before it starts, all owned by the user-interface thread.
struct ScanRunState {
    SettingsStore& settings;
    ScanItemTable& scanItems;
    ProblemLists& problems;
    ActivityLog& log;
    platform::Clock& clock;
};

class CScanEngine {
public:
    // Takes the four engines in engine order, each made with its group's enabled flags.
    CScanEngine(ScanRunState state, Engines engines);
    // Stops the worker and waits for it. The owner must not be needed for an answer by then (see
    // WorkerFinished), or the two would wait for each other.
    ~CScanEngine();
    CScanEngine(const CScanEngine&) = delete;
    CScanEngine& operator=(const CScanEngine&) = delete;

    // Prepares the run and starts the worker, which notifies `window` of every step.
    void StartScan(platform::Notifier& window);
    void PauseEngine();
    void ResumeEngine();
    // Halts the worker for good (it ends at its next notification) and marks the controller stopped.
    void StopEngine();
    bool IsRunning() const { return running_; }
    int CurrentEngine() const { return currentEngine_.load(); }
    // The worker has returned (or none was started). The owner keeps handling notifications until then:
    // a worker may be waiting for an answer when it is stopped.
    bool WorkerFinished() const { return workerFinished_.load(); }
    // Waits for a finished worker's thread.
    void Join();
    // Called on the worker as its last act, so an owner waiting for messages can look again.
    void SetWorkerFinishedCallback(std::function<void()> callback) {
        onWorkerFinished_ = std::move(callback);
    }

    CBaseScanner& EngineAt(int engine) { return *engines_[engine]; }
    bool IncludePrivacyInRepair() const { return includePrivacyInRepair_; }
    void SetIncludePrivacyInRepair(bool include) { includePrivacyInRepair_ = include; }

private:
    void PrepareScan();
    void RunScan(platform::Notifier& window);

    ScanRunState state_;
    Engines engines_;
    CMSGNotifier notifier_;
    RunGate gate_;
    std::thread worker_;
    bool running_ = false;
    int stopped_ = 0;
    std::atomic<int> currentEngine_{0};
    std::atomic<bool> workerFinished_{true};
    std::function<void()> onWorkerFinished_;
    bool includePrivacyInRepair_ = true;
};

}  // namespace brisko::scan
