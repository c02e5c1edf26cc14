#include "settings/SettingsFileBytes.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString TooLarge(const QString& path)
{
    return QStringLiteral("%1 is larger than 1 MiB, far more than any settings file; give the path of a settings file")
        .arg(path);
}

QString FormProblem(const QString& path, const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("%1 is a folder, not a settings file").arg(path);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("%1 is not a regular file (a FIFO, device or socket cannot hold the settings); "
                              "give the path of a settings file")
            .arg(path);
    if (st.st_size > kLargestSettingsFile)
        return TooLarge(path);
    return QString();
}

} // namespace

SettingsFileBytes ReadSettingsFile(const QString& path)
{
    SettingsFileBytes file;
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return file;
        file.exists = true;
        file.problem = error == ELOOP ? QStringLiteral("%1 is a symbolic link that leads round in a loop; point it "
                                                       "at the settings file or give that file's own path")
                                            .arg(path)
                                      : QStringLiteral("%1 cannot be read: %2").arg(path, ErrnoText(error));
        return file;
    }
    file.exists = true;
    file.problem = FormProblem(path, st);
    if (!file.problem.isEmpty())
        return file;

    // Looked at again once open: the name may have been given to something else meanwhile.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.problem = QStringLiteral("%1 cannot be read: %2").arg(path, ErrnoText(errno));
        return file;
    }
    file.problem = ::fstat(fd, &st) != 0 ? QStringLiteral("%1 cannot be read: %2").arg(path, ErrnoText(errno))
                                         : FormProblem(path, st);
    if (!file.problem.isEmpty()) {
        ::close(fd);
        return file;
    }
    file.bytes.resize(kLargestSettingsFile + 1);
    qsizetype done = 0;
    while (done < file.bytes.size()) {
        const ssize_t n = ::read(fd, file.bytes.data() + done, static_cast<size_t>(file.bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            file.problem = QStringLiteral("%1 cannot be read: %2").arg(path, ErrnoText(errno));
            break;
        }
        if (n == 0)
            break;
        done += n;
    }
    ::close(fd);
    file.bytes.truncate(done);
    if (file.problem.isEmpty() && done > kLargestSettingsFile)
        file.problem = TooLarge(path); // it grew since it was looked at
    if (file.bytes.startsWith("\xEF\xBB\xBF")) {
        file.byteOrderMark = true;
        file.bytes.remove(0, 3);
    }
    return file;
}
