#pragma once
// The real file system with failures on demand: a disk that fills after N more bytes, writes
// that take only a few bytes at a time, syncs that fail, opens that are refused.

#include "log/LogFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <utility>

class FakeLogFileSystem final : public LogFileSystem {
public:
    long long writeBudget = -1; // bytes still accepted; negative: no limit
    int writeError = -ENOSPC;   // given once the budget is used up
    size_t maxChunk = 0;        // most bytes one write takes; 0: all
    int syncError = 0;
    int folderSyncError = 0;
    int createError = 0; // refuses opens that would create a file
    int folderSyncs = 0;
    int renameError = 0;
    bool lockBusy = false; // another station holds the lock
    // Runs once right after the next lock is taken (another station renaming a new file over
    // the log at that moment, for example).
    std::function<void()> afterLock;

    void Heal()
    {
        writeBudget = -1;
        syncError = 0;
        folderSyncError = 0;
        createError = 0;
    }

    int Open(const std::string& path, int flags) override
    {
        if (createError != 0 && (flags & O_CREAT))
            return createError;
        return real_.Open(path, flags);
    }
    long long Size(int fd) override { return real_.Size(fd); }
    long long Write(int fd, const char* data, size_t size) override
    {
        if (maxChunk != 0)
            size = std::min(size, maxChunk);
        if (writeBudget >= 0) {
            if (writeBudget == 0)
                return writeError;
            size = std::min(size, static_cast<size_t>(writeBudget));
        }
        const long long n = real_.Write(fd, data, size);
        if (n > 0 && writeBudget >= 0)
            writeBudget -= n;
        return n;
    }
    int DataSync(int fd) override { return syncError != 0 ? syncError : real_.DataSync(fd); }
    int Truncate(int fd, long long size) override { return real_.Truncate(fd, size); }
    int Close(int fd) override { return real_.Close(fd); }
    int SyncFolder(const std::string& folder) override
    {
        ++folderSyncs;
        return folderSyncError != 0 ? folderSyncError : real_.SyncFolder(folder);
    }
    int Remove(const std::string& path) override { return real_.Remove(path); }
    int Exists(const std::string& path) override { return real_.Exists(path); }
    int Rename(const std::string& from, const std::string& to) override
    {
        return renameError != 0 ? renameError : real_.Rename(from, to);
    }

    int Stat(int fd, LogFileFacts& facts) override { return real_.Stat(fd, facts); }
    int StatPath(const std::string& path, LogFileFacts& facts) override { return real_.StatPath(path, facts); }
    int TryLock(int fd) override
    {
        if (lockBusy)
            return kLockBusy;
        const int result = real_.TryLock(fd);
        if (result == 0 && afterLock)
            std::exchange(afterLock, nullptr)();
        return result;
    }
    long long ReadAt(int fd, char* data, size_t size, long long offset) override
    {
        return real_.ReadAt(fd, data, size, offset);
    }
    int TakeModeAndOwner(int fd, const LogFileFacts& from) override { return real_.TakeModeAndOwner(fd, from); }

private:
    LogFileSystem& real_ = PosixLogFileSystem();
};
