#include "printing/TextFileOutput.h"

#include "log/FileModes.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string NamePart(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string WithTxt(const std::string& name, size_t dot)
{
    if (dot == std::string::npos)
        return name + ".txt";
    return name.substr(0, dot + 1) + "txt";
}

bool Fail(std::string* error, const std::string& what)
{
    if (error)
        *error = what + ": " + std::strerror(errno);
    return false;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::string TextFileTitle(const std::string& logFilePath)
{
    const std::string name = NamePart(logFilePath);
    return WithTxt(name, name.find_last_of('.'));
}

std::string ProposedTextFileName(const std::string& logFilePath)
{
    const std::string name = NamePart(logFilePath);
    return WithTxt(name, name.find('.'));
}

std::string JoinFolderAndName(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

bool WriteTextFileDurably(const std::string& givenPath, const std::string& bytes, std::string* error)
{
    // Through a link, the file it names is replaced and the link stays.
    const std::string path = LinkTarget(givenPath);
    const std::string folder = FolderPart(path);
    std::string temporary = JoinFolderAndName(folder, "." + NamePart(path) + ".XXXXXX");
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(error, path);
    // A replaced file keeps its mode (a private 0600 file stays private); a new one gets what
    // a plain open would give it.
    ::fchmod(fd, ModeForReplacement(path));

    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        errno = written ? errno : savedErrno;
        Fail(error, path);
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        Fail(error, path);
        ::unlink(temporary.c_str());
        return false;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return Fail(error, folder);
    const bool synced = ::fsync(dir) == 0;
    const int syncErrno = errno;
    ::close(dir);
    errno = syncErrno;
    return synced || Fail(error, folder);
}
