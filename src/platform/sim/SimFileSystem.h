// The simulated machine's file system: each configured drive X is the host folder drives/X of the
// machine folder, and Windows paths are resolved onto it without regard to case, keeping the case of the
// names on disk and giving new names the case they are created with.
//
// What a host file system cannot hold is simulated beside it: the DOS attributes (read-only, hidden,
// system, archive; kept in file-attributes.txt of the machine folder), files that another process holds
// open (MachineConfig::lockedFiles: kSharingViolation) and folders the user may not enter
// (MachineConfig::deniedPaths: kAccessDenied). A host symbolic link is a reparse point, reported and
// removed as one and never descended into by a directory search. A cdrom or removable drive without its
// folder has no medium in it (kNotReady). Moves delayed until the restart are recorded in the registry,
// in "PendingFileRenameOperations", as Windows records them.
//
// The simulation owns the machine folder while it runs: it keeps what it has read of folders up to date
// with its own changes, so a folder changed behind its back must be announced with ForgetFolder.
// Open files and searches must not outlive the file system that gave them.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/sim/AttributeStore.h"
#include "platform/sim/FolderListings.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/SimPath.h"

namespace brisko::platform::sim {

class SimFileSystem final : public FileSystem {
public:
    SimFileSystem(const MachineConfig& config, std::filesystem::path machineDir, Registry& registry);

    Status FindFirst(std::string_view pattern, FindHandle& handle, FindData& first) override;
    Status GetAttributes(std::string_view path, std::uint32_t& attributes) override;
    Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
    Status OpenFile(std::string_view path, std::uint32_t access, std::uint32_t share,
                    std::uint32_t disposition, FileHandle& file) override;
    Status DeleteFile(std::string_view path) override;
    Status CreateDirectory(std::string_view path) override;
    Status RemoveDirectory(std::string_view path) override;
    Status MoveFile(std::string_view from, std::string_view to, std::uint32_t flags) override;
    Status CopyFile(std::string_view from, std::string_view to, bool failIfExists) override;
    std::uint32_t GetLogicalDrives() override;
    std::uint32_t GetDriveType(std::string_view root) override;
    Status GetDiskFreeSpace(std::string_view root, std::uint64_t& freeBytes,
                            std::uint64_t& totalBytes) override;

    // The host path a Windows path resolves to (the real case of every existing name), for tests and
    // tools; false when the path is not on a drive with a folder or a parent folder is missing.
    bool HostPath(std::string_view path, std::filesystem::path& host);
    // Forgets what was read of a host folder (and below) after it was changed outside the simulation.
    void ForgetFolder(const std::filesystem::path& hostFolder);

    struct OpenRecord {
        std::uint32_t access = 0;
        std::uint32_t share = 0;
    };

private:
    friend class SimFile;

    // A path resolved onto the host: its parent folder exists; the leaf may or may not. Its strings are
    // reused when the same object resolves another path, so that a resolution allocates nothing once
    // they have grown.
    struct Resolved : PathParts {
        std::string host;        // host path, real case for every existing name
        std::size_t leafAt = 0;  // where the leaf starts in `host`; 0 for a root
        bool exists = false;
        bool isRoot = false;
        struct stat info {};  // lstat of `host` when it exists

        std::string_view HostParent() const { return std::string_view(host).substr(0, leafAt - 1); }
        // The real name when it exists, else as written.
        std::string_view RealLeaf() const { return std::string_view(host).substr(leafAt); }
    };

    struct Drive {
        DriveConfig config;
        std::string host;  // drives/X
        bool hasMedia = false;
    };

    // On failure `resolved` holds nothing of use; the callers return the status without reading it.
    Status Resolve(std::string_view path, Resolved& resolved);
    // Finds the real case of the names of a path that is not on the host as written; false when a
    // folder on the way is missing.
    bool ResolveCase(const Drive& drive, Resolved& resolved);
    const Drive* FindDrive(char letter) const;
    std::uint32_t AttributesOf(const Resolved& resolved) const;
    std::uint32_t AttributesOf(const std::string& key, const std::string& host,
                               const struct stat& info) const;
    bool IsDenied(std::string_view key) const;
    bool IsLocked(const std::string& key) const;
    bool IsReadOnly(const Resolved& resolved) const;
    // Whether every open handle on the file allows the access or sharing asked for.
    bool SharingAllows(const std::string& key, std::uint32_t access, std::uint32_t share) const;
    bool OpenersShareDelete(const std::string& key) const;
    void Register(const std::string& key, const OpenRecord* record);
    void Unregister(const OpenRecord* record);

    Status RecordDelayedMove(std::string_view from, std::string_view to, std::uint32_t flags);
    Status CopyResolved(const Resolved& source, const Resolved& target, bool failIfExists);

    void Added(const Resolved& resolved);
    void Removed(const Resolved& resolved);

    std::filesystem::path machineDir_;
    Registry& registry_;
    std::vector<Drive> drives_;
    std::vector<std::string> lockedKeys_;
    std::vector<std::string> deniedKeys_;
    FolderListings listings_;
    // Folded Windows path of a folder -> its host path, for the folders whose names were looked up.
    std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> folderHosts_;
    AttributeStore attributes_;
    std::multimap<std::string, const OpenRecord*> openFiles_;
    // The resolution of the last existence test, kept for its grown strings.
    Resolved query_;
};

}  // namespace brisko::platform::sim
