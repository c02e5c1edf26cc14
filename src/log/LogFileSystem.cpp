#include "log/LogFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Fill(const struct stat& st, LogFileFacts& facts)
{
    facts.device = static_cast<unsigned long long>(st.st_dev);
    facts.inode = static_cast<unsigned long long>(st.st_ino);
    facts.mode = static_cast<unsigned>(st.st_mode);
    facts.owner = static_cast<unsigned>(st.st_uid);
    facts.group = static_cast<unsigned>(st.st_gid);
    facts.size = static_cast<long long>(st.st_size);
}

class PosixFileSystem final : public LogFileSystem {
public:
    int Open(const std::string& path, int flags) override
    {
        int fd;
        do {
            fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? -errno : fd;
    }

    long long Size(int fd) override
    {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return -errno;
        return static_cast<long long>(st.st_size);
    }

    long long Write(int fd, const char* data, size_t size) override
    {
        ssize_t n;
        do {
            n = ::write(fd, data, size);
        } while (n < 0 && errno == EINTR);
        return n < 0 ? -errno : static_cast<long long>(n);
    }

    int DataSync(int fd) override { return ::fdatasync(fd) == 0 ? 0 : -errno; }

    int Truncate(int fd, long long size) override
    {
        return ::ftruncate(fd, static_cast<off_t>(size)) == 0 ? 0 : -errno;
    }

    // A close interrupted by a signal has still released the descriptor on Linux; never retry.
    int Close(int fd) override { return ::close(fd) == 0 ? 0 : -errno; }

    int SyncFolder(const std::string& folder) override
    {
        const int fd = Open(folder, O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return fd;
        const int result = ::fsync(fd) == 0 ? 0 : -errno;
        ::close(fd);
        return result;
    }

    int Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 ? 0 : -errno; }

    int Exists(const std::string& path) override
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0)
            return 1;
        return errno == ENOENT ? 0 : -errno;
    }

    int Rename(const std::string& from, const std::string& to) override
    {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : -errno;
    }

    int Stat(int fd, LogFileFacts& facts) override
    {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return -errno;
        Fill(st, facts);
        return 0;
    }

    int StatPath(const std::string& path, LogFileFacts& facts) override
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return -errno;
        Fill(st, facts);
        return 0;
    }

    int TryLock(int fd) override
    {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET; // start 0, length 0: the whole file, however long it grows
        int result;
        do {
            result = ::fcntl(fd, F_OFD_SETLK, &lock);
        } while (result != 0 && errno == EINTR);
        if (result == 0)
            return 0;
        return errno == EAGAIN || errno == EACCES ? kLockBusy : -errno;
    }

    long long ReadAt(int fd, char* data, size_t size, long long offset) override
    {
        ssize_t n;
        do {
            n = ::pread(fd, data, size, static_cast<off_t>(offset));
        } while (n < 0 && errno == EINTR);
        return n < 0 ? -errno : static_cast<long long>(n);
    }

    int TakeModeAndOwner(int fd, const LogFileFacts& from) override
    {
        // Only root may give a file away; an ordinary user's copy keeps the user as owner.
        if (::fchown(fd, static_cast<uid_t>(from.owner), static_cast<gid_t>(from.group)) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(from.group));
        return ::fchmod(fd, static_cast<mode_t>(from.mode & 07777)) == 0 ? 0 : -errno;
    }
};

} // namespace

LogFileSystem& PosixLogFileSystem()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}

bool LogFileFacts::IsRegular() const
{
    return S_ISREG(static_cast<mode_t>(mode));
}

std::string LogErrorText(int error)
{
    if (error == kNotRegularFile)
        return "Not a regular file (a FIFO, device, socket or folder cannot hold the log)";
    if (error == kLockBusy)
        return "The log file is being changed by another station";
    return std::strerror(-error);
}

namespace {

// Where a chain of symbolic links ends when its last target does not exist; empty when `path` is
// no link, a loop, or ends in something that exists.
std::string DanglingLinkTarget(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path at(path);
    for (int hop = 0; hop < 40; ++hop) {
        if (!fs::is_symlink(fs::symlink_status(at, error)))
            return hop > 0 && !fs::exists(fs::symlink_status(at, error)) ? at.string() : std::string();
        const fs::path target = fs::read_symlink(at, error);
        if (error)
            return {};
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    return {};
}

} // namespace

int OpenRegularLog(LogFileSystem& fs, const std::string& path, bool create, bool& created)
{
    created = false;
    // Looked at before opening: opening a FIFO for writing without a reader fails or blocks.
    LogFileFacts facts;
    const int looked = fs.StatPath(path, facts);
    if (looked == 0 && !facts.IsRegular())
        return kNotRegularFile;
    if (looked != 0 && looked != -ENOENT)
        return looked;

    constexpr int kFlags = O_RDWR | O_APPEND | O_NONBLOCK;
    int fd = fs.Open(path, kFlags);
    if (fd == -ENOENT && create) {
        fd = fs.Open(path, kFlags | O_CREAT | O_EXCL);
        if (fd >= 0)
            created = true;
        else if (fd == -EEXIST)
            fd = fs.Open(path, kFlags);
        // A symbolic link to a file not made yet: O_EXCL never follows a link, so the file is
        // made where the link points, as the shell's >> would.
        if (fd == -ENOENT) {
            if (const std::string target = DanglingLinkTarget(path); !target.empty()) {
                fd = fs.Open(target, kFlags | O_CREAT | O_EXCL);
                if (fd >= 0)
                    created = true;
                else if (fd == -EEXIST)
                    fd = fs.Open(path, kFlags);
            }
        }
    }
    if (fd < 0)
        return fd == -EISDIR || fd == -ENXIO ? kNotRegularFile : fd;
    // The path may have been swapped between the look and the open.
    if (const int statted = fs.Stat(fd, facts); statted != 0 || !facts.IsRegular()) {
        fs.Close(fd);
        return statted != 0 ? statted : kNotRegularFile;
    }
    return fd;
}

int OpenAndLockLog(LogFileSystem& fs, const std::string& path, bool create, bool& created)
{
    // A rename over the file can only come from another station's deletion, each of which holds
    // the lock a few milliseconds: a handful of rounds is plenty.
    for (int round = 0; round < 8; ++round) {
        bool madeNow = false;
        const int fd = OpenRegularLog(fs, path, create, madeNow);
        if (fd < 0)
            return fd;
        created = created || madeNow;
        int result = fs.TryLock(fd);
        if (result == 0) {
            LogFileFacts mine;
            LogFileFacts named;
            result = fs.Stat(fd, mine);
            const int looked = result == 0 ? fs.StatPath(path, named) : result;
            if (looked == 0 && mine.SameFileAs(named))
                return fd;
            result = looked == 0 || looked == -ENOENT ? 0 : looked;
        }
        fs.Close(fd);
        if (result != 0)
            return result;
    }
    return kLockBusy;
}

std::string FolderOf(const std::string& path)
{
    // A file made through a symbolic link has its entry in the folder the link points into.
    std::error_code error;
    const std::filesystem::path real = std::filesystem::is_symlink(path, error)
                                           ? std::filesystem::weakly_canonical(path, error)
                                           : std::filesystem::path(path);
    const std::string folder = (error ? std::filesystem::path(path) : real).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}
