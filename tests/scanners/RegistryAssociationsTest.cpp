// File Extensions and Program Shortcuts over a simulated machine: empty open-with lists, open commands
// naming missing programs, and shortcuts whose target is gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ShellLink.h"
#include "scan/RegistryPaths.h"
#include "scanners/RegistryScanRun.h"
#include "support/TestMachine.h"

namespace brisko::scanners {
namespace {

using namespace platform;
using regtest::PutFile;
using regtest::PutText;
using regtest::RegistryRun;
using scan::REG_FILE_EXTENSIONS;
using scan::REG_SHORTCUTS;

constexpr const char* kFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

void CreateKey(Machine& machine, HKey root, const std::string& key) {
    RegKey handle;
    ASSERT_EQ(machine.registry.CreateKey(root, key, kKeyAllAccess, handle), kOk) << key;
}

struct Finding {
    std::string keyPath;
    std::string valueName;
    std::string data;
    int category;
    bool wholeKey;
    bool operator==(const Finding&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Finding& f) {
    return out << f.keyPath << " [" << f.valueName << "] = " << f.data << " (" << f.category
               << (f.wholeKey ? ", whole key)" : ")");
}

std::vector<Finding> Findings(const RegistryRun& run) {
    std::vector<Finding> found;
    for (const auto& p : run.Found()) {
        EXPECT_EQ(p->engine, 0);
        EXPECT_FALSE(p->isFile);
        found.push_back({p->keyPath, p->valueName, p->data, p->category, p->wholeKey});
    }
    return found;
}

bool Announced(const RegistryRun& run, std::string_view text) {
    return std::any_of(run.window.messages.begin(), run.window.messages.end(),
                       [&](const auto& m) { return m.id == scan::kMsgCurrentItem && m.text == text; });
}

TEST(FileExtensions, OnlyAnExtensionHoldingNothingButAnEmptyOpenWithListIsReported) {
    test::TestMachine machine;
    const std::string base = std::string(kFileExts) + "\\";
    struct Case {
        const char* extension;
        std::function<void(Machine&, const std::string&)> build;
        bool found;
    } cases[] = {
        {".aaa",
         [](Machine& m, const std::string& key) { CreateKey(m, kCurrentUser, key + "\\OpenWithList"); },
         true},
        {".bbb",
         [](Machine& m, const std::string& key) {
             CreateKey(m, kCurrentUser, key + "\\OpenWithList");
             PutText(m, kCurrentUser, key, "Progid", "bbbfile");
         },
         false},
        {".ccc",
         [](Machine& m, const std::string& key) {
             CreateKey(m, kCurrentUser, key + "\\OpenWithList");
             CreateKey(m, kCurrentUser, key + "\\UserChoice");
         },
         false},
        {".ddd",
         [](Machine& m, const std::string& key) {
             PutText(m, kCurrentUser, key + "\\OpenWithList", "a", "viewer.exe");
         },
         false},
        {".eee",
         [](Machine& m, const std::string& key) {
             CreateKey(m, kCurrentUser, key + "\\OpenWithList\\viewer.exe");
         },
         false},
        {".fff",
         [](Machine& m, const std::string& key) { CreateKey(m, kCurrentUser, key + "\\OpenWithProgids"); },
         false},
        {".ggg", [](Machine& m, const std::string& key) { CreateKey(m, kCurrentUser, key); }, false},
    };
    for (const Case& c : cases)
        c.build(*machine, base + c.extension);
    RegistryRun run(*machine, {REG_FILE_EXTENSIONS});
    run.Scan();

    std::vector<Finding> expected;
    for (const Case& c : cases) {
        std::string list = base + c.extension + "\\OpenWithList";
        EXPECT_TRUE(Announced(run, list)) << list;
        if (c.found)
            expected.push_back({"HKEY_CURRENT_USER\\" + list, "(Default)", "", REG_FILE_EXTENSIONS, true});
    }
    EXPECT_EQ(Findings(run), expected);
}

TEST(FileExtensions, ExtensionsWhoseOpenCommandNamesAMissingProgramAreReported) {
    test::TestMachine machine;
    PutFile(*machine, "C:\\Program Files\\Viewer\\viewer.exe");
    struct Case {
        const char* extension;
        const char* command;       // null: the file type has no open command
        const char* reportedData;  // null: not reported
    } cases[] = {
        {".xyz", "\"C:\\Gone\\app.exe\" \"%1\"", "\"C:\\Gone\\app.exe\" \"%1\""},
        {".xy1", "C:\\Gone\\app.exe %1", "C:\\Gone\\app.exe %1"},
        {".xy2", "%SystemRoot%\\gone.exe \"%1\"", "C:\\Windows\\gone.exe \"%1\""},
        {".xy3", "%SystemRoot%\\system32\\notepad.exe %1", nullptr},
        {".xy4", "\"C:\\Program Files\\Viewer\\viewer.exe\" \"%1\"", nullptr},
        {".xy5", "notepad.exe %1", nullptr},
        {".xy6", "rundll32.exe shimgvw.dll,ImageView_Fullscreen %1", nullptr},
        {".xy7", "E:\\Portable\\app.exe %1", nullptr},  // not a fixed drive
        {".xy8", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        std::string type = std::string(c.extension + 1) + "file";
        PutText(*machine, kClassesRoot, c.extension, "", type);
        if (c.command != nullptr)
            PutText(*machine, kClassesRoot, type + "\\shell\\open\\command", "", c.command);
    }
    // A class key whose name is not an extension is announced and nothing else, however broken.
    PutText(*machine, kClassesRoot, "brokenfile\\shell\\open\\command", "", "C:\\Gone\\broken.exe");
    PutText(*machine, kClassesRoot, "notext", "", "brokenfile");
    // An extension without a file type, and one whose type name does not fit the read.
    CreateKey(*machine, kClassesRoot, ".none");
    PutText(*machine, kClassesRoot, ".long", "", std::string(1100, 'a'));

    RegistryRun run(*machine, {REG_FILE_EXTENSIONS});
    run.Scan();

    std::vector<Finding> expected;
    for (const Case& c : cases) {
        if (c.reportedData != nullptr)
            expected.push_back({std::string("HKEY_CLASSES_ROOT\\") + c.extension, "(Default)", c.reportedData,
                                REG_FILE_EXTENSIONS, false});
    }
    std::vector<Finding> found = Findings(run);
    std::sort(found.begin(), found.end(), [](auto& a, auto& b) { return a.keyPath < b.keyPath; });
    std::sort(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.keyPath < b.keyPath; });
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(Announced(run, "notext"));
    EXPECT_FALSE(Announced(run, "brokenfile\\shell\\open\\command\\"));
    EXPECT_TRUE(Announced(run, "xyzfile\\shell\\open\\command\\"));
    EXPECT_TRUE(Announced(run, ".xy2 || (Default) @ C:\\Windows\\gone.exe \"%1\""));
}

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        machine_.EditConfig([](sim::MachineConfig& config) {
            config.drives.push_back({'E', kDriveRemovable, 8'000'000'000ULL, 1'000'000'000ULL});
        });
        PutFile(*machine_, "C:\\Tools\\run.exe");
        ASSERT_EQ(machine_->shell.GetFolderPath(kCsidlDesktopDirectory, true, desktop_), kOk);
    }

    void Shortcut(const std::string& path, const shelllink::ShellLinkData& link) {
        PutFile(*machine_, path);  // the folders above it
        std::vector<std::uint8_t> bytes = shelllink::WriteShellLink(link);
        FileHandle file;
        ASSERT_EQ(machine_->files.OpenFile(path, kGenericWrite, 0, kCreateAlways, file), kOk) << path;
        std::uint32_t written = 0;
        ASSERT_EQ(file->Write(bytes, written), kOk);
    }
    void Shortcut(const std::string& path, const std::string& target) {
        shelllink::ShellLinkData link;
        link.localBasePath = target;
        Shortcut(path, link);
    }

    std::vector<std::string> Reported() {
        RegistryRun run(*machine_, {REG_SHORTCUTS});
        run.Scan();
        std::vector<std::string> paths;
        for (const auto& p : run.Found()) {
            EXPECT_EQ(p->category, REG_SHORTCUTS);
            EXPECT_TRUE(p->valueName.empty() && p->data.empty() && !p->wholeKey && !p->isFile) << p->keyPath;
            paths.push_back(p->keyPath);
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    test::TestMachine machine_;
    std::string desktop_;
};

TEST_F(Shortcuts, OnlyShortcutsWithAMissingTargetOnAFixedDriveAreReported) {
    const std::string user = "C:\\Users\\User";
    shelllink::ShellLinkData environment;
    environment.environmentTarget = "%SystemRoot%\\gone.exe";
    shelllink::ShellLinkData network;
    network.netName = "\\\\server\\share";
    network.commonPathSuffix = "gone.exe";
    shelllink::ShellLinkData noPath;
    noPath.hasIdList = true;

    Shortcut(user + "\\Start Menu\\Gone.lnk", "C:\\Gone\\app.exe");
    Shortcut("C:\\Links\\Deep\\Er\\Gone too.lnk", "\"C:\\Gone\\app.exe\"");
    Shortcut(user + "\\Start Menu\\Env.lnk", environment);
    Shortcut(user + "\\Start Menu\\Run.lnk", "C:\\Tools\\run.exe");
    Shortcut(user + "\\Start Menu\\Folder.lnk", "C:\\Tools");
    Shortcut(user + "\\Start Menu\\Readme.LNK", "C:\\Gone\\readme.txt");
    Shortcut(user + "\\Start Menu\\Removable.lnk", "E:\\Gone\\app.exe");
    Shortcut(user + "\\Start Menu\\Network.lnk", network);
    Shortcut(user + "\\Start Menu\\Namespace.lnk", noPath);
    Shortcut(user + "\\SendTo\\Gone.lnk", "C:\\Gone\\app.exe");
    Shortcut(user + "\\Tools\\SENDTO\\Gone.lnk", "C:\\Gone\\app.exe");
    Shortcut(desktop_ + "\\Gone.lnk", "C:\\Gone\\app.exe");
    Shortcut(user + "\\NetHood\\Gone.lnk", "C:\\Gone\\app.exe");
    Shortcut("C:\\Program Files\\Brisko\\Gone.lnk", "C:\\Gone\\app.exe");
    PutFile(*machine_, user + "\\Start Menu\\Damaged.lnk");  // not a shortcut at all: passes

    EXPECT_EQ(Reported(),
              (std::vector<std::string>{"C:\\Links\\Deep\\Er\\Gone too.lnk", user + "\\Start Menu\\Env.lnk",
                                        user + "\\Start Menu\\Gone.lnk"}));
}

TEST_F(Shortcuts, EveryEntryOfTheProfileDriveIsAnnounced) {
    Shortcut("C:\\Links\\Run.lnk", "C:\\Tools\\run.exe");
    RegistryRun run(*machine_, {REG_SHORTCUTS});
    run.Scan();
    EXPECT_TRUE(Announced(run, "C:\\Links"));
    EXPECT_TRUE(Announced(run, "C:\\Links\\Run.lnk"));
    EXPECT_TRUE(Announced(run, desktop_));
    EXPECT_TRUE(run.Found().empty());
}

}  // namespace
}  // namespace brisko::scanners
