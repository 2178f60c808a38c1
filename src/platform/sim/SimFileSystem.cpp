#include "platform/sim/SimFileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/PathText.h"
#include "platform/Text.h"

namespace brisko::platform::sim {

namespace {

constexpr Status kNotSameDevice = 17;      // ERROR_NOT_SAME_DEVICE
constexpr Status kDirectoryInvalid = 267;  // ERROR_DIRECTORY: a folder was expected

// The attributes SetFileAttributesA can change; the others describe what a file is.
constexpr std::uint32_t kSettable = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive |
                                    kAttrTemporary | 0x1000 /* offline */ | 0x2000 /* not content indexed */;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kFileReadData = 0x1;
constexpr std::uint32_t kFileWriteData = 0x2;
constexpr std::uint32_t kFileAppendData = 0x4;

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";

bool WantsRead(std::uint32_t access) {
    return (access & (kGenericRead | kGenericAll | kFileReadData)) != 0;
}
bool WantsWrite(std::uint32_t access) {
    return (access & (kGenericWrite | kGenericAll | kFileWriteData | kFileAppendData)) != 0;
}

FileTime ToFileTime(const timespec& time) {
    constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
    std::int64_t seconds = static_cast<std::int64_t>(time.tv_sec) + kSecondsFrom1601To1970;
    if (seconds < 0) return 0;
    return static_cast<FileTime>(seconds) * 10000000ULL + static_cast<FileTime>(time.tv_nsec / 100);
}

// A folder, or a link to one: what Windows would call a directory.
bool IsFolder(const std::string& host, const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return true;
    if (!S_ISLNK(info.st_mode)) return false;
    struct stat target {};
    return ::stat(host.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
}

// The folder whose denial hides a path's entry: the root itself for a name in a root.
std::string_view ParentKey(std::string_view key) {
    std::size_t slash = key.rfind('\\');
    if (slash == std::string_view::npos || slash <= 2) return key.substr(0, 3);
    return key.substr(0, slash);
}

class SimFindCursor final : public FindCursor {
public:
    explicit SimFindCursor(std::vector<FindData> entries) : entries_(std::move(entries)) {}

    Status Next(FindData& data) override {
        if (next_ >= entries_.size()) return kNoMoreFiles;
        data = entries_[next_++];
        return kOk;
    }

private:
    std::vector<FindData> entries_;
    std::size_t next_ = 1;  // the first entry went out with FindFirst
};

// Owns one host file descriptor.
class UniqueFd {
public:
    explicit UniqueFd(int fd) noexcept : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const noexcept { return fd_; }

private:
    int fd_;
};

}  // namespace

// An open file: a host descriptor with the access it was opened for, registered with the file system so
// that other opens, deletions and moves see its sharing mode.
class SimFile final : public FileObject {
public:
    SimFile(SimFileSystem& files, const std::string& key, int fd, std::uint32_t access, std::uint32_t share)
        : files_(files), fd_(fd) {
        record_.access = access;
        record_.share = share;
        files_.Register(key, &record_);
    }
    ~SimFile() override { files_.Unregister(&record_); }

    Status Read(std::span<std::uint8_t> buffer, std::uint32_t& bytesRead) override {
        if (!WantsRead(record_.access)) return kAccessDenied;
        std::size_t total = 0;
        while (total < buffer.size()) {
            ssize_t got = ::read(fd_.Get(), buffer.data() + total, buffer.size() - total);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return kCantRead;
            if (got == 0) break;
            total += static_cast<std::size_t>(got);
        }
        bytesRead = static_cast<std::uint32_t>(total);
        return kOk;
    }

    Status Write(std::span<const std::uint8_t> data, std::uint32_t& bytesWritten) override {
        if (!WantsWrite(record_.access)) return kAccessDenied;
        std::size_t total = 0;
        while (total < data.size()) {
            ssize_t put = ::write(fd_.Get(), data.data() + total, data.size() - total);
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) return kCantWrite;
            total += static_cast<std::size_t>(put);
        }
        bytesWritten = static_cast<std::uint32_t>(total);
        return kOk;
    }

    Status Seek(std::uint64_t offset) override {
        if (offset > static_cast<std::uint64_t>(INT64_MAX)) return kInvalidParameter;
        return ::lseek(fd_.Get(), static_cast<off_t>(offset), SEEK_SET) < 0 ? kInvalidParameter : kOk;
    }

    Status GetSize(std::uint64_t& size) override {
        struct stat info {};
        if (::fstat(fd_.Get(), &info) != 0) return kInvalidHandle;
        size = static_cast<std::uint64_t>(info.st_size);
        return kOk;
    }

    Status Flush() override {
        if (!WantsWrite(record_.access)) return kAccessDenied;
        return ::fsync(fd_.Get()) == 0 ? kOk : kCantWrite;
    }

private:
    SimFileSystem& files_;
    UniqueFd fd_;
    SimFileSystem::OpenRecord record_;
};

SimFileSystem::SimFileSystem(const MachineConfig& config, std::filesystem::path machineDir,
                             Registry& registry)
    : machineDir_(std::move(machineDir)),
      registry_(registry),
      attributes_(machineDir_ / "file-attributes.txt") {
    for (const DriveConfig& drive : config.drives) {
        if (drive.type == kDriveNoRootDir || drive.type == kDriveUnknown) continue;
        Drive entry{drive, (machineDir_ / "drives" / std::string(1, FoldChar(drive.letter))).string()};
        if (drive.type == kDriveFixed || drive.type == kDriveRamdisk) {
            // A fixed disk always has its medium: an empty drive is an empty folder.
            std::error_code ec;
            std::filesystem::create_directories(entry.host, ec);
        }
        entry.config.letter = FoldChar(drive.letter);
        drives_.push_back(std::move(entry));
    }
    for (const std::string& path : config.lockedFiles) {
        std::string key = PathKey(path);
        if (!key.empty()) lockedKeys_.push_back(std::move(key));
    }
    for (const std::string& path : config.deniedPaths) {
        std::string key = PathKey(path);
        if (!key.empty()) deniedKeys_.push_back(std::move(key));
    }
}

const SimFileSystem::Drive* SimFileSystem::FindDrive(char letter) const {
    letter = FoldChar(letter);
    for (const Drive& drive : drives_) {
        if (drive.config.letter == letter) return &drive;
    }
    return nullptr;
}

Status SimFileSystem::Resolve(std::string_view path, Resolved& r) {
    if (!ParseWindowsPath(path, r)) return kPathNotFound;
    if (r.HasInvalidCharacters()) return kInvalidName;
    const Drive* drive = FindDrive(r.drive);
    if (drive == nullptr) return kPathNotFound;
    if (drive->config.type != kDriveFixed && drive->config.type != kDriveRamdisk) {
        struct stat media {};
        if (::stat(drive->host.c_str(), &media) != 0 || !S_ISDIR(media.st_mode)) return kNotReady;
    }
    r.host.assign(drive->host);
    r.isRoot = r.IsRoot();
    if (r.isRoot) {
        r.leafAt = 0;
        r.exists = ::stat(r.host.c_str(), &r.info) == 0;
        return kOk;
    }
    // A folder looked into before names the file's real case at no cost: one lstat settles it.
    std::string_view key(r.key);
    auto parent = folderHosts_.find(key.substr(0, key.rfind('\\')));
    const std::string* real = nullptr;
    if (parent != folderHosts_.end() && listings_.Find(parent->second, r.FoldedLeaf(), real)) {
        r.host.assign(parent->second);
        r.host += '/';
        r.leafAt = r.host.size();
        r.host += *real;
        r.exists = ::lstat(r.host.c_str(), &r.info) == 0;
        if (r.exists) {
            if (r.trailingSlash && !IsFolder(r.host, r.info)) return kPathNotFound;
            return kOk;
        }
        // Gone behind the simulation's back: forget the name and look again below.
        listings_.Removed(r.HostParent(), r.RealLeaf());
        r.host.assign(drive->host);
    }
    // Most paths are written in the case they have on disk: one lstat settles them.
    r.host += r.names;
    r.leafAt = r.host.size() - r.Leaf().size();
    r.exists = ::lstat(r.host.c_str(), &r.info) == 0;
    if (!r.exists && !ResolveCase(*drive, r)) return kPathNotFound;
    // "file.txt\" names a folder that cannot exist.
    if (r.trailingSlash && r.exists && !IsFolder(r.host, r.info)) return kPathNotFound;
    return kOk;
}

bool SimFileSystem::ResolveCase(const Drive& drive, Resolved& r) {
    // The parent folder by the case-free names already walked, else name by name. The names are looked
    // up by their folded form, which is where they sit in the key.
    std::string_view key(r.key);
    std::string_view parentKey = key.substr(0, key.rfind('\\'));
    const std::string* real = nullptr;
    auto known = folderHosts_.find(parentKey);
    if (known != folderHosts_.end()) {
        r.host.assign(known->second);
    } else {
        r.host.assign(drive.host);
        std::size_t start = 3;  // after "C:\"
        while (start < parentKey.size()) {
            std::size_t end = std::min(key.find('\\', start), parentKey.size());
            if (listings_.Lookup(r.host, key.substr(start, end - start), real) !=
                FolderListings::Result::kFound)
                return false;
            r.host += '/';
            r.host += *real;
            start = end + 1;
        }
    }
    auto found = listings_.Lookup(r.host, r.FoldedLeaf(), real);
    if (found == FolderListings::Result::kNotAFolder) return false;
    if (known == folderHosts_.end()) folderHosts_.emplace(parentKey, r.host);
    r.leafAt = r.host.size() + 1;
    r.host += '/';
    r.host += found == FolderListings::Result::kFound ? std::string_view(*real) : r.Leaf();
    r.exists = found == FolderListings::Result::kFound && ::lstat(r.host.c_str(), &r.info) == 0;
    // Gone behind the simulation's back: forget the name.
    if (found == FolderListings::Result::kFound && !r.exists) listings_.Removed(r.HostParent(), r.RealLeaf());
    return true;
}

bool SimFileSystem::HostPath(std::string_view path, std::filesystem::path& host) {
    Resolved resolved;
    if (Resolve(path, resolved) != kOk) return false;
    host = resolved.host;
    return true;
}

void SimFileSystem::ForgetFolder(const std::filesystem::path& hostFolder) {
    folderHosts_.clear();
    listings_.Forget(hostFolder.string());
}

std::uint32_t SimFileSystem::AttributesOf(const std::string& key, const std::string& host,
                                          const struct stat& info) const {
    std::uint32_t stored = 0;
    bool has = attributes_.Find(key, stored);
    if (S_ISLNK(info.st_mode)) {
        return kAttrReparsePoint | (IsFolder(host, info) ? kAttrDirectory : 0) |
               (has ? stored & kSettable : 0);
    }
    if (S_ISDIR(info.st_mode)) return kAttrDirectory | (has ? stored & kSettable : 0);
    std::uint32_t attributes = has ? stored & kSettable : kAttrArchive;
    return attributes == 0 ? kAttrNormal : attributes;
}

std::uint32_t SimFileSystem::AttributesOf(const Resolved& resolved) const {
    return AttributesOf(resolved.key, resolved.host, resolved.info);
}

bool SimFileSystem::IsDenied(std::string_view key) const {
    if (deniedKeys_.empty()) return false;
    return std::any_of(deniedKeys_.begin(), deniedKeys_.end(),
                       [&](const std::string& denied) { return KeyIsWithin(key, denied); });
}

bool SimFileSystem::IsLocked(const std::string& key) const {
    return std::find(lockedKeys_.begin(), lockedKeys_.end(), key) != lockedKeys_.end();
}

bool SimFileSystem::IsReadOnly(const Resolved& resolved) const {
    return (AttributesOf(resolved) & kAttrReadOnly) != 0;
}

bool SimFileSystem::SharingAllows(const std::string& key, std::uint32_t access, std::uint32_t share) const {
    auto [begin, end] = openFiles_.equal_range(key);
    for (auto it = begin; it != end; ++it) {
        const OpenRecord& other = *it->second;
        if (WantsRead(access) && !(other.share & kShareRead)) return false;
        if (WantsWrite(access) && !(other.share & kShareWrite)) return false;
        if (WantsRead(other.access) && !(share & kShareRead)) return false;
        if (WantsWrite(other.access) && !(share & kShareWrite)) return false;
    }
    return true;
}

bool SimFileSystem::OpenersShareDelete(const std::string& key) const {
    auto [begin, end] = openFiles_.equal_range(key);
    return std::all_of(begin, end,
                       [](const auto& entry) { return (entry.second->share & kShareDelete) != 0; });
}

void SimFileSystem::Register(const std::string& key, const OpenRecord* record) {
    openFiles_.emplace(key, record);
}

void SimFileSystem::Unregister(const OpenRecord* record) {
    for (auto it = openFiles_.begin(); it != openFiles_.end(); ++it) {
        if (it->second == record) {
            openFiles_.erase(it);
            return;
        }
    }
}

void SimFileSystem::Added(const Resolved& resolved) {
    if (!resolved.isRoot) listings_.Added(resolved.HostParent(), resolved.RealLeaf());
}

void SimFileSystem::Removed(const Resolved& resolved) {
    if (resolved.isRoot) return;
    // A folder that goes away takes the paths known below it along; that is rare enough to forget all.
    if (!S_ISREG(resolved.info.st_mode)) folderHosts_.clear();
    listings_.Removed(resolved.HostParent(), resolved.RealLeaf());
    listings_.Forget(resolved.host);
}

Status SimFileSystem::FindFirst(std::string_view pattern, FindHandle& handle, FindData& first) {
    std::size_t slash = pattern.find_last_of("\\/");
    std::string folderText;
    std::string_view leaf;
    if (slash != std::string_view::npos) {
        folderText = pattern.substr(0, slash);
        leaf = pattern.substr(slash + 1);
    } else if (pattern.size() >= 2 && pattern[1] == ':') {
        folderText = pattern.substr(0, 2);
        leaf = pattern.substr(2);
    } else {
        return kPathNotFound;
    }
    if (leaf.empty()) return kFileNotFound;
    Resolved folder;
    if (Status status = Resolve(folderText, folder); status != kOk) return status;
    if (!folder.exists) return kPathNotFound;
    if (!IsFolder(folder.host, folder.info)) return kInvalidName;
    if (IsDenied(folder.key)) return kAccessDenied;

    auto entryOf = [&](const std::string& name, const std::string& key, const std::string& host,
                       const struct stat& info) {
        FindData data;
        data.name = name;
        data.attributes = AttributesOf(key, host, info);
        data.size = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
        data.creationTime = ToFileTime(info.st_mtim);
        data.lastAccessTime = ToFileTime(info.st_atim);
        data.lastWriteTime = ToFileTime(info.st_mtim);
        return data;
    };

    std::vector<FindData> entries;
    if (!folder.isRoot) {
        // Every folder but a root lists itself and its parent first, as NTFS does.
        struct stat self {};
        ::stat(folder.host.c_str(), &self);
        for (const char* dot : {".", ".."}) {
            if (!pathtext::MatchWildcard(leaf, dot)) continue;
            FindData data = entryOf(dot, folder.key, folder.host, self);
            data.attributes = kAttrDirectory;
            entries.push_back(std::move(data));
        }
    }
    std::string keyPrefix = folder.key;
    if (keyPrefix.back() != '\\') keyPrefix += '\\';
    std::vector<FindData> found;
    if (!pathtext::HasWildcards(leaf) && leaf != "." && leaf != "..") {
        Resolved one;
        std::string text = folderText + '\\' + std::string(leaf);
        if (Resolve(text, one) == kOk && one.exists && !one.isRoot) {
            found.push_back(entryOf(std::string(one.RealLeaf()), one.key, one.host, one.info));
        }
    } else {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder.host, ec), end; !ec && it != end;
             it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (!pathtext::MatchWildcard(leaf, name)) continue;
            std::string host = folder.host + '/' + name;
            struct stat info {};
            if (::lstat(host.c_str(), &info) != 0) continue;
            found.push_back(entryOf(name, keyPrefix + FoldCase(name), host, info));
        }
    }
    // NTFS hands names out in the order of their upper-case forms.
    std::sort(found.begin(), found.end(),
              [](const FindData& a, const FindData& b) { return CompareNoCase(a.name, b.name) < 0; });
    std::move(found.begin(), found.end(), std::back_inserter(entries));
    if (entries.empty()) return kFileNotFound;
    first = entries.front();
    handle = std::make_unique<SimFindCursor>(std::move(entries));
    return kOk;
}

Status SimFileSystem::GetAttributes(std::string_view path, std::uint32_t& attributes) {
    // Existence tests are the most frequent calls of a scan: they resolve into kept strings.
    Resolved& resolved = query_;
    if (Status status = Resolve(path, resolved); status != kOk) return status;
    if (!resolved.isRoot && IsDenied(ParentKey(resolved.key))) return kAccessDenied;
    if (!resolved.exists) return kFileNotFound;
    attributes = AttributesOf(resolved);
    return kOk;
}

Status SimFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    Resolved resolved;
    if (Status status = Resolve(path, resolved); status != kOk) return status;
    if (!resolved.exists) return kFileNotFound;
    if (IsDenied(resolved.key)) return kAccessDenied;
    std::uint32_t value = attributes & kSettable;
    bool isFile = S_ISREG(resolved.info.st_mode);
    bool isDefault = isFile ? value == kAttrArchive : value == 0;
    bool saved = isDefault ? attributes_.Erase(resolved.key) : attributes_.Set(resolved.key, value);
    return saved ? kOk : kAccessDenied;
}

Status SimFileSystem::OpenFile(std::string_view path, std::uint32_t access, std::uint32_t share,
                               std::uint32_t disposition, FileHandle& file) {
    if (disposition < kCreateNew || disposition > kTruncateExisting) return kInvalidParameter;
    if (disposition == kTruncateExisting && !WantsWrite(access)) return kInvalidParameter;
    Resolved resolved;
    if (Status status = Resolve(path, resolved); status != kOk) return status;
    if (resolved.isRoot || IsDenied(resolved.key)) return kAccessDenied;

    bool read = WantsRead(access);
    bool write = WantsWrite(access);
    int flags = O_CLOEXEC | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
    if (resolved.exists) {
        if (IsFolder(resolved.host, resolved.info)) return kAccessDenied;
        if (IsLocked(resolved.key)) return kSharingViolation;
        if (disposition == kCreateNew) return kFileExists;
        bool truncate = disposition == kCreateAlways || disposition == kTruncateExisting;
        if ((write || truncate) && IsReadOnly(resolved)) return kAccessDenied;
        if (!SharingAllows(resolved.key, access, share)) return kSharingViolation;
        if (truncate) flags |= O_TRUNC;
    } else {
        if (disposition == kOpenExisting || disposition == kTruncateExisting) return kFileNotFound;
        if (resolved.trailingSlash) return kInvalidName;
        flags |= O_CREAT | O_EXCL;
    }
    int fd = ::open(resolved.host.c_str(), flags, 0644);
    if (fd < 0) return errno == ENOENT ? kPathNotFound : kAccessDenied;
    if (!resolved.exists) Added(resolved);
    file = std::make_unique<SimFile>(*this, resolved.key, fd, access, share);
    return kOk;
}

Status SimFileSystem::DeleteFile(std::string_view path) {
    Resolved resolved;
    if (Status status = Resolve(path, resolved); status != kOk) return status;
    if (!resolved.exists) return kFileNotFound;
    if (resolved.isRoot || IsDenied(resolved.key) || IsFolder(resolved.host, resolved.info))
        return kAccessDenied;
    if (IsLocked(resolved.key) || !OpenersShareDelete(resolved.key)) return kSharingViolation;
    if (IsReadOnly(resolved)) return kAccessDenied;
    if (::unlink(resolved.host.c_str()) != 0) return kAccessDenied;
    attributes_.Erase(resolved.key);
    Removed(resolved);
    return kOk;
}

Status SimFileSystem::CreateDirectory(std::string_view path) {
    Resolved resolved;
    if (Status status = Resolve(path, resolved); status != kOk) return status;
    if (resolved.exists) return kAlreadyExists;
    if (IsDenied(resolved.key)) return kAccessDenied;
    if (::mkdir(resolved.host.c_str(), 0755) != 0) return errno == EEXIST ? kAlreadyExists : kAccessDenied;
    Added(resolved);
    return kOk;
}

Status SimFileSystem::RemoveDirectory(std::string_view path) {
    Resolved resolved;
    if (Status status = Resolve(path, resolved); status != kOk) return status;
    if (!resolved.exists) return kFileNotFound;
    if (!IsFolder(resolved.host, resolved.info)) return kDirectoryInvalid;
    if (resolved.isRoot || IsDenied(resolved.key) || IsReadOnly(resolved)) return kAccessDenied;
    if (S_ISLNK(resolved.info.st_mode)) {
        // A link to a folder goes away alone; what it points to is not touched.
        if (::unlink(resolved.host.c_str()) != 0) return kAccessDenied;
    } else if (::rmdir(resolved.host.c_str()) != 0) {
        return (errno == ENOTEMPTY || errno == EEXIST) ? kDirNotEmpty : kAccessDenied;
    }
    attributes_.Erase(resolved.key);
    Removed(resolved);
    return kOk;
}

Status SimFileSystem::MoveFile(std::string_view from, std::string_view to, std::uint32_t flags) {
    if (flags & kMoveDelayUntilReboot) {
        if (flags & kMoveCopyAllowed) return kInvalidParameter;
        return RecordDelayedMove(from, to, flags);
    }
    Resolved source;
    if (Status status = Resolve(from, source); status != kOk) return status;
    if (!source.exists) return kFileNotFound;
    if (source.isRoot || IsDenied(source.key)) return kAccessDenied;
    if (IsLocked(source.key) || !OpenersShareDelete(source.key)) return kSharingViolation;
    Resolved target;
    if (Status status = Resolve(to, target); status != kOk) return status;
    if (target.isRoot || IsDenied(target.key)) return kAccessDenied;

    bool sourceIsFolder = S_ISDIR(source.info.st_mode);
    if (FoldChar(source.drive) != FoldChar(target.drive) && (sourceIsFolder || !(flags & kMoveCopyAllowed))) {
        return kNotSameDevice;
    }
    bool sameFile = target.exists && target.host == source.host;
    if (target.exists && !sameFile) {
        if (!(flags & kMoveReplaceExisting)) return kAlreadyExists;
        if (sourceIsFolder || IsFolder(target.host, target.info)) return kAccessDenied;
        if (IsLocked(target.key) || !OpenersShareDelete(target.key)) return kSharingViolation;
        if (IsReadOnly(target)) return kAccessDenied;
    }
    if (KeyIsWithin(target.key, source.key) && !sameFile) return kSharingViolation;

    // The moved file takes the name as it was written, also when only its case changes.
    Resolved moved = target;
    moved.host.resize(target.leafAt);
    moved.host += target.Leaf();
    if (target.exists && !sameFile) {
        if (::unlink(target.host.c_str()) != 0) return kAccessDenied;
        attributes_.Erase(target.key);
        Removed(target);
    }
    std::error_code ec;
    std::filesystem::rename(source.host, moved.host, ec);
    if (ec == std::errc::cross_device_link) {
        // Drives kept on different host file systems: the copy that MOVEFILE_COPY_ALLOWED permits.
        std::filesystem::copy(source.host, moved.host, std::filesystem::copy_options::recursive, ec);
        if (!ec) std::filesystem::remove_all(source.host, ec);
    }
    if (ec) return kAccessDenied;
    Removed(source);
    Added(moved);
    attributes_.MoveTree(source.key, moved.key);
    std::vector<std::pair<std::string, const OpenRecord*>> reopened;
    for (auto it = openFiles_.begin(); it != openFiles_.end();) {
        if (KeyIsWithin(it->first, source.key)) {
            reopened.emplace_back(moved.key + it->first.substr(source.key.size()), it->second);
            it = openFiles_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [key, record] : reopened)
        openFiles_.emplace(key, record);
    return kOk;
}

Status SimFileSystem::RecordDelayedMove(std::string_view from, std::string_view to, std::uint32_t flags) {
    // The session manager reads NT paths: "\??\" and the full path as written, and for a deletion an
    // empty target. "!" before the target lets the move replace a file.
    WindowsPath source;
    if (!ParseWindowsPath(from, source)) return kPathNotFound;
    std::string entry = "\\??\\" + source.Text();
    entry += '\0';
    if (!to.empty()) {
        WindowsPath target;
        if (!ParseWindowsPath(to, target)) return kPathNotFound;
        if (flags & kMoveReplaceExisting) entry += '!';
        entry += "\\??\\" + target.Text();
    }
    entry += '\0';

    RegKey key;
    if (Status status =
            registry_.CreateKey(kLocalMachine, kSessionManager, kKeyQueryValue | kKeySetValue, key);
        status != kOk) {
        return status;
    }
    ValueType type = kRegNone;
    Bytes data;
    std::uint32_t needed = 0;
    Status status = registry_.QueryValue(key.Get(), kPendingRenames, 4096, type, data, &needed);
    if (status == kMoreData) status = registry_.QueryValue(key.Get(), kPendingRenames, needed, type, data);
    if (status == kFileNotFound) {
        data.clear();
    } else if (status != kOk) {
        return status;
    }
    // The list ends with an empty string; the new pair goes before it.
    if (!data.empty() && data.back() == 0 && (data.size() == 1 || data[data.size() - 2] == 0))
        data.pop_back();
    data.insert(data.end(), entry.begin(), entry.end());
    data.push_back(0);
    return registry_.SetValue(key.Get(), kPendingRenames, kRegMultiSz, data);
}

Status SimFileSystem::CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    Resolved source;
    if (Status status = Resolve(from, source); status != kOk) return status;
    if (!source.exists) return kFileNotFound;
    if (source.isRoot || IsDenied(source.key) || IsFolder(source.host, source.info)) return kAccessDenied;
    if (IsLocked(source.key) || !SharingAllows(source.key, kGenericRead, kShareRead))
        return kSharingViolation;
    Resolved target;
    if (Status status = Resolve(to, target); status != kOk) return status;
    if (target.isRoot || IsDenied(target.key)) return kAccessDenied;
    return CopyResolved(source, target, failIfExists);
}

Status SimFileSystem::CopyResolved(const Resolved& source, const Resolved& target, bool failIfExists) {
    if (target.exists) {
        if (failIfExists) return kFileExists;
        if (IsFolder(target.host, target.info)) return kAccessDenied;
        if (target.host == source.host || IsLocked(target.key) ||
            !SharingAllows(target.key, kGenericWrite, 0)) {
            return kSharingViolation;
        }
        if (IsReadOnly(target)) return kAccessDenied;
    }
    std::error_code ec;
    std::filesystem::copy_file(source.host, target.host, std::filesystem::copy_options::overwrite_existing,
                               ec);
    if (ec) return kAccessDenied;
    // Like CopyFileA: the copy keeps the original's last-write time and attributes, and is to be archived.
    auto written = std::filesystem::last_write_time(source.host, ec);
    if (!ec) std::filesystem::last_write_time(target.host, written, ec);
    std::uint32_t stored = 0;
    if (attributes_.Find(source.key, stored)) {
        attributes_.Set(target.key, stored | kAttrArchive);
    } else {
        attributes_.Erase(target.key);
    }
    if (!target.exists) Added(target);
    return kOk;
}

std::uint32_t SimFileSystem::GetLogicalDrives() {
    std::uint32_t mask = 0;
    for (const Drive& drive : drives_)
        mask |= 1u << (drive.config.letter - 'A');
    return mask;
}

std::uint32_t SimFileSystem::GetDriveType(std::string_view root) {
    bool isRoot = root.size() >= 2 && root[1] == ':' &&
                  (root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/')));
    if (!isRoot) return kDriveNoRootDir;
    const Drive* drive = FindDrive(root[0]);
    return drive == nullptr ? kDriveNoRootDir : drive->config.type;
}

Status SimFileSystem::GetDiskFreeSpace(std::string_view root, std::uint64_t& freeBytes,
                                       std::uint64_t& totalBytes) {
    Resolved resolved;
    if (Status status = Resolve(root, resolved); status != kOk) return status;
    if (!resolved.exists || !IsFolder(resolved.host, resolved.info)) return kPathNotFound;
    const Drive* drive = FindDrive(resolved.drive);
    freeBytes = drive->config.freeBytes;
    totalBytes = drive->config.totalBytes;
    return kOk;
}

}  // namespace brisko::platform::sim
