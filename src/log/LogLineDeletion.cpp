#include "log/LogLineDeletion.h"

#include "log/LogFileText.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

std::string ErrorText(int error)
{
    return std::strerror(-error);
}

// Start and end (after its LF, or the end of the text) of line `lineNumber`; false when the
// text has fewer lines.
bool FindLine(std::string_view text, size_t lineNumber, size_t& start, size_t& end)
{
    start = 0;
    for (size_t line = 1; line < lineNumber; ++line) {
        const size_t lineFeed = text.find('\n', start);
        if (lineFeed == std::string_view::npos)
            return false;
        start = lineFeed + 1;
    }
    if (start >= text.size())
        return false;
    const size_t lineFeed = text.find('\n', start);
    end = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
    return true;
}

int WriteAll(LogFileSystem& fs, int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const long long n = fs.Write(fd, bytes.data(), bytes.size());
        if (n < 0)
            return static_cast<int>(n);
        if (n == 0)
            return -EIO;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

// A new file beside `path` that no one else uses; its descriptor, or -errno.
int CreateTemporary(LogFileSystem& fs, const std::string& path, std::string& temporary)
{
    const std::filesystem::path target(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = (target.parent_path()
                     / ("." + target.filename().string() + ".deleting-" + std::to_string(::getpid()) + "-"
                        + std::to_string(attempt)))
                        .string();
        const int fd = fs.Open(temporary, O_WRONLY | O_CREAT | O_EXCL);
        if (fd != -EEXIST)
            return fd;
    }
    return -EEXIST;
}

// Writes `head` and `tail` into a temporary file and renames it over `path`; 0 or -errno. The
// original is left untouched unless the rename happened.
int Replace(LogFileSystem& fs, const std::string& path, std::string_view head, std::string_view tail,
            qint64 expectedSize, bool& changedMeanwhile)
{
    std::string temporary;
    const int fd = CreateTemporary(fs, path, temporary);
    if (fd < 0)
        return fd;
    int result = WriteAll(fs, fd, head);
    if (result == 0)
        result = WriteAll(fs, fd, tail);
    if (result == 0)
        result = fs.DataSync(fd);
    const int closed = fs.Close(fd);
    if (result == 0)
        result = closed;
    if (result == 0) {
        // The copy keeps the log's permissions; failing that it keeps the defaults.
        QFile::setPermissions(QFile::decodeName(QByteArray::fromStdString(temporary)),
                              QFile::permissions(QFile::decodeName(QByteArray::fromStdString(path))));
        // A record appended by another program since the file was read would be lost.
        const int check = fs.Open(path, O_RDONLY);
        if (check < 0) {
            result = check;
        } else {
            changedMeanwhile = fs.Size(check) != expectedSize;
            fs.Close(check);
        }
    }
    if (result == 0 && !changedMeanwhile)
        result = fs.Rename(temporary, path);
    if (result != 0 || changedMeanwhile)
        fs.Remove(temporary);
    return result;
}

} // namespace

LineDeletionResult DeleteLogLine(const std::string& path, size_t lineNumber,
                                 const std::function<bool(std::string_view)>& isTheLine, LogFileSystem& fs,
                                 LogChangeObserver* observer)
{
    LineDeletionResult result;
    QString readError;
    const std::optional<QByteArray> bytes = ReadLogFile(path, &readError);
    if (!bytes) {
        result.error = readError.toLocal8Bit().toStdString();
        return result;
    }
    const std::string_view text = BytesView(*bytes);
    size_t start = 0;
    size_t end = 0;
    if (lineNumber < 2 || !FindLine(text, lineNumber, start, end) || !isTheLine(text.substr(start, end - start))) {
        result.outcome = LineDeletion::NotIdentified;
        return result;
    }

    bool changedMeanwhile = false;
    const int replaced = Replace(fs, path, text.substr(0, start), text.substr(end), bytes->size(), changedMeanwhile);
    if (changedMeanwhile) {
        result.outcome = LineDeletion::NotIdentified;
        return result;
    }
    if (replaced != 0) {
        result.error = ErrorText(replaced);
        return result;
    }
    result.outcome = LineDeletion::Deleted;
    if (observer) {
        std::string_view line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.remove_suffix(1);
        observer->LineDeleted(path, lineNumber, std::string(line));
    }
    if (const int synced = fs.SyncFolder(FolderOf(path)); synced != 0)
        result.error = ErrorText(synced);
    return result;
}
