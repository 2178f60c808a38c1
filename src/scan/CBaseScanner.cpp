#include "scan/CBaseScanner.h"

#include "platform/Text.h"
#include "scan/RegistryPaths.h"
#include "scan/ScanMessages.h"

namespace brisko::scan {

using namespace platform;

namespace {
// Read, create subkey and set value: the access the collection helpers open keys with.
constexpr Access kCollectAccess = 0x2001F;
}  // namespace

std::intptr_t CMSGNotifier::Notify(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (gate_ != nullptr) gate_->Check();
    if (window_ == nullptr) return 0;
    return window_->Send(message, wParam, lParam);
}

void CMSGNotifier::NotifyCurrentItem(int engine, std::string_view text) {
    std::string copy(text);
    Notify(kMsgCurrentItem, static_cast<std::uintptr_t>(engine),
           reinterpret_cast<std::intptr_t>(copy.c_str()));
}

CBaseScanner::CBaseScanner(ScanContext& context, int engine, std::span<const bool> enabled)
    : context_(context),
      machine_(context.machine),
      engine_(engine),
      enabled_(enabled.begin(), enabled.end()) {}

void CBaseScanner::Scan(Notifier& window) {
    SetWindow(&window);
}

void CBaseScanner::Fix(Notifier& window) {
    SetWindow(&window);
}

bool CBaseScanner::IsEnabled(int category) const {
    return category >= 0 && static_cast<std::size_t>(category) < enabled_.size() && enabled_[category];
}

bool CBaseScanner::ReportProblem(std::unique_ptr<CRegistryProblem> problem) {
    bool keep = false;
    if (problem->engine == kTuneupEngine) {
        keep = true;
    } else {
        keep = !context_.isExcluded || !context_.isExcluded(*problem);
        if (keep && problem->engine == kRegistryEngine && problem->category == REG_DEEP_SCAN) {
            for (const auto& earlier : context_.problems.RegistryProblems) {
                if (earlier->category != REG_DEEP_SCAN && EqualsNoCase(earlier->keyPath, problem->keyPath) &&
                    EqualsNoCase(earlier->valueName, problem->valueName)) {
                    keep = false;
                    break;
                }
            }
        }
        if (problem->engine == kPrivacyEngine && problem->category == 1) keep = true;
        if (problem->engine != kRegistryEngine && problem->keyPath.size() >= 3 &&
            problem->keyPath.compare(1, 2, ":\\") == 0) {
            // A file is reported only when it can be removed. The registry lists do not speak for files,
            // but a file the user chose to ignore stays ignored.
            bool ignored = context_.isIgnoredByUser && context_.isIgnoredByUser(*problem);
            keep = !ignored && IsFileRemovable(problem->keyPath);
        }
    }
    // With nobody to take the problem it could only be lost: it is dropped.
    if (!keep || !HasWindow()) return true;
    int engine = problem->engine;
    // The receiver takes ownership of the problem during the call.
    Notify(kMsgProblemFound, static_cast<std::uintptr_t>(engine),
           reinterpret_cast<std::intptr_t>(problem.get()));
    problem.release();
    return false;
}

bool CBaseScanner::IsFileRemovable(std::string_view path) {
    FileHandle file;
    if (machine_.files.OpenFile(path, kGenericRead, kShareDelete, kOpenExisting, file) != kOk) return false;
    file.reset();
    std::uint32_t attributes = 0;
    if (machine_.files.GetAttributes(path, attributes) == kOk && (attributes & kAttrReadOnly)) return false;
    // Windows names the folder in any case; a file below any spelling of it is the user's.
    std::size_t desktop = FoldCase(path).find("\\DESKTOP\\");
    return desktop == std::string::npos || desktop == 0;
}

void CBaseScanner::CollectValue(HKey root, std::string_view subKey, std::string_view valueName, int engine,
                                int category) {
    NotifyCurrentItem(engine, subKey);
    RegKey key;
    if (machine_.registry.OpenKey(root, subKey, kCollectAccess, key) != kOk) return;
    ValueType type = 0;
    Bytes data;
    if (machine_.registry.QueryValue(key.Get(), valueName, kDataBufferLength, type, data) != kOk) return;
    ReportProblem(std::make_unique<CRegistryProblem>(FullKeyPath(root, subKey), std::string(valueName),
                                                     DataText(data), engine, category));
}

void CBaseScanner::CollectKeyValues(HKey root, std::string_view subKey, int engine, int category) {
    RegKey key;
    if (machine_.registry.OpenKey(root, subKey, kCollectAccess, key) != kOk) return;
    const std::string keyPath = FullKeyPath(root, subKey);
    RegValue value;
    for (std::uint32_t i = 0;
         machine_.registry.EnumValue(key.Get(), i, EnumLimits{kNameBufferLength, kDataBufferLength}, value) ==
         kOk;
         ++i) {
        NotifyCurrentItem(engine, value.name);
        ReportProblem(
            std::make_unique<CRegistryProblem>(keyPath, value.name, DataText(value.data), engine, category));
    }
}

void CBaseScanner::CollectSubkeyValues(HKey root, std::string_view subKey, int engine, int category) {
    RegKey key;
    if (machine_.registry.OpenKey(root, subKey, kCollectAccess, key) != kOk) return;
    std::string name;
    for (std::uint32_t i = 0; machine_.registry.EnumKey(key.Get(), i, kNameBufferLength, name) == kOk; ++i) {
        std::string child = std::string(subKey) + "\\" + name;
        NotifyCurrentItem(engine, child);
        CollectKeyValues(root, child, engine, category);
    }
}

void CBaseScanner::CollectFolderFiles(const std::string& folder, int engine, int category) {
    if (folder.size() <= 10) return;
    FindHandle search;
    FindData entry;
    if (machine_.files.FindFirst(folder + "\\*.*", search, entry) != kOk) return;
    do {
        std::string path = folder + "\\" + entry.name;
        NotifyCurrentItem(engine, path);
        if (entry.name == "." || entry.name == "..") continue;
        if (entry.attributes & kAttrDirectory) {
            // A link inside the folder leads outside it: never walked.
            if (!(entry.attributes & kAttrReparsePoint)) CollectFolderFiles(path, engine, category);
            continue;
        }
        ReportProblem(std::make_unique<CRegistryProblem>(path, "", "", engine, category, 0, false, true));
    } while (search->Next(entry) == kOk);
}

}  // namespace brisko::scan
