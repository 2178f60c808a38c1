// The demo machine's documented entries for file associations and program shortcuts.
#include <vector>

#include "platform/ShellLink.h"
#include "platform/sim/DemoMachine.h"
#include "platform/sim/SimMachine.h"

namespace brisko::platform::sim {

namespace {

constexpr int kFileExtensions = 8;

using enum DemoVerdict;
using enum DemoData;

// Quillwork registered its document types; their open commands are sound.
constexpr DemoEntry kEntries[] = {
    {kFileExtensions, kClassesRoot, ".qwd", "", kRegSz, "Quillwork.Document", kText, kHealthy, ""},
    {kFileExtensions, kClassesRoot, "Quillwork.Document\\shell\\open\\command", "", kRegSz,
     "\"C:\\Program Files\\Quillwork\\quillwork.exe\" \"%1\"", kText, kHealthy, ""},
    {kFileExtensions, kClassesRoot, ".qwt", "", kRegSz, "Quillwork.Template", kText, kHealthy, ""},
    {kFileExtensions, kClassesRoot, "Quillwork.Template\\shell\\open\\command", "", kRegSz, "notepad.exe %1",
     kText, kHealthy, ""},
};

// A start-menu shortcut whose target exists: the shortcut walk passes it.
constexpr std::string_view kShortcut =
    "C:\\Users\\Alice\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Quillwork.lnk";
constexpr std::string_view kShortcutTarget = "C:\\Program Files\\Quillwork\\quillwork.exe";

bool WriteShortcut(SimMachine& machine, std::string_view path, std::string_view target, std::string& error) {
    for (std::size_t slash = path.find('\\', 3); slash != std::string_view::npos;
         slash = path.find('\\', slash + 1)) {
        Status status = machine.files.CreateDirectory(path.substr(0, slash));
        if (status != kOk && status != kAlreadyExists) {
            error = "cannot create the folders of " + std::string(path);
            return false;
        }
    }
    shelllink::ShellLinkData link;
    link.localBasePath = std::string(target);
    std::vector<std::uint8_t> bytes = shelllink::WriteShellLink(link);
    FileHandle file;
    std::uint32_t written = 0;
    if (machine.files.OpenFile(path, kGenericWrite, 0, kCreateAlways, file) != kOk ||
        file->Write(bytes, written) != kOk) {
        error = "cannot write " + std::string(path);
        return false;
    }
    return true;
}

}  // namespace

std::span<const DemoEntry> DemoAssociationEntries() {
    return kEntries;
}

std::span<const std::string_view> DemoAssociationFiles() {
    return {};
}

bool AddDemoAssociationExtras(SimMachine& machine, std::string& error) {
    return WriteShortcut(machine, kShortcut, kShortcutTarget, error);
}

}  // namespace brisko::platform::sim
