// The simulated file system's own rules: how Windows paths land on the host folder, and what it simulates
// that a host cannot hold (attributes, locked and denied paths, drives without media, links).
#include "platform/sim/SimFileSystem.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/sim/FakeRegistry.h"

namespace brisko::platform::sim {
namespace {

namespace fs = std::filesystem;

class SimFileSystemTest : public ::testing::Test {
protected:
    SimFileSystemTest() {
        dir_ = fs::temp_directory_path() / ("brisko-simfs-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        config_.version.major = 6;
        config_.version.minor = 1;
        config_.drives = {{'C', kDriveFixed, 1000, 400},
                          {'D', kDriveCdrom, 0, 0},
                          {'E', kDriveRemovable, 64, 32},
                          {'M', kDriveNoRootDir, 0, 0}};
        config_.lockedFiles = {"C:\\pagefile.sys"};
        config_.deniedPaths = {"c:\\System Volume Information"};
        Host("C/pagefile.sys");
        Host("C/System Volume Information/tracking.log");
        Host("E/readme.txt");
        Reopen();
    }
    ~SimFileSystemTest() override {
        files_.reset();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    void Reopen() {
        files_.reset();
        files_.emplace(config_, dir_, registry_);
    }
    // A file made on the host, below drives/.
    void Host(const std::string& relative, const std::string& text = "x") {
        fs::path path = dir_ / "drives" / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    SimFileSystem& Files() { return *files_; }
    Status Attributes(std::string_view path, std::uint32_t& attributes) {
        return Files().GetAttributes(path, attributes);
    }
    std::vector<FindData> FindAll(const std::string& pattern) {
        std::vector<FindData> entries;
        FindHandle search;
        FindData data;
        if (Files().FindFirst(pattern, search, data) != kOk) return entries;
        do {
            entries.push_back(data);
        } while (search->Next(data) == kOk);
        return entries;
    }

    fs::path dir_;
    MachineConfig config_;
    testing::FakeRegistry registry_;
    std::optional<SimFileSystem> files_;
};

TEST_F(SimFileSystemTest, ResolvesAnyCaseInALargeFolderAndFollowsItsOwnChanges) {
    fs::create_directories(dir_ / "drives/C/Windows/System32");
    for (int i = 0; i < 5000; ++i)
        Host("C/Windows/System32/Lib" + std::to_string(i) + ".DLL");
    std::uint32_t attributes = 0;
    EXPECT_EQ(Attributes("c:\\WINDOWS\\system32\\lib4999.dll", attributes), kOk);
    EXPECT_EQ(Attributes("C:/windows/SYSTEM32/LIB0.dll", attributes), kOk);
    EXPECT_EQ(Attributes("C:\\windows\\system32\\lib5000.dll", attributes), kFileNotFound);
    EXPECT_EQ(Attributes("C:\\windows\\system33\\lib1.dll", attributes), kPathNotFound);

    // Names made by the simulation keep their case and are found in any case at once.
    FileHandle file;
    ASSERT_EQ(Files().OpenFile("C:\\WINDOWS\\SYSTEM32\\NewOne.Txt", kGenericWrite, 0, kCreateNew, file), kOk);
    file.reset();
    EXPECT_TRUE(fs::exists(dir_ / "drives/C/Windows/System32/NewOne.Txt"));
    EXPECT_EQ(Attributes("c:\\windows\\system32\\newone.txt", attributes), kOk);
    ASSERT_EQ(Files().MoveFile("c:\\windows\\system32\\newone.txt", "C:\\Windows\\Moved.txt", 0), kOk);
    EXPECT_EQ(Attributes("c:\\windows\\system32\\newone.txt", attributes), kFileNotFound);
    EXPECT_EQ(Attributes("C:\\WINDOWS\\MOVED.TXT", attributes), kOk);
    ASSERT_EQ(Files().DeleteFile("c:\\windows\\moved.txt"), kOk);
    EXPECT_EQ(Attributes("C:\\WINDOWS\\MOVED.TXT", attributes), kFileNotFound);
    ASSERT_EQ(Files().CreateDirectory("C:\\windows\\NewDir"), kOk);
    EXPECT_TRUE(fs::is_directory(dir_ / "drives/C/Windows/NewDir"));
    EXPECT_EQ(Attributes("C:\\WINDOWS\\newdir\\", attributes), kOk);

    std::filesystem::path host;
    ASSERT_TRUE(Files().HostPath("c:\\windows\\system32\\LIB7.dll", host));
    EXPECT_EQ(host, dir_ / "drives/C/Windows/System32/Lib7.DLL");
}

TEST_F(SimFileSystemTest, PathSpellingsFoldOntoTheSameHostFile) {
    Host("C/Windows/System32/Lib.DLL");
    Host("C/Windows/System32/Other.txt");  // lists the folder, so later misses also use the listing
    std::uint32_t attributes = 0;
    ASSERT_EQ(Attributes("C:\\WINDOWS\\SYSTEM32\\OTHER.TXT", attributes), kOk);
    const fs::path lib = dir_ / "drives/C/Windows/System32/Lib.DLL";
    const struct {
        const char* path;
        Status status;
    } cases[] = {
        {"C:\\Windows\\System32\\Lib.DLL", kOk},
        {"c:/windows/system32/lib.dll", kOk},
        {"C:\\Windows\\.\\Temp\\..\\System32\\\\Lib.DLL", kOk},
        {"C:\\..\\..\\Windows\\System32\\Lib.DLL", kOk},    // nothing is above the root
        {"C:\\Windows. \\System32\\LIB.DLL...", kOk},       // trailing dots and spaces go
        {"C:\\Windows\\Sys*\\..\\System32\\Lib.DLL", kOk},  // a name folded away is never checked
        {"C:\\Windows\\System32\\Lib.DLL\\", kPathNotFound},
        {"C:\\Windows\\System32\\L?b.DLL", kInvalidName},
        {"C:\\Windows\\System32\\Lib.DLLx", kFileNotFound},
        {"C:\\Windows\\System3\\Lib.DLL", kPathNotFound},
        {"C:Windows\\System32\\Lib.DLL", kPathNotFound},  // relative to a current directory
    };
    for (const auto& [path, status] : cases) {
        attributes = 0;
        EXPECT_EQ(Attributes(path, attributes), status) << path;
        fs::path host;
        if (status == kOk) {
            EXPECT_EQ(attributes, kAttrArchive) << path;
            EXPECT_TRUE(Files().HostPath(path, host)) << path;
            EXPECT_EQ(host, lib) << path;
        }
    }
}

TEST_F(SimFileSystemTest, LockedFilesAndDeniedFoldersRefuseAccess) {
    FileHandle file;
    EXPECT_EQ(Files().OpenFile("C:\\PAGEFILE.SYS", kGenericRead, kShareRead, kOpenExisting, file),
              kSharingViolation);
    EXPECT_EQ(Files().DeleteFile("C:\\pagefile.sys"), kSharingViolation);
    EXPECT_EQ(Files().MoveFile("C:\\pagefile.sys", "C:\\x", 0), kSharingViolation);
    EXPECT_EQ(Files().CopyFile("C:\\pagefile.sys", "C:\\x", false), kSharingViolation);
    std::uint32_t attributes = 0;
    EXPECT_EQ(Attributes("C:\\pagefile.sys", attributes), kOk);  // its entry is still readable

    const std::string denied = "C:\\System Volume Information";
    EXPECT_EQ(Attributes(denied, attributes), kOk);
    EXPECT_EQ(attributes & kAttrDirectory, kAttrDirectory);
    FindHandle search;
    FindData data;
    EXPECT_EQ(Files().FindFirst(denied + "\\*", search, data), kAccessDenied);
    EXPECT_EQ(Attributes(denied + "\\tracking.log", attributes), kAccessDenied);
    EXPECT_EQ(Files().OpenFile(denied + "\\tracking.log", kGenericRead, 0, kOpenExisting, file),
              kAccessDenied);
    EXPECT_EQ(Files().DeleteFile(denied + "\\tracking.log"), kAccessDenied);
    EXPECT_EQ(Files().RemoveDirectory(denied), kAccessDenied);
    EXPECT_TRUE(fs::exists(dir_ / "drives/C/System Volume Information/tracking.log"));
}

TEST_F(SimFileSystemTest, ReadOnlyFilesRefuseWriting) {
    Host("C/ro.txt", "keep");
    ASSERT_EQ(Files().SetAttributes("C:\\ro.txt", kAttrReadOnly), kOk);
    FileHandle file;
    EXPECT_EQ(Files().OpenFile("C:\\ro.txt", kGenericWrite, 0, kOpenExisting, file), kAccessDenied);
    EXPECT_EQ(Files().OpenFile("C:\\ro.txt", kGenericRead, 0, kCreateAlways, file), kAccessDenied);
    Host("C/other.txt");
    EXPECT_EQ(Files().CopyFile("C:\\other.txt", "C:\\ro.txt", false), kAccessDenied);
    EXPECT_EQ(Files().OpenFile("C:\\ro.txt", kGenericRead, 0, kOpenExisting, file), kOk);
}

TEST_F(SimFileSystemTest, AttributesLiveBesideTheDrivesAndPersist) {
    Host("C/Data/file.txt");
    ASSERT_EQ(Files().SetAttributes("C:\\data\\FILE.TXT", kAttrHidden | kAttrReadOnly), kOk);
    ASSERT_EQ(Files().SetAttributes("C:\\DATA", kAttrSystem), kOk);
    Host("C/Data/normal.txt");
    ASSERT_EQ(Files().SetAttributes("C:\\Data\\normal.txt", kAttrNormal), kOk);
    Reopen();

    std::uint32_t attributes = 0;
    ASSERT_EQ(Attributes("c:\\Data\\file.txt", attributes), kOk);
    EXPECT_EQ(attributes, kAttrHidden | kAttrReadOnly);
    ASSERT_EQ(Attributes("c:\\Data", attributes), kOk);
    EXPECT_EQ(attributes, kAttrDirectory | kAttrSystem);
    ASSERT_EQ(Attributes("c:\\Data\\normal.txt", attributes), kOk);
    EXPECT_EQ(attributes, kAttrNormal);
    // The store is in the machine folder, not on a drive, so no search ever lists it.
    for (const FindData& entry : FindAll("C:\\*"))
        EXPECT_EQ(entry.name.find("attributes"), std::string::npos);

    // Attributes travel with a moved folder and go with a deleted file.
    ASSERT_EQ(Files().MoveFile("C:\\Data", "C:\\Moved", 0), kOk);
    ASSERT_EQ(Attributes("C:\\Moved\\file.txt", attributes), kOk);
    EXPECT_EQ(attributes, kAttrHidden | kAttrReadOnly);
    ASSERT_EQ(Files().SetAttributes("C:\\Moved\\file.txt", 0), kOk);
    ASSERT_EQ(Files().DeleteFile("C:\\Moved\\file.txt"), kOk);
    Host("C/Moved/file.txt");
    ASSERT_EQ(Attributes("C:\\Moved\\file.txt", attributes), kOk);
    EXPECT_EQ(attributes, kAttrArchive);
}

TEST_F(SimFileSystemTest, LinksAreReparsePointsThatAreNeverFollowedAway) {
    Host("C/Target/inside.txt");
    Host("C/real.txt");
    fs::create_directory_symlink(dir_ / "drives/C/Target", dir_ / "drives/C/FolderLink");
    fs::create_symlink(dir_ / "drives/C/real.txt", dir_ / "drives/C/FileLink");

    std::uint32_t attributes = 0;
    ASSERT_EQ(Attributes("C:\\folderlink", attributes), kOk);
    EXPECT_EQ(attributes & (kAttrReparsePoint | kAttrDirectory), kAttrReparsePoint | kAttrDirectory);
    ASSERT_EQ(Attributes("C:\\filelink", attributes), kOk);
    EXPECT_EQ(attributes & (kAttrReparsePoint | kAttrDirectory), kAttrReparsePoint);
    for (const FindData& entry : FindAll("C:\\*link")) {
        EXPECT_TRUE(entry.attributes & kAttrReparsePoint) << entry.name;
        EXPECT_EQ(entry.size, 0u);
    }

    EXPECT_EQ(Files().DeleteFile("C:\\FolderLink"), kAccessDenied);
    EXPECT_EQ(Files().RemoveDirectory("C:\\FolderLink"), kOk);
    EXPECT_EQ(Files().DeleteFile("C:\\FileLink"), kOk);
    EXPECT_TRUE(fs::exists(dir_ / "drives/C/Target/inside.txt"));
    EXPECT_TRUE(fs::exists(dir_ / "drives/C/real.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir_ / "drives/C/FolderLink")));
}

TEST_F(SimFileSystemTest, DrivesFollowTheConfiguration) {
    EXPECT_EQ(Files().GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 4));
    const std::pair<const char*, std::uint32_t> types[] = {
        {"C:\\", kDriveFixed},
        {"c:", kDriveFixed},
        {"D:\\", kDriveCdrom},
        {"E:/", kDriveRemovable},
        {"M:\\", kDriveNoRootDir},
        {"Q:\\", kDriveNoRootDir},
        {"C:\\Windows", kDriveNoRootDir},
    };
    for (const auto& [root, type] : types)
        EXPECT_EQ(Files().GetDriveType(root), type) << root;

    std::uint32_t attributes = 0;
    EXPECT_EQ(Attributes("D:\\setup.exe", attributes), kNotReady);  // a cdrom drive without a disc
    EXPECT_EQ(Attributes("E:\\README.TXT", attributes), kOk);
    EXPECT_EQ(Attributes("Q:\\x", attributes), kPathNotFound);
    std::uint64_t freeBytes = 0;
    std::uint64_t totalBytes = 0;
    ASSERT_EQ(Files().GetDiskFreeSpace("C:\\", freeBytes, totalBytes), kOk);
    EXPECT_EQ(freeBytes, 400u);
    EXPECT_EQ(totalBytes, 1000u);
    EXPECT_EQ(Files().GetDiskFreeSpace("D:\\", freeBytes, totalBytes), kNotReady);
    EXPECT_EQ(freeBytes, 400u);
}

TEST_F(SimFileSystemTest, MovesAcrossDrivesNeedCopyAllowed) {
    Host("C/file.txt", "data");
    EXPECT_EQ(Files().MoveFile("C:\\file.txt", "E:\\file.txt", 0), 17u);  // ERROR_NOT_SAME_DEVICE
    ASSERT_EQ(Files().MoveFile("C:\\file.txt", "E:\\file.txt", kMoveCopyAllowed), kOk);
    EXPECT_TRUE(fs::exists(dir_ / "drives/E/file.txt"));
    EXPECT_FALSE(fs::exists(dir_ / "drives/C/file.txt"));
}

TEST_F(SimFileSystemTest, DelayedMovesAppendToThePendingList) {
    const char* keyPath = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    auto& values = registry_.Key(kLocalMachine, keyPath);
    using namespace std::string_literals;
    std::string before = "\\??\\C:\\old\0\0\0"s;
    values["PENDINGFILERENAMEOPERATIONS"] = {kRegMultiSz, Bytes(before.begin(), before.end())};

    EXPECT_EQ(Files().MoveFile("C:/Temp/./x/../a.tmp", "c:\\Keep\\B.tmp",
                               kMoveDelayUntilReboot | kMoveReplaceExisting),
              kOk);
    EXPECT_EQ(Files().MoveFile("C:\\Temp\\gone.tmp", "", kMoveDelayUntilReboot), kOk);
    EXPECT_EQ(Files().MoveFile("C:\\a", "C:\\b", kMoveDelayUntilReboot | kMoveCopyAllowed),
              kInvalidParameter);
    EXPECT_EQ(registry_.OpenCount(), 0u);

    std::string expected = "\\??\\C:\\old\0\0"s + "\\??\\C:\\Temp\\a.tmp\0!\\??\\c:\\Keep\\B.tmp\0"s +
                           "\\??\\C:\\Temp\\gone.tmp\0\0"s + '\0';
    const auto& [type, data] = values["PENDINGFILERENAMEOPERATIONS"];
    EXPECT_EQ(type, kRegMultiSz);
    EXPECT_EQ(std::string(data.begin(), data.end()), expected);
}

}  // namespace
}  // namespace brisko::platform::sim
