// The scan run: the order of its notifications, pause, resume and stop, and what it resets first.
#include "scan/CScanEngine.h"

#include <gtest/gtest.h>

#include "platform/MessageChannel.h"
#include "scan/RecordingWindow.h"
#include "scanners/Engines.h"
#include "support/TestMachine.h"

namespace brisko::scan {
namespace {

using namespace platform;

// A scanner whose only check reports a fixed list of findings, one by one.
class ReportingScanner final : public CBaseScanner {
public:
    ReportingScanner(ScanContext& context, int engine, std::span<const bool> enabled, int findings)
        : CBaseScanner(context, engine, enabled), findings_(findings) {}
    void Scan(Notifier& window) override {
        SetWindow(&window);
        RunCategory(
            0,
            [this] {
                for (int i = 0; i < findings_; ++i) {
                    ReportProblem(std::make_unique<CRegistryProblem>(
                        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Item" + std::to_string(i), "v", "C:\\missing.exe",
                        Engine(), 0));
                }
            },
            Engine());
    }

private:
    int findings_;
};

class ScanRunTest : public ::testing::Test {
protected:
    test::TestMachine machine;
    SettingsStore settings{machine->registry};
    ScanItemTable items;
    ProblemLists problems;
    MemoryLog log;
    ScanContext context{*machine, log, problems, {}, {}};
    ScanRunState state{settings, items, problems, log, machine->clock};

    // Runs a controller to its end, handling notifications on this thread as the scanning page does.
    // `betweenMessages` runs on this thread each time it is about to wait for the next notification.
    void Run(CScanEngine& controller, test::RecordingWindow& recorder,
             const std::function<void(std::uint32_t)>& onMessage = {},
             const std::function<void(MessageChannel&)>& betweenMessages = {}) {
        MessageChannel window([&](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
            if (message == kMsgProblemFound) {
                problems.ForEngine(static_cast<int>(wParam))
                    .emplace_back(reinterpret_cast<CRegistryProblem*>(lParam));
                lParam = 0;
            }
            recorder.Send(message, wParam, lParam);
            if (message == kMsgScanFinished) controller.StopEngine();
            if (onMessage) onMessage(message);
            return std::intptr_t{1};
        });
        controller.SetWorkerFinishedCallback([&window] { window.Wake(); });
        controller.StartScan(window);
        window.PumpUntil([&] {
            if (betweenMessages) betweenMessages(window);
            return controller.WorkerFinished();
        });
        controller.Join();
    }

    Engines ReportingEngines(int findings) {
        static const bool kAll[14] = {true, true, true, true, true, true, true,
                                      true, true, true, true, true, true, true};
        Engines engines;
        for (int e = 0; e < kEngineCount; ++e) {
            engines[e] = std::make_unique<ReportingScanner>(context, e,
                                                            std::span<const bool>(kAll, kCategoryCounts[e]),
                                                            e == kTuneupEngine ? findings : 0);
        }
        return engines;
    }
};

TEST_F(ScanRunTest, WithNothingEnabledEveryEngineStillRunsAndSkipsItsCategories) {
    std::array<bool, kScanItemCount> none{};
    CScanEngine controller(state, scanners::MakeEngines(context, none));
    test::RecordingWindow recorder;
    Run(controller, recorder);

    std::vector<std::uint32_t> expected = {kMsgScanStart};
    for (int engine = 0; engine < kEngineCount; ++engine) {
        expected.push_back(kMsgEngineStart);
        expected.insert(expected.end(), kCategoryCounts[engine], kMsgCategorySkipped);
        expected.push_back(kMsgEngineDone);
    }
    expected.push_back(kMsgScanFinished);
    EXPECT_EQ(recorder.Messages(), expected);
    // The registry engine speaks of itself as engine 0; the others by their numbers.
    for (const auto& n : recorder.notifications) {
        if (n.message == kMsgEngineStart) {
            EXPECT_EQ(static_cast<std::intptr_t>(n.wParam), n.lParam);
        }
    }
    EXPECT_FALSE(controller.IsRunning());
    EXPECT_TRUE(controller.WorkerFinished());
    EXPECT_EQ(controller.CurrentEngine(), kEngineCount);
}

TEST_F(ScanRunTest, PrepareResetsCountsListsAndRecordsTheStart) {
    machine->SimulatedClock().Set(SystemTime{2010, 5, 0, 9, 14, 3, 22, 0});
    items.At(kRegistryEngine, 0).found = 7;
    items.At(kJunkFileEngine, 2).fixedSize = 12.5;
    problems.RegistryProblems.push_back(std::make_unique<CRegistryProblem>("old", "", "", 0, 0));
    CScanEngine controller(state, scanners::MakeEngines(context, items.EnabledFlags()));
    test::RecordingWindow recorder;
    Run(controller, recorder);

    EXPECT_EQ(settings.ReadSettingString("lastScan", ""), "05-09-2010 14:03:22");
    EXPECT_TRUE(problems.RegistryProblems.empty());
    EXPECT_EQ(items.At(kRegistryEngine, 0).found, 0);
    EXPECT_EQ(items.At(kJunkFileEngine, 2).fixedSize, 0);
    const std::vector<std::string> start(log.Lines().begin(), log.Lines().begin() + 11);
    EXPECT_EQ(start, (std::vector<std::string>{
                         "intialisizing notifier window", "Try to free the existing data from registry",
                         "Try to free the existing data", "Step1", "Step2", "Step3", "Step4", "over cleaning",
                         "Prepared to scan", "Started scan engine thread", "Stated Scan"}));
    EXPECT_EQ(log.Lines().back(), "Scan Finished");
}

TEST_F(ScanRunTest, APausedRunWaitsAndThenGoesOnWhereItStood) {
    CScanEngine controller(state, ReportingEngines(5));
    test::RecordingWindow recorder;
    bool paused = false;
    int pendingWhilePaused = -1;
    Run(
        controller, recorder,
        [&](std::uint32_t message) {
            if (message == kMsgProblemFound && !paused && problems.TuneupProblems.size() == 2) {
                controller.PauseEngine();
                paused = true;
            }
        },
        [&](MessageChannel& window) {
            // While paused the worker sends nothing, however long it is given.
            if (paused && pendingWhilePaused < 0) {
                pendingWhilePaused = window.PumpPending() + window.PumpPending();
                controller.ResumeEngine();
            }
        });
    EXPECT_EQ(pendingWhilePaused, 0);
    EXPECT_EQ(problems.TuneupProblems.size(), 5u);
    EXPECT_EQ(recorder.Messages().back(), kMsgScanFinished);
}

TEST_F(ScanRunTest, AStoppedRunEndsAtOnceAndKeepsWhatItFound) {
    CScanEngine controller(state, ReportingEngines(5));
    test::RecordingWindow recorder;
    Run(controller, recorder, [&](std::uint32_t message) {
        if (message == kMsgProblemFound && problems.TuneupProblems.size() == 3) controller.StopEngine();
    });
    EXPECT_EQ(problems.TuneupProblems.size(), 3u);
    EXPECT_NE(recorder.Messages().back(), kMsgScanFinished);
    EXPECT_FALSE(controller.IsRunning());
    EXPECT_TRUE(controller.WorkerFinished());
}

TEST_F(ScanRunTest, ASecondScanListsOnlyItsOwnFindings) {
    {
        CScanEngine first(state, ReportingEngines(4));
        test::RecordingWindow recorder;
        Run(first, recorder);
    }
    ASSERT_EQ(problems.TuneupProblems.size(), 4u);
    CScanEngine second(state, ReportingEngines(2));
    test::RecordingWindow recorder;
    Run(second, recorder);
    EXPECT_EQ(problems.TuneupProblems.size(), 2u);
}

}  // namespace
}  // namespace brisko::scan
