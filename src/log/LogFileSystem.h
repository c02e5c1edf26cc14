#pragma once
// The few file operations the log writer and the row deletion need, behind an interface so that tests can make any
// of them fail. Every call returns a negative errno value on failure.

#include <cstddef>
#include <string>

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
};

// The real file system.
LogFileSystem& PosixLogFileSystem();

// The folder a file lives in ("." for a bare name), whose entry is synced after creating it.
std::string FolderOf(const std::string& path);
