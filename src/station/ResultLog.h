#pragma once
// Each finished record on its way to the log file: written at once when it can be, else kept
// and tried again (soon while another station holds the lock, every few seconds otherwise), and
// saved to a recovery file at the end. Faults are told through notices: records are written
// from the receive tick.

#include "log/LogFileWriter.h"
#include "probe/CarcassMeasurement.h"
#include "probe/OperatorNotices.h"

#include <QObject>
#include <QTimer>
#include <optional>
#include <string>

class ResultLog : public QObject {
    Q_OBJECT
public:
    ResultLog(LogFileSystem& fileSystem, OperatorNotices& notices, QObject* parent = nullptr);

    // The current log file, the one each write goes to; empty: nothing is logged.
    const std::string& logFilePath() const { return logFilePath_; }
    void SetLogFilePath(const std::string& path) { logFilePath_ = path; }

    void WriteRecord(const CarcassMeasurement& record);
    size_t UnwrittenRecords() const { return writer_.PendingCount(); }
    // The records' lines still waiting for the file; and those that waited when the station
    // stopped, taken back and tried again soon.
    const std::vector<LogFileWriter::WaitingLine>& Unwritten() const { return writer_.Waiting(); }
    void RestoreUnwritten(std::vector<LogFileWriter::WaitingLine> lines);
    // The current log file's size; 0 when there is none or it cannot be looked at.
    long long LogFileSize() const;
    // Told of every line that reaches the log file (the plant database's journal).
    void SetLogChangeObserver(LogChangeObserver* observer) { writer_.SetChangeObserver(observer); }

    // Where the records still waiting went at the end.
    struct Recovery {
        size_t records = 0;
        std::string path; // the recovery file; empty when it could not be written
        std::string error;
    };
    // One last try at the log file, then the recovery file; nothing when none was left waiting.
    std::optional<Recovery> SaveUnwrittenRecords();

signals:
    // A write or a retry happened: the shown log file (and whether records wait) may change.
    void logFileTouched();
    // After each record was given to the log file (or a waiting one reached it).
    void recordLogged();

private:
    void TellOutcome(const LogWriteOutcome& outcome);

    std::string logFilePath_;
    OperatorNotices& notices_;
    LogFileWriter writer_;
    QTimer retryTimer_;
};
