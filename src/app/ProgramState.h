// What the program holds for its whole run, as the command line and the window both need it: the settings
// store, the scan item table, the problem lists of the last scan, the user's ignore list and the exclusion
// lists, on one machine.
#pragma once

#include "platform/Machine.h"
#include "scan/ActivityLog.h"
#include "scan/CScanEngine.h"
#include "scan/ExclusionLists.h"
#include "scan/IgnoreList.h"
#include "scan/ScanContext.h"

namespace brisko::app {

class ProgramState {
public:
    ProgramState(platform::Machine& machine, scan::ActivityLog& log);
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    // What start-up loads before the first scan: the exclusion lists, the ignore list and the table.
    void Load();

    // The context and state a scan run is made with; they refer to this object.
    scan::ScanContext& ScanContext() { return context_; }
    scan::ScanRunState RunState();

    platform::Machine& machine;
    scan::ActivityLog& log;
    scan::SettingsStore settings;
    scan::ScanItemTable scanItems;
    scan::ProblemLists problems;
    scan::IgnoreList ignoreList;
    scan::ExclusionLists exclusions;

private:
    scan::ScanContext context_;
};

}  // namespace brisko::app
