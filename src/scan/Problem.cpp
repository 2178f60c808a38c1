#include "scan/Problem.h"

#include "strings/StringTable.h"

namespace brisko::scan {

namespace {
constexpr RegTypeInfo kRegTypes[] = {
    {"sftloc", strings::kIdSoftwareLocations}, {"reginte", strings::kIdRegistryIntegrity},
    {"fonts", strings::kIdFontEntries},        {"helpfil", strings::kIdHelpFiles},
    {"shardll", strings::kIdSharedDlls},       {"winstrt", strings::kIdStartupItems},
    {"addrem", strings::kIdAddRemovePrograms}, {"fileref", strings::kIdVirtualDevices},
    {"fileext", strings::kIdFileExtensions},   {"shrtcut", strings::kIdProgramShortcuts},
    {"custctrls", strings::kIdCustomControls}, {"deepscan", strings::kIdDeepScan},
};
}  // namespace

const RegTypeInfo& RegType(int category) {
    return kRegTypes[category];
}

CRegistryProblem::CRegistryProblem(std::string keyPath_, std::string valueName_, std::string data_,
                                   int engine_, int category_, int /*count*/, bool wholeKey_, bool isFile_)
    : keyPath(std::move(keyPath_)),
      data(std::move(data_)),
      valueName(std::move(valueName_)),
      engine(engine_),
      category(category_),
      wholeKey(wholeKey_),
      isFile(isFile_) {}

ProblemList& ProblemLists::ForEngine(int engine) {
    switch (engine) {
        case kRegistryEngine:
            return RegistryProblems;
        case kJunkFileEngine:
            return JunkFileProblems;
        case kPrivacyEngine:
            return PrivacyProblems;
        default:
            return TuneupProblems;
    }
}

const ProblemList& ProblemLists::ForEngine(int engine) const {
    return const_cast<ProblemLists*>(this)->ForEngine(engine);
}

void ProblemLists::Clear() {
    RegistryProblems.clear();
    JunkFileProblems.clear();
    PrivacyProblems.clear();
    TuneupProblems.clear();
}

std::string ShownValueName(const std::string& valueName) {
    return valueName.empty() || valueName == "@" ? "(Default)" : valueName;
}

}  // namespace brisko::scan
