#include "log/LogFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
};

} // namespace

LogFileSystem& PosixLogFileSystem()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}

std::string FolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}
