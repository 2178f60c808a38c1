#include "scan/ActivityLogFile.h"

#include "scan/ActivityLogFolder.h"
#include "scan/DataFolder.h"

namespace brisko::scan {

using namespace platform;

void ActivityLogFile::ChooseFile() {
    std::string folder = DataFolderPath(machine_, "LOGS");
    PruneLogFolder(machine_.files, folder);
    CreateFolderTree(machine_.files, folder);
    path_ = folder + "\\" + LogFileName(machine_.clock.GetLocalTime());
}

bool ActivityLogFile::Append(std::string_view text) {
    if (path_.empty()) ChooseFile();
    // Other writers are kept out while the record is written; readers may look at the file meanwhile.
    FileHandle file;
    if (machine_.files.OpenFile(path_, kGenericWrite, kShareRead, kOpenAlways, file) != kOk) return false;
    std::uint64_t size = 0;
    if (file->GetSize(size) != kOk || file->Seek(size) != kOk) return false;
    std::string record = LogRecord(machine_.clock.GetLocalTime(), text);
    std::uint32_t written = 0;
    Status status =
        file->Write(std::span(reinterpret_cast<const std::uint8_t*>(record.data()), record.size()), written);
    return status == kOk && written == record.size();
}

}  // namespace brisko::scan
