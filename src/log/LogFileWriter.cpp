#include "log/LogFileWriter.h"

#include "log/LogRecordFormat.h"
#include "resources/StringTable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>

namespace {

bool IsPathNotFound(int error)
{
    return error == -ENOENT || error == -ENOTDIR;
}

std::string FailureText(int error, const std::string& path)
{
    return std::string(std::strerror(-error)) + "\r\n" + path + " "
           + ResourceString(IsPathNotFound(error) ? 1207 : 1208);
}

} // namespace

LogFileWriter::LogFileWriter(LogFileSystem& fileSystem)
    : fs_(fileSystem)
{}

LogWriteOutcome LogFileWriter::WriteLogRecord(const CarcassMeasurement& record, const std::string& path)
{
    if (path.empty())
        return {};
    const size_t earlier = pending_.size();
    std::string line = LogLineFor(record);
    if (!line.empty())
        pending_.push_back({std::move(line), record.alertText.empty()});
    LogWriteOutcome outcome = Flush(path, true);
    if (outcome.written)
        outcome.recovered = earlier;
    return outcome;
}

bool LogFileWriter::RetryPending(const std::string& path)
{
    if (pending_.empty())
        return true;
    if (path.empty())
        return false;
    return Flush(path, false).written;
}

LogWriteOutcome LogFileWriter::Flush(const std::string& path, bool fromRecord)
{
    LogWriteOutcome outcome;
    const int error = Append(path, pending_);
    if (error == 0) {
        if (observer_ && !pending_.empty()) {
            std::vector<std::string> lines;
            lines.reserve(pending_.size());
            for (const Line& line : pending_)
                lines.push_back(line.bytes.substr(0, line.bytes.size() - 2)); // without CR LF
            observer_->LinesAppended(path, lines);
        }
        outcome.written = true;
        outcome.recovered = pending_.size();
        pending_.clear();
        faultShown_ = false;
        return outcome;
    }

    outcome.text = FailureText(error, path);
    outcome.pathNotFound = IsPathNotFound(error);
    // A timer's retry tells no one, so it must not mark a new kind of fault as shown.
    if (fromRecord) {
        outcome.report = !faultShown_ || error != shownError_ || path != shownPath_;
        faultShown_ = true;
        shownError_ = error;
        shownPath_ = path;
    }
    return outcome;
}

int LogFileWriter::WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const long long n = fs_.Write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0)
            return static_cast<int>(n);
        if (n == 0)
            return -EIO; // no progress and no reason given
        done += static_cast<size_t>(n);
    }
    return 0;
}

int LogFileWriter::Append(const std::string& path, const std::vector<Line>& lines)
{
    bool mayCreate = false;
    for (const Line& line : lines)
        mayCreate = mayCreate || line.mayCreateFile;
    if (lines.empty())
        mayCreate = true; // a record without a line still gives a new file its header

    if (!mayCreate) {
        // Alert lines go only into an existing file: a file that has been deleted behind the
        // station's back is not silently recreated for a lone alert line.
        const int probe = fs_.Open(path, O_RDONLY);
        if (probe < 0)
            return probe;
        fs_.Close(probe);
    }

    bool created = false;
    int fd = fs_.Open(path, O_WRONLY | O_APPEND);
    if (fd == -ENOENT && mayCreate) {
        fd = fs_.Open(path, O_WRONLY | O_APPEND | O_CREAT | O_EXCL);
        if (fd >= 0)
            created = true;
        else if (fd == -EEXIST)
            fd = fs_.Open(path, O_WRONLY | O_APPEND);
    }
    if (fd < 0)
        return fd;

    const long long sizeBefore = fs_.Size(fd);
    if (sizeBefore < 0) {
        fs_.Close(fd);
        return static_cast<int>(sizeBefore);
    }

    std::string bytes = sizeBefore == 0 ? LogHeaderLine() : std::string();
    for (const Line& line : lines)
        bytes += line.bytes;

    int error = WriteAll(fd, bytes);
    if (error == 0)
        error = fs_.DataSync(fd);
    if (error == 0 && (created || folderSyncOwed_ == path)) {
        error = fs_.SyncFolder(FolderOf(path));
        folderSyncOwed_ = error == 0 ? std::string() : path;
    }
    if (error != 0)
        fs_.Truncate(fd, sizeBefore); // best effort; the records stay waiting either way
    // After a good sync the data is on disk; a failing close cannot take that back.
    fs_.Close(fd);
    return error;
}

std::string LogFileWriter::SaveToRecoveryFile(const QString& folder, std::string* error)
{
    auto fail = [error](const std::string& why) {
        if (error)
            *error = why;
        return std::string();
    };
    if (error)
        error->clear();
    if (pending_.empty())
        return {};

    if (!QDir().mkpath(folder))
        return fail("cannot create folder " + QFile::encodeName(folder).toStdString());

    const std::string folderPath = QFile::encodeName(QDir(folder).absolutePath()).toStdString();
    const std::string stem = folderPath + "/tallion-unwritten-"
                             + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")).toStdString();

    // Never overwrite an earlier recovery file made within the same second.
    std::string path;
    int fd = -EEXIST;
    for (int n = 1; fd == -EEXIST && n <= 100; ++n) {
        path = stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".dif";
        fd = fs_.Open(path, O_WRONLY | O_CREAT | O_EXCL);
    }
    if (fd < 0)
        return fail(std::string(std::strerror(-fd)) + "\r\n" + path);

    std::string bytes = LogHeaderLine();
    for (const Line& line : pending_)
        bytes += line.bytes;
    int result = WriteAll(fd, bytes);
    if (result == 0)
        result = fs_.DataSync(fd);
    fs_.Close(fd);
    if (result == 0)
        result = fs_.SyncFolder(folderPath);
    if (result != 0) {
        fs_.Remove(path);
        return fail(std::string(std::strerror(-result)) + "\r\n" + path);
    }

    pending_.clear();
    faultShown_ = false;
    return path;
}
