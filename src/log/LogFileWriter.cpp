#include "log/LogFileWriter.h"

#include "log/LogRecordFormat.h"
#include "probe/CrashPoint.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>

namespace {

bool IsPathNotFound(int error)
{
    return error == -ENOENT || error == -ENOTDIR;
}

std::string FailureText(int error, const std::string& path)
{
    if (error == kNotRegularFile)
        return LogErrorText(error) + "\r\n" + path + " is not a regular file. Please choose a log file.";
    if (error == kLockBusy)
        return LogErrorText(error) + " for more than five seconds.\r\n" + path + " "
               + "The results wait and are written as soon as it is free.";
    // Each cause the operator can act on is named; "used by other application" would send them
    // looking for a program that does not exist.
    const std::string reason = LogErrorText(error) + "\r\n";
    switch (-error) {
    case ENOSPC:
    case EDQUOT:
        return reason + "The disk holding " + path
               + " is full; results wait and are written when there is space. Please free some space on it.";
    case EROFS:
        return reason + "The disk holding " + path
               + " is read-only; results wait and are written when it can be written again. Please make it "
                 "writable or choose a log file on another disk.";
    case EACCES:
    case EPERM:
        return reason + "This user may not write to " + path
               + "; results wait and are written once it may. Please give the user permission to write there or "
                 "choose another log file.";
    default:
        return reason + path + " "
               + ResourceString(IsPathNotFound(error) ? StringId::FileDoesNotExist : StringId::FileInUse);
    }
}

long long SteadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The record line without its CR LF, as the change observer is given it.
std::string WithoutLineEnd(const std::string& line)
{
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r'))
        --end;
    return line.substr(0, end);
}

} // namespace

LogFileWriter::LogFileWriter(LogFileSystem& fileSystem)
    : clock(SteadyMilliseconds)
    , fs_(fileSystem)
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
    return RetryWaiting(path).written;
}

LogWriteOutcome LogFileWriter::RetryWaiting(const std::string& path)
{
    LogWriteOutcome outcome;
    outcome.written = pending_.empty();
    if (outcome.written || path.empty())
        return outcome;
    return Flush(path, false);
}

LogWriteOutcome LogFileWriter::Flush(const std::string& path, bool fromRecord)
{
    LogWriteOutcome outcome;
    const int error = Append(path, pending_, outcome.tornLineMended);
    if (error == 0) {
        outcome.written = true;
        outcome.recovered = pending_.size();
        pending_.clear();
        faultShown_ = false;
        busySince_ = -1;
        return outcome;
    }

    if (error == kLockBusy) {
        // Another station is appending or deleting a row: that takes milliseconds, so the
        // records simply wait. Only a lock held for long is a fault worth telling.
        outcome.lockBusy = true;
        const long long now = clock();
        if (busySince_ < 0)
            busySince_ = now;
        if (now - busySince_ < kLockPatienceMs)
            return outcome;
    } else {
        busySince_ = -1;
    }

    outcome.text = FailureText(error, path);
    outcome.pathNotFound = IsPathNotFound(error);
    // A timer's retry tells no one, so it must not mark a new kind of fault as shown; a lock
    // held too long is the exception, as no record may come while the station waits for it.
    if (fromRecord || error == kLockBusy) {
        outcome.report = !faultShown_ || error != shownError_ || path != shownPath_;
        faultShown_ = true;
        shownError_ = error;
        shownPath_ = path;
    }
    return outcome;
}

int LogFileWriter::WriteAll(int fd, const std::string& bytes, size_t* written)
{
    size_t done = 0;
    if (written)
        *written = 0;
    while (done < bytes.size()) {
        const long long n = fs_.Write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0)
            return static_cast<int>(n);
        if (n == 0)
            return -EIO; // no progress and no reason given
        done += static_cast<size_t>(n);
        if (written)
            *written = done;
    }
    return 0;
}

int LogFileWriter::Append(const std::string& path, const std::vector<Line>& lines, bool& tornLineMended)
{
    bool mayCreate = false;
    for (const Line& line : lines)
        mayCreate = mayCreate || line.mayCreateFile;
    if (lines.empty())
        mayCreate = true; // a record without a line still gives a new file its header

    // Alert lines go only into an existing file: a file that has been deleted behind the
    // station's back is not silently recreated for a lone alert line.
    bool created = false;
    const int fd = OpenAndLockLog(fs_, path, mayCreate, created);
    if (fd < 0)
        return fd;
    const int error = AppendLocked(fd, path, created, lines, tornLineMended);
    // Closing releases the lock. After a good sync the data is on disk; a failing close cannot
    // take that back.
    fs_.Close(fd);
    return error;
}

int LogFileWriter::AppendLocked(int fd, const std::string& path, bool created, const std::vector<Line>& lines,
                                bool& tornLineMended)
{
    const long long sizeBefore = fs_.Size(fd);
    if (sizeBefore < 0)
        return static_cast<int>(sizeBefore);

    // The header decision is taken under the lock, so two stations never both write it.
    std::string bytes = sizeBefore == 0 ? LogHeaderLine() : std::string();
    if (sizeBefore > 0) {
        char last = '\n';
        const long long n = fs_.ReadAt(fd, &last, 1, sizeBefore - 1);
        if (n < 0)
            return static_cast<int>(n);
        // The torn fragment stays as it is (a line the station did not write is never
        // removed); the record just starts a line of its own.
        if (last != '\n') {
            bytes = last == '\r' ? "\n" : "\r\n";
            tornLineMended = true;
        }
    }
    const long long linesStart = sizeBefore + static_cast<long long>(bytes.size());
    for (const Line& line : lines)
        bytes += line.bytes;
    if (observer_ && !lines.empty()) {
        std::vector<std::string> appending;
        appending.reserve(lines.size());
        for (const Line& line : lines)
            appending.push_back(WithoutLineEnd(line.bytes));
        observer_->LinesAppending(path, linesStart, appending);
    }

    size_t written = 0;
    int error = WriteAll(fd, bytes, &written);
    if (error == 0) {
        CrashPoint("log-written");
        error = fs_.DataSync(fd);
    }
    if (error == 0 && (created || folderSyncOwed_ == path)) {
        error = fs_.SyncFolder(FolderOf(path));
        folderSyncOwed_ = error == 0 ? std::string() : path;
    }
    if (error == 0)
        CrashPoint("log-synced");
    if (error != 0) {
        // Cut back only what this append wrote: under the lock the file can have grown only by
        // it, but a program that ignores the lock must not lose a line to this.
        LogFileFacts now;
        if (fs_.Stat(fd, now) == 0 && now.size == sizeBefore + static_cast<long long>(written))
            fs_.Truncate(fd, sizeBefore); // best effort; the records stay waiting either way
        tornLineMended = false;
        return error;
    }
    if (observer_) {
        std::vector<std::string> appended;
        appended.reserve(lines.size());
        for (const Line& line : lines)
            appended.push_back(WithoutLineEnd(line.bytes));
        if (!appended.empty())
            observer_->LinesAppended(path, appended);
    }
    return 0;
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
