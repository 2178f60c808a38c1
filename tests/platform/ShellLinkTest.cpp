// The shortcut (.lnk) reader and writer: what a written shortcut reads back as, and that damaged or
// hostile files are refused without reading outside the buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ShellLink.h"
#include "support/TestMachine.h"

namespace brisko::platform::shelllink {
namespace {

using Patch = std::function<void(std::vector<std::uint8_t>&)>;

void SetU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void SetU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

// A shortcut with every part the reader knows: an ID list, a local link info, all five texts and the
// environment form of its target.
ShellLinkData FullLink() {
    ShellLinkData link;
    link.hasIdList = true;
    link.localBasePath = "C:\\Program Files\\Éditeur\\";
    link.commonPathSuffix = "editor.exe";
    link.name = "Text editor";
    link.relativePath = "..\\Program Files\\Éditeur\\editor.exe";
    link.workingDir = "C:\\Program Files\\Éditeur";
    link.arguments = "/new \"%1\"";
    link.iconLocation = "%ProgramFiles%\\Éditeur\\editor.exe";
    link.environmentTarget = "%ProgramFiles%\\Éditeur\\editor.exe";
    return link;
}

void ExpectSame(const ShellLinkData& a, const ShellLinkData& b) {
    EXPECT_EQ(a.localBasePath, b.localBasePath);
    EXPECT_EQ(a.netName, b.netName);
    EXPECT_EQ(a.commonPathSuffix, b.commonPathSuffix);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.relativePath, b.relativePath);
    EXPECT_EQ(a.workingDir, b.workingDir);
    EXPECT_EQ(a.arguments, b.arguments);
    EXPECT_EQ(a.iconLocation, b.iconLocation);
    EXPECT_EQ(a.environmentTarget, b.environmentTarget);
    EXPECT_EQ(a.hasIdList, b.hasIdList);
}

TEST(ShellLink, WrittenShortcutsReadBackWithTheirRawTarget) {
    ShellLinkData local;
    local.localBasePath = "C:\\Tools\\";
    local.commonPathSuffix = "run.exe";
    ShellLinkData network;
    network.netName = "\\\\server\\share";
    network.commonPathSuffix = "tools\\run.exe";
    ShellLinkData namespaceItem;  // a shortcut to something with no file-system path
    namespaceItem.hasIdList = true;
    namespaceItem.name = "Control Panel";
    ShellLinkData environmentOnly;
    environmentOnly.environmentTarget = "%SystemRoot%\\notepad.exe";
    struct Case {
        const char* what;
        ShellLinkData link;
        Status status;
        std::string target;
    } cases[] = {
        {"every part: the environment form wins, unexpanded", FullLink(), kOk,
         "%ProgramFiles%\\Éditeur\\editor.exe"},
        {"local path and suffix", local, kOk, "C:\\Tools\\run.exe"},
        {"network share and suffix", network, kOk, "\\\\server\\share\\tools\\run.exe"},
        {"environment form only", environmentOnly, kOk, "%SystemRoot%\\notepad.exe"},
        {"ID list only", namespaceItem, kFileNotFound, "unchanged"},
    };
    for (const Case& c : cases) {
        for (bool unicode : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (unicode ? " (unicode)" : " (ansi)"));
            std::vector<std::uint8_t> bytes = WriteShellLink(c.link, unicode);
            ShellLinkData read;
            ASSERT_EQ(ParseShellLink(bytes, read), kOk);
            ExpectSame(read, c.link);
            std::string target = "unchanged";
            EXPECT_EQ(ReadRawTargetPath(bytes, target), c.status);
            EXPECT_EQ(target, c.target);
        }
    }
}

TEST(ShellLink, LinkInfoTheShortcutAsksToIgnoreGivesNoPath) {
    ShellLinkData link;
    link.localBasePath = "C:\\Tools\\run.exe";
    std::vector<std::uint8_t> bytes = WriteShellLink(link);
    SetU32(bytes, 0x14, GetU32(bytes, 0x14) | 0x100);  // ForceNoLinkInfo
    std::string target;
    EXPECT_EQ(ReadRawTargetPath(bytes, target), kFileNotFound);
}

TEST(ShellLink, EveryTruncationIsRefusedAndLeavesTheOutputAlone) {
    for (bool unicode : {true, false}) {
        std::vector<std::uint8_t> bytes = WriteShellLink(FullLink(), unicode);
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            // A copy of exactly `size` bytes, so a read past its end is caught by the sanitizers.
            std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
            ShellLinkData read;
            read.name = "unchanged";
            EXPECT_EQ(ParseShellLink(cut, read), kInvalidData) << "cut at " << size;
            EXPECT_EQ(read.name, "unchanged");
        }
    }
}

TEST(ShellLink, SizesAndOffsetsOutsideTheFileAreRefused) {
    // FullLink written as unicode: the ID list (4 bytes) at 0x4C, the link info at 0x50.
    constexpr std::size_t kInfo = 0x50;
    const std::vector<std::uint8_t> valid = WriteShellLink(FullLink(), true);
    const std::size_t infoSize = GetU32(valid, kInfo);
    const std::size_t strings = kInfo + infoSize;
    const std::size_t environment = valid.size() - 4 - 0x314;
    struct Case {
        const char* what;
        Patch patch;
    } cases[] = {
        {"header size", [](auto& b) { SetU32(b, 0, 0x4D); }},
        {"class ID", [](auto& b) { b[4] ^= 1; }},
        {"ID list size past the end", [](auto& b) { SetU16(b, 0x4C, 0xFFFF); }},
        {"link info size past the end", [](auto& b) { SetU32(b, kInfo, 0xFFFFFFFF); }},
        {"link info size below its header", [](auto& b) { SetU32(b, kInfo, 8); }},
        {"link info header larger than the link info",
         [&](auto& b) { SetU32(b, kInfo + 4, static_cast<std::uint32_t>(infoSize + 1)); }},
        {"local path offset past the link info", [](auto& b) { SetU32(b, kInfo + 28, 0x7FFFFFFF); }},
        {"ANSI local path offset past the link info",
         [](auto& b) {
             SetU32(b, kInfo + 4, 0x1C);  // no unicode offsets: the ANSI one is used
             SetU32(b, kInfo + 16, 0xFFFFFFF0);
         }},
        {"unterminated suffix at the link info's end",
         [&](auto& b) {
             SetU32(b, kInfo + 32, static_cast<std::uint32_t>(infoSize - 1));
             b[kInfo + infoSize - 1] = 'x';
         }},
        {"network link where there is none",
         [](auto& b) {
             SetU32(b, kInfo + 8, 3);
             SetU32(b, kInfo + 20, 0xFFFFFF00);
         }},
        {"string count past the end", [&](auto& b) { SetU16(b, strings, 0xFFFF); }},
        {"extra block size past the end", [&](auto& b) { SetU32(b, environment, 0xFFFFFFF0); }},
        {"extra block smaller than its header", [&](auto& b) { SetU32(b, environment, 6); }},
        {"environment block of the wrong size", [&](auto& b) { SetU32(b, environment, 0x310); }},
        {"no terminal block", [](auto& b) { b.resize(b.size() - 4); }},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = valid;
        c.patch(bytes);
        std::string target = "unchanged";
        EXPECT_EQ(ReadRawTargetPath(bytes, target), kInvalidData) << c.what;
        EXPECT_EQ(target, "unchanged") << c.what;
    }
}

TEST(ShellLink, ManyEmptyExtraBlocksAreReadToTheEnd) {
    // A file of a megabyte made of the smallest blocks: read through, not refused, and no deeper than a loop.
    ShellLinkData link;
    link.localBasePath = "C:\\Tools\\run.exe";
    std::vector<std::uint8_t> bytes = WriteShellLink(link);
    bytes.resize(bytes.size() - 4);
    for (int i = 0; i < 131072; ++i) {
        for (std::uint8_t b : {8, 0, 0, 0, 0, 0, 0, 0xB0})
            bytes.push_back(b);
    }
    bytes.insert(bytes.end(), 4, 0);
    std::string target;
    EXPECT_EQ(ReadRawTargetPath(bytes, target), kOk);
    EXPECT_EQ(target, "C:\\Tools\\run.exe");
}

void WriteFile(sim::SimMachine& machine, std::string_view path, const std::vector<std::uint8_t>& bytes) {
    FileHandle file;
    ASSERT_EQ(machine.files.OpenFile(path, kGenericWrite, 0, kCreateAlways, file), kOk);
    std::uint32_t written = 0;
    ASSERT_EQ(file->Write(bytes, written), kOk);
}

TEST(SimShellShortcuts, ReadsTheTargetOfAShortcutFile) {
    test::TestMachine machine;
    ShellLinkData link;
    link.localBasePath = "C:\\Tools\\run.exe";
    WriteFile(*machine, "C:\\good.lnk", WriteShellLink(link));
    WriteFile(*machine, "C:\\text.lnk", {'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'n', 'k'});
    std::vector<std::uint8_t> huge = WriteShellLink(link);
    huge.resize(2 << 20);  // past the end of a shortcut's data: not read at all
    WriteFile(*machine, "C:\\huge.lnk", huge);

    std::string target = "unchanged";
    EXPECT_EQ(machine->shell.GetShortcutTarget("C:\\missing.lnk", target), kFileNotFound);
    EXPECT_EQ(machine->shell.GetShortcutTarget("C:\\text.lnk", target), kInvalidData);
    EXPECT_EQ(machine->shell.GetShortcutTarget("C:\\huge.lnk", target), kInvalidData);
    EXPECT_EQ(target, "unchanged");
    EXPECT_EQ(machine->shell.GetShortcutTarget("C:\\good.lnk", target), kOk);
    EXPECT_EQ(target, "C:\\Tools\\run.exe");
}

}  // namespace
}  // namespace brisko::platform::shelllink
