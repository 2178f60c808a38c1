#include "app/ProgramState.h"

namespace brisko::app {

ProgramState::ProgramState(platform::Machine& machine_, scan::ActivityLog& log_)
    : machine(machine_),
      log(log_),
      settings(machine_.registry),
      ignoreList(machine_.files, scan::IgnoreListPath(machine_.system)),
      exclusions(&ignoreList),
      context_{machine_, log_, problems,
               [this](const scan::CRegistryProblem& problem) { return exclusions.IsExcluded(problem); },
               [this](const scan::CRegistryProblem& problem) { return ignoreList.IsIgnored(problem); }} {}

void ProgramState::Load() {
    exclusions.LoadExclusionLists(machine);
    ignoreList.LoadIgnoreList();
    scanItems.LoadScanItems(settings);
}

scan::ScanRunState ProgramState::RunState() {
    return scan::ScanRunState{settings, scanItems, problems, log, machine.clock};
}

}  // namespace brisko::app
