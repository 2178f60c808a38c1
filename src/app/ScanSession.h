// One scan as the scanning page follows it, without the window: it receives the scan run's notifications
// on the thread that owns the lists, adds the findings to their lists and counts, keeps the current
// engine, category and item, and completes the scan (counts saved, totals recorded).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "scan/CScanEngine.h"

namespace brisko::app {

struct ScanSessionState {
    int currentEngine = -1;
    int currentCategory = -1;
    std::string currentItem;
    int problemsFound = 0;
    bool finished = false;
    bool interrupted = false;
};

class ScanSession {
public:
    // `isFileSize` gives a file's size in bytes, or false when the path names no file.
    ScanSession(scan::ScanRunState state, platform::FileSystem& files);

    // The notify window's handler: to be called on the owning thread for every notification.
    std::intptr_t OnMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    // The controller the session completes at scan-finished.
    void SetController(scan::CScanEngine* controller) { controller_ = controller; }
    // Stop Scan answered Yes: stops the controller and marks the scan interrupted. The worker ends at its
    // next notification; the owner keeps handling notifications until then and calls WorkerFinished.
    void Cancel();
    // The worker has ended: completes a scan that did not reach its finished notification.
    void WorkerFinished();

    const ScanSessionState& State() const { return state_; }
    // Called after each notification that changed what the page shows.
    std::function<void(const ScanSessionState&, std::uint32_t message)> onChange;

private:
    void Complete();

    scan::ScanRunState run_;
    platform::FileSystem& files_;
    scan::CScanEngine* controller_ = nullptr;
    ScanSessionState state_;
};

// Runs a whole scan on the calling thread's behalf: makes the controller with the table's enabled flags,
// starts it and handles its notifications until the worker has ended. `onChange` sees every change.
struct ScanRequest {
    scan::ScanRunState state;
    scan::ScanContext& context;
    // The categories to scan; the scan item table's selection when not given.
    std::optional<std::array<bool, scan::kScanItemCount>> enabled;
    std::function<void(const ScanSessionState&, std::uint32_t message)> onChange;
};
ScanSessionState RunScanToCompletion(ScanRequest request);

}  // namespace brisko::app
