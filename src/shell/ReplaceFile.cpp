#include "shell/ReplaceFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string ErrorText(int error)
{
    return std::strerror(error);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file replaced through a symbolic link keeps the link: the link's target is rewritten.
std::string ResolveLink(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// The mode the new file gets: the old file's, else what a newly created file would get.
mode_t NewFileMode(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// 0, or the errno of the failed write.
int WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

} // namespace

std::optional<bool> PathExists(const std::string& path, std::string& error)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return true;
    if (errno == ENOENT || errno == ENOTDIR)
        return false;
    error = ErrorText(errno);
    return std::nullopt;
}

std::optional<std::string> ReplaceFile(const std::string& path, const std::string& bytes)
{
    const std::string target = ResolveLink(path);
    const std::string folder = FolderOf(target);
    std::string tempPath = target + ".XXXXXX";
    std::vector<char> name(tempPath.begin(), tempPath.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return ErrorText(errno);
    tempPath = name.data();

    auto fail = [&tempPath](int error, int openFd) -> std::optional<std::string> {
        if (openFd >= 0)
            ::close(openFd);
        ::unlink(tempPath.c_str());
        return ErrorText(error);
    };
    if (::fchmod(fd, NewFileMode(target)) != 0)
        return fail(errno, fd);
    if (const int error = WriteAll(fd, bytes))
        return fail(error, fd);
    if (::fsync(fd) != 0)
        return fail(errno, fd);
    if (::close(fd) != 0)
        return fail(errno, -1);
    if (::rename(tempPath.c_str(), target.c_str()) != 0)
        return fail(errno, -1);
    // The new name is only durable once the folder is synced; the data already is.
    if (const int error = SyncFolder(folder))
        return ErrorText(error);
    return std::nullopt;
}
