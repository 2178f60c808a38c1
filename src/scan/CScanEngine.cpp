#include "scan/CScanEngine.h"

#include <cstdio>
#include <exception>
#include <string>

#include "scan/ScanMessages.h"
#include "strings/StringTable.h"

namespace brisko::scan {

CScanEngine::CScanEngine(ScanRunState state, Engines engines) : state_(state), engines_(std::move(engines)) {
    for (auto& engine : engines_)
        engine->SetGate(&gate_);
    notifier_.SetGate(&gate_);
}

CScanEngine::~CScanEngine() {
    gate_.Stop();
    Join();
}

void CScanEngine::StartScan(platform::Notifier& window) {
    Join();
    state_.log.WriteLog("intialisizing notifier window");
    notifier_.SetWindow(&window);
    PrepareScan();
    state_.log.WriteLog("Prepared to scan");
    workerFinished_ = false;
    // The worker waits at the gate until the start has been logged, so the two never write at once.
    gate_.Pause();
    worker_ = std::thread([this, &window] { RunScan(window); });
    state_.log.WriteLog("Started scan engine thread");
    gate_.Resume();
}

void CScanEngine::PrepareScan() {
    gate_.Reset();
    stopped_ = 0;
    platform::SystemTime now = state_.clock.GetLocalTime();
    char lastScan[32];
    std::snprintf(lastScan, sizeof lastScan, "%02d-%02d-%04d %02d:%02d:%02d", now.month, now.day, now.year,
                  now.hour, now.minute, now.second);
    state_.settings.WriteSettingString("lastScan", lastScan);
    running_ = true;

    state_.log.WriteLog("Try to free the existing data from registry");
    state_.scanItems.ResetCounts();
    state_.scanItems.SaveScanItems(state_.settings);

    state_.log.WriteLog("Try to free the existing data");
    state_.problems.Clear();

    for (const char* line : {"Step1", "Step2", "Step3", "Step4", "over cleaning"})
        state_.log.WriteLog(line);
}

void CScanEngine::RunScan(platform::Notifier& window) {
    try {
        gate_.Check();
        state_.log.WriteLog("Stated Scan");
        notifier_.Notify(kMsgScanStart, 0, 0);
        currentEngine_ = 0;
        while (currentEngine_.load() < kEngineCount) {
            int engine = currentEngine_.load();
            state_.log.WriteLog("Scaning options :" + std::to_string(engine));
            notifier_.Notify(kMsgEngineStart, static_cast<std::uintptr_t>(engine), engine);
            engines_[engine]->Scan(window);
            notifier_.Notify(kMsgEngineDone, static_cast<std::uintptr_t>(engine), engine);
            currentEngine_.fetch_add(1);
        }
        notifier_.Notify(kMsgScanFinished, 0, 0);
        state_.log.WriteLog("Scan Finished");
    } catch (const RunStopped&) {
        // Stopped by the user: what was reported so far stays in the lists.
    } catch (const std::exception& failure) {
        // Nothing may leave the worker: the scan ends as if stopped, and the log says why.
        state_.log.WriteLog(std::string("Scan ended by an error: ") + failure.what());
    }
    workerFinished_ = true;
    if (onWorkerFinished_) onWorkerFinished_();
}

void CScanEngine::PauseEngine() {
    gate_.Pause();
}

void CScanEngine::ResumeEngine() {
    gate_.Resume();
}

void CScanEngine::StopEngine() {
    gate_.Stop();
    stopped_ = 1;
    running_ = false;
}

void CScanEngine::Join() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace brisko::scan
