#include "scan/IgnoreList.h"

#include <algorithm>

#include "platform/Text.h"
#include "scan/DataFolder.h"
#include "scan/ExclusionTextReader.h"

namespace brisko::scan {

using namespace platform;

std::string IgnoreEntryText(const CRegistryProblem& problem) {
    std::string text;
    text.reserve(problem.keyPath.size() + problem.valueName.size() + problem.data.size() + 2);
    text += problem.keyPath;
    text += '\\';
    text += problem.valueName;
    text += '|';
    text += problem.data;
    return text;
}

std::string IgnoreListPath(System& system) {
    std::string folder = ProgramFolderPath(system);
    return folder.empty() ? "ignorelist.dat" : folder + "\\ignorelist.dat";
}

IgnoreList::IgnoreList(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

bool IgnoreList::ReadFile(std::vector<IgnoreEntry>& entries, Status& status) {
    FileHandle file;
    status = files_.OpenFile(path_, kGenericRead, kShareRead | kShareWrite, kOpenExisting, file);
    if (status != kOk) return false;
    // No limit on a line's length: this is the user's own list, and whatever it holds is written back.
    ExclusionTextReader reader(*file);
    std::string line;
    bool tooLong = false;
    bool wantType = true;
    while (reader.ReadLine(line, tooLong)) {
        if (wantType) {
            // As "%d" reads it: white space, then an optional sign and digits; anything else is 0.
            std::string_view number = TrimSpace(line);
            bool negative = !number.empty() && number.front() == '-';
            if (!number.empty() && (number.front() == '-' || number.front() == '+')) number.remove_prefix(1);
            int value = LeadingNumber(number);
            entries.push_back({negative ? -value : value, {}});
        } else {
            entries.back().text = std::move(line);
        }
        wantType = !wantType;
    }
    return true;
}

bool IgnoreList::LoadIgnoreList() {
    std::vector<IgnoreEntry> entries;
    Status status = kOk;
    if (!ReadFile(entries, status)) {
        if (status == kFileNotFound || status == kPathNotFound) {
            if (stored_ != Stored::kRead) stored_ = Stored::kMissing;
        }
        return false;
    }
    entries_ = std::move(entries);
    stored_ = Stored::kRead;
    return true;
}

bool IgnoreList::SaveIgnoreList() {
    lastSaveOk_ = WriteFile();
    return lastSaveOk_;
}

bool IgnoreList::WriteFile() {
    if (stored_ == Stored::kUnknown) {
        // The file was never read: keep what it holds ahead of what was added since.
        std::vector<IgnoreEntry> onDisk;
        Status status = kOk;
        if (ReadFile(onDisk, status)) {
            onDisk.insert(onDisk.end(), entries_.begin(), entries_.end());
            entries_ = std::move(onDisk);
        } else if (status != kFileNotFound && status != kPathNotFound) {
            return false;
        }
        stored_ = Stored::kRead;
    }

    std::string content;
    for (const IgnoreEntry& entry : entries_) {
        content += std::to_string(entry.type);
        content += "\r\n";
        content += entry.text;
        content += "\r\n";
    }

    // Written beside the list and put in its place only when complete.
    std::string temporary = path_ + ".tmp";
    bool written = false;
    {
        FileHandle file;
        if (files_.OpenFile(temporary, kGenericWrite, 0, kCreateAlways, file) != kOk) return false;
        std::span<const std::uint8_t> rest(reinterpret_cast<const std::uint8_t*>(content.data()),
                                           content.size());
        written = true;
        while (!rest.empty()) {
            std::uint32_t count = 0;
            if (file->Write(rest, count) != kOk || count == 0) {
                written = false;
                break;
            }
            rest = rest.subspan(std::min<std::size_t>(count, rest.size()));
        }
        written = written && file->Flush() == kOk;
    }
    if (!written || files_.MoveFile(temporary, path_, kMoveReplaceExisting) != kOk) {
        files_.DeleteFile(temporary);
        return false;
    }
    return true;
}

bool IgnoreList::AddToIgnoreList(const CRegistryProblem& problem) {
    std::string text = IgnoreEntryText(problem);
    if (text.find('\n') != std::string::npos) return false;
    entries_.push_back({problem.category, std::move(text)});
    // A failed save is not reported: the entry still works for this run and is written by the next save.
    SaveIgnoreList();
    return true;
}

bool IgnoreList::RemoveFirst(std::string_view text) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [text](const IgnoreEntry& entry) { return EqualsNoCase(entry.text, text); });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

bool IgnoreList::Contains(std::string_view text) const {
    return std::any_of(entries_.begin(), entries_.end(), [text](const IgnoreEntry& entry) {
        return entry.text.size() == text.size() && EqualsNoCase(entry.text, text);
    });
}

int IgnoreList::CountForCategory(int category) const {
    return static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(),
                      [category](const IgnoreEntry& entry) { return entry.type == category; }));
}

}  // namespace brisko::scan
