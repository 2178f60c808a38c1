#include "app/ScanSession.h"

#include <algorithm>
#include <limits>

#include "platform/MessageChannel.h"
#include "scan/ScanMessages.h"
#include "scanners/Engines.h"

namespace brisko::app {

using namespace scan;

ScanSession::ScanSession(ScanRunState state, platform::FileSystem& files) : run_(state), files_(files) {}

std::intptr_t ScanSession::OnMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case kMsgScanStart:
            state_ = ScanSessionState{};
            break;
        case kMsgEngineStart:
            state_.currentEngine = static_cast<int>(wParam);
            state_.currentCategory = -1;
            break;
        case kMsgCategoryStart:
            state_.currentCategory = static_cast<int>(lParam);
            break;
        case kMsgCurrentItem:
            state_.currentItem = reinterpret_cast<const char*>(lParam);
            break;
        case kMsgProblemFound: {
            std::unique_ptr<CRegistryProblem> problem(reinterpret_cast<CRegistryProblem*>(lParam));
            run_.log.WriteLog(problem->keyPath + "\n" + problem->valueName + " | " + problem->data);
            ScanItem& item = run_.scanItems.At(problem->engine, problem->category);
            item.found += 1;
            if (problem->engine == kJunkFileEngine || problem->engine == kPrivacyEngine) {
                platform::FindHandle search;
                platform::FindData file;
                if (files_.FindFirst(problem->keyPath, search, file) == platform::kOk &&
                    !(file.attributes & platform::kAttrDirectory)) {
                    item.foundSize += static_cast<double>(file.size) / 1024.0;
                }
            }
            run_.problems.ForEngine(problem->engine).push_back(std::move(problem));
            state_.problemsFound += 1;
            break;
        }
        case kMsgScanFinished:
            if (controller_ != nullptr) controller_->StopEngine();
            Complete();
            break;
        default:
            break;
    }
    if (onChange) onChange(state_, message);
    return 1;
}

void ScanSession::Cancel() {
    if (controller_ != nullptr) controller_->StopEngine();
    // Written while the worker may still be between two notifications: the log is the one thing both
    // threads write, one line at a time.
    run_.log.WriteLog("Scan cancelled by user");
    state_.interrupted = true;
}

void ScanSession::WorkerFinished() {
    if (!state_.finished) Complete();
}

void ScanSession::Complete() {
    if (state_.finished) return;
    state_.finished = true;
    run_.scanItems.SaveScanItems(run_.settings);
    int total = run_.scanItems.TotalFound();
    run_.settings.WriteSettingInt("errs", total);
    // A running total stops short of the largest int, which the store would read back as missing.
    long long running = static_cast<long long>(run_.settings.ReadSettingInt("lastRfounderrors", 0)) + total;
    running = std::min<long long>(running, std::numeric_limits<int>::max() - 1);
    run_.settings.WriteSettingInt("lastRfounderrors", static_cast<int>(running));
}

ScanSessionState RunScanToCompletion(ScanRequest request) {
    ScanSession session(request.state, request.context.machine.files);
    session.onChange = request.onChange;
    platform::MessageChannel window([&](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        return session.OnMessage(message, wParam, lParam);
    });
    auto enabled = request.enabled.value_or(request.state.scanItems.EnabledFlags());
    CScanEngine controller(request.state, scanners::MakeEngines(request.context, enabled));
    session.SetController(&controller);
    controller.SetWorkerFinishedCallback([&window] { window.Wake(); });
    controller.StartScan(window);
    window.PumpUntil([&] { return controller.WorkerFinished(); });
    controller.Join();
    session.WorkerFinished();
    return session.State();
}

}  // namespace brisko::app
