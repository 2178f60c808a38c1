// The base of the four scan engines: the notification link to the notify window, the filter every finding
// passes before it becomes a result, and the collection helpers several engines share.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Notifier.h"
#include "platform/Registry.h"
#include "scan/Problem.h"
#include "scan/RunGate.h"
#include "scan/ScanContext.h"
#include "scan/ScanMessages.h"

namespace brisko::scan {

// Holds the window that receives the notifications and sends them synchronously. Before each send it
// checks the run's gate, so a paused run waits there and a stopped one ends there.
class CMSGNotifier {
public:
    void SetWindow(platform::Notifier* window) { window_ = window; }
    bool HasWindow() const { return window_ != nullptr; }
    void SetGate(RunGate* gate) { gate_ = gate; }
    std::intptr_t Notify(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    // 1612: the key, value or file being examined; the text lives for the call only.
    void NotifyCurrentItem(int engine, std::string_view text);

private:
    platform::Notifier* window_ = nullptr;
    RunGate* gate_ = nullptr;
};

class CBaseScanner : public CMSGNotifier {
public:
    // `enabled` holds one flag per category of the engine's group; they are copied, so changing the
    // options during a run does not affect it.
    CBaseScanner(ScanContext& context, int engine, std::span<const bool> enabled);
    virtual ~CBaseScanner() = default;
    CBaseScanner(const CBaseScanner&) = delete;
    CBaseScanner& operator=(const CBaseScanner&) = delete;

    // Runs the engine's checks and reports the findings. The base only keeps the window.
    virtual void Scan(platform::Notifier& window);
    // Repairs the selected findings of the engine's list. The base only keeps the window.
    virtual void Fix(platform::Notifier& window);

    int Engine() const { return engine_; }
    bool IsEnabled(int category) const;

    // The filter of every finding: sends 1611 and returns false when the problem is kept; returns true
    // when it is dropped (and released).
    bool ReportProblem(std::unique_ptr<CRegistryProblem> problem);
    // True when the file can be opened for reading with only delete sharing allowed (no other program
    // holds it), is not read-only and does not lie below a "\Desktop\" folder.
    bool IsFileRemovable(std::string_view path);

    void CollectValue(platform::HKey root, std::string_view subKey, std::string_view valueName, int engine,
                      int category);
    void CollectKeyValues(platform::HKey root, std::string_view subKey, int engine, int category);
    void CollectSubkeyValues(platform::HKey root, std::string_view subKey, int engine, int category);
    // Every file below the folder, recursively; a folder text of 10 characters or fewer is not walked.
    // Links are never followed, so a walk stays inside its folder.
    void CollectFolderFiles(const std::string& folder, int engine, int category);

protected:
    // The category contract of every engine: 1608, the checks, 1609 when the category is enabled; 1610
    // when it is not.
    template <class Checks>
    void RunCategory(int category, Checks&& checks, int notifiedEngine);

    ScanContext& context_;
    platform::Machine& machine_;

private:
    int engine_;
    std::vector<bool> enabled_;
};

template <class Checks>
void CBaseScanner::RunCategory(int category, Checks&& checks, int notifiedEngine) {
    if (!IsEnabled(category)) {
        Notify(kMsgCategorySkipped, static_cast<std::uintptr_t>(notifiedEngine), category);
        return;
    }
    Notify(kMsgCategoryStart, static_cast<std::uintptr_t>(notifiedEngine), category);
    checks();
    Notify(kMsgCategoryEnd, static_cast<std::uintptr_t>(notifiedEngine), category);
}

}  // namespace brisko::scan
