#include "database/DurableFile.h"

#include "log/LogFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int ReplaceFileDurably(const std::string& path, const std::string& bytes)
{
    LogFileSystem& fs = PosixLogFileSystem();
    const std::string temporary = path + ".new";
    fs.Remove(temporary); // a leftover of a crash
    const int fd = fs.Open(temporary, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0)
        return fd;
    int result = 0;
    size_t done = 0;
    while (result == 0 && done < bytes.size()) {
        const long long n = fs.Write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            result = n < 0 ? static_cast<int>(n) : -EIO;
        else
            done += static_cast<size_t>(n);
    }
    if (result == 0)
        result = fs.DataSync(fd);
    const int closed = fs.Close(fd);
    if (result == 0)
        result = closed;
    if (result == 0)
        result = fs.Rename(temporary, path);
    if (result != 0) {
        fs.Remove(temporary);
        return result;
    }
    return fs.SyncFolder(FolderOf(path));
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            return n == 0;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
}
