#pragma once
// The few file operations the log writer and the row deletion need, behind an interface so that tests can make any
// of them fail. Every call returns a negative errno value on failure.

#include <cstddef>
#include <string>

// What fstat/stat tell about a file, as far as the log needs it.
struct LogFileFacts {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    unsigned mode = 0; // type and permission bits, as st_mode
    unsigned owner = 0;
    unsigned group = 0;
    long long size = 0;

    bool IsRegular() const;
    bool SameFileAs(const LogFileFacts& other) const { return device == other.device && inode == other.inode; }
};

// Not an errno: the path names a FIFO, device, socket or folder, which never holds a log.
constexpr int kNotRegularFile = -100000;
// Not an errno: another station holds the log's lock.
constexpr int kLockBusy = -100001;

class LogFileSystem {
public:
    virtual ~LogFileSystem() = default;

    // open(2) with the given flags (mode 0666 where a file is created); a descriptor or -errno.
    virtual int Open(const std::string& path, int flags) = 0;
    // Current length of the open file, or -errno.
    virtual long long Size(int fd) = 0;
    // One write(2): bytes written (possibly fewer than asked), or -errno.
    virtual long long Write(int fd, const char* data, size_t size) = 0;
    // fdatasync(2): 0 or -errno.
    virtual int DataSync(int fd) = 0;
    // ftruncate(2): 0 or -errno.
    virtual int Truncate(int fd, long long size) = 0;
    // close(2): 0 or -errno.
    virtual int Close(int fd) = 0;
    // Makes a folder's entries durable (open the folder, fsync, close): 0 or -errno.
    virtual int SyncFolder(const std::string& folder) = 0;
    // unlink(2): 0 or -errno.
    virtual int Remove(const std::string& path) = 0;
    // Whether `path` names anything: 1 it does, 0 it does not, or -errno when that cannot be
    // told (a path through a file, no permission).
    virtual int Exists(const std::string& path) = 0;
    // rename(2), replacing `to` in one step: 0 or -errno.
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    // fstat(2) of an open file: 0 or -errno.
    virtual int Stat(int fd, LogFileFacts& facts) = 0;
    // stat(2) of a path, links followed: 0 or -errno.
    virtual int StatPath(const std::string& path, LogFileFacts& facts) = 0;
    // A write lock on the whole file, owned by the open file (fcntl F_OFD_SETLK), taken without
    // waiting: 0, kLockBusy when another open file holds it, or -errno. Closing the descriptor
    // releases it.
    virtual int TryLock(int fd) = 0;
    // One pread(2): bytes read, or -errno.
    virtual long long ReadAt(int fd, char* data, size_t size, long long offset) = 0;
    // Gives the open file the mode (fchmod) and, where allowed, the owner (fchown) of `from`:
    // 0 or the -errno of the mode change.
    virtual int TakeModeAndOwner(int fd, const LogFileFacts& from) = 0;
};

// The real file system.
LogFileSystem& PosixLogFileSystem();

// The text of an error code of this interface.
std::string LogErrorText(int error);

// Opens the log at `path` for a change without ever blocking: refuses anything but a regular
// file (also behind a link) and opens with O_NONBLOCK, which only matters until the type is
// checked. `create`: a missing file is made (`created` tells). A descriptor or a negative code.
int OpenRegularLog(LogFileSystem& fs, const std::string& path, bool create, bool& created);

// Opens the log at `path` and takes its lock, again on the file now at the path when another
// station renamed a new file over it meanwhile (row deletion does), so that what is written
// goes to the file the path names. A locked descriptor, kLockBusy or a negative code.
int OpenAndLockLog(LogFileSystem& fs, const std::string& path, bool create, bool& created);

// The folder a file lives in ("." for a bare name), whose entry is synced after creating it.
std::string FolderOf(const std::string& path);
