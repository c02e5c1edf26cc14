#include "settings/ReplaceFile.h"

#include "log/FileModes.h"

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
    const std::string target = LinkTarget(path);
    const std::string folder = FolderOf(target);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    std::string tempPath = target + ".XXXXXX";
    std::vector<char> name(tempPath.begin(), tempPath.end());
    name.push_back('\0');
    // mkostemp creates with O_EXCL in the same folder, so the rename stays on one file system.
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return ErrorText(errno);
    tempPath = name.data();

    auto fail = [&tempPath](int error, int openFd) -> std::optional<std::string> {
        if (openFd >= 0)
            ::close(openFd);
        ::unlink(tempPath.c_str());
        return ErrorText(error);
    };
    // The file keeps its owner where that is allowed (root replacing another user's file).
    if (replacing)
        (void)::fchown(fd, old.st_uid, old.st_gid);
    if (::fchmod(fd, ModeForReplacement(target)) != 0)
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
