// What the engines of a scan run reach: the machine, the activity log, the lists already reported (Deep
// Scan's duplicate test reads them) and the exclusion test every finding passes.
#pragma once

#include <functional>

#include "platform/Machine.h"
#include "scan/ActivityLog.h"
#include "scan/Problem.h"

namespace brisko::scan {

struct ScanContext {
    platform::Machine& machine;
    ActivityLog& log;
    // Written only by the notify window's receiver, while the worker waits for its answer.
    const ProblemLists& problems;
    // The exclusion and ignore lists; empty: nothing is excluded.
    std::function<bool(const CRegistryProblem&)> isExcluded;
    // The user's own ignore list alone; it holds for files too, which the other lists do not judge.
    std::function<bool(const CRegistryProblem&)> isIgnoredByUser;
};

}  // namespace brisko::scan
