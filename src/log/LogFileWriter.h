#pragma once
// Appends records to the result log durably: each append is synced before it counts as done.
// A record that cannot be written is kept, in order, and written before the next record (or by
// RetryPending), so a full disk or a file locked by another program loses nothing.

#include "log/LogChangeObserver.h"
#include "log/LogFileSystem.h"
#include "probe/CarcassMeasurement.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// What one write attempt did, and what the operator should be told.
struct LogWriteOutcome {
    bool written = false;      // the record and every waiting one are in the file
    bool report = false;       // a new fault: show `text` now (not repeated while it lasts)
    std::string text;          // the error's text, CR LF, the path, a space, the explanation
    bool pathNotFound = false; // folder or file missing: an information, not a warning
    size_t recovered = 0;      // records from earlier failures written by this call
    bool lockBusy = false;     // another station holds the log's lock: try again at the next tick
    // The file ended in a torn line (a power cut mid-write, an editor that drops the last line
    // end); it was given a line end so that the record starts its own line. Say so once.
    bool tornLineMended = false;
};

class LogFileWriter {
public:
    explicit LogFileWriter(LogFileSystem& fileSystem = PosixLogFileSystem());

    // Appends the record's line (with the header line first when the file is empty) after any
    // waiting records. An empty path writes nothing and reports nothing.
    LogWriteOutcome WriteLogRecord(const CarcassMeasurement& record, const std::string& path);

    // Writes the waiting records to `path`; true when none is left waiting.
    bool RetryPending(const std::string& path);
    // The same, telling what happened; only a lock held too long is reported from here.
    LogWriteOutcome RetryWaiting(const std::string& path);

    // Writes the waiting records, header line first, to a new file
    // "tallion-unwritten-<yyyyMMdd-hhmmss>.dif" in `folder` (made when missing) and forgets them.
    // Returns the file's path; empty when nothing was waiting (`error` empty) or when the file
    // could not be written (`error` says why, and the records stay waiting).
    std::string SaveToRecoveryFile(const QString& folder, std::string* error = nullptr);

    size_t PendingCount() const { return pending_.size(); }

    // A record's line (with its line end) waiting for the file.
    struct WaitingLine {
        std::string bytes;
        bool mayCreateFile = true; // an alert line goes only into a file that exists already

        bool operator==(const WaitingLine&) const = default;
    };
    const std::vector<WaitingLine>& Waiting() const { return pending_; }
    // Lines that waited when the station stopped, taken back before any new record.
    void RestoreWaiting(std::vector<WaitingLine> lines) { pending_ = std::move(lines); }

    // Told of every record line appended, under the log's lock; none by default.
    void SetChangeObserver(LogChangeObserver* observer) { observer_ = observer; }

    // Milliseconds of a steady clock; replaceable for tests.
    std::function<long long()> clock;

    // How long another station may hold the lock before that counts as a fault.
    static constexpr long long kLockPatienceMs = 5000;

private:
    using Line = WaitingLine;

    // Writes `lines` to `path` in one synced append under the log's lock; 0 or a negative code.
    // On failure the bytes this append wrote are cut off again so that the next attempt does
    // not repeat part of a record.
    int Append(const std::string& path, const std::vector<Line>& lines, bool& tornLineMended);
    int AppendLocked(int fd, const std::string& path, bool created, const std::vector<Line>& lines,
                     bool& tornLineMended);
    int WriteAll(int fd, const std::string& bytes, size_t* written = nullptr);
    LogWriteOutcome Flush(const std::string& path, bool fromRecord);

    LogFileSystem& fs_;
    std::vector<Line> pending_;
    bool faultShown_ = false;
    int shownError_ = 0;
    std::string shownPath_;
    std::string folderSyncOwed_; // a file created here whose folder entry is not yet synced
    LogChangeObserver* observer_ = nullptr;
    long long busySince_ = -1; // when the lock was first found busy; -1: it was not
};
