#pragma once
// Each finished record on its way to the log file: written at once when it can be, else kept
// and tried again (soon while another station holds the lock, every few seconds otherwise), and
// saved to a recovery file at the end. Faults are told through notices: records are written
// from the receive tick.

#include "log/LogFileWriter.h"
#include "probe/CarcassMeasurement.h"
#include "probe/OperatorNotices.h"
#include "probe/StationState.h"

#include <QObject>
#include <QTimer>
#include <optional>
#include <string>

class ResultLog : public QObject {
    Q_OBJECT
public:
    // The log file is the one `state` names at the time of each write.
    ResultLog(LogFileSystem& fileSystem, const StationState& state, OperatorNotices& notices,
              QObject* parent = nullptr);

    void WriteRecord(const CarcassMeasurement& record);
    size_t UnwrittenRecords() const { return writer_.PendingCount(); }
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

    const StationState& state_;
    OperatorNotices& notices_;
    LogFileWriter writer_;
    QTimer retryTimer_;
};
