#pragma once
// The last steps of every finished record, whichever window paired it: its line in the current
// template (a cancel shows its alert instead), that line handed to real-time printing (a cancel
// is never printed), and the record given to the log.

#include "probe/CarcassMeasurement.h"
#include "probe/StationState.h"
#include "station/ResultLog.h"

#include <QObject>
#include <string>

class ResultFinishing : public QObject {
    Q_OBJECT
public:
    ResultFinishing(const StationState& state, ResultLog& log, QObject* parent = nullptr);

    // The line the views show for the record; a result's line is told to printing first.
    std::string ResultLine(const CarcassMeasurement& record);
    void WriteLogRecord(const CarcassMeasurement& record) { log_.WriteRecord(record); }
    ResultLog& log() { return log_; }

signals:
    // Real-time printing takes each result line here (inside the tick: it must not wait).
    void lineToPrint(const std::string& line);

private:
    const StationState& state_;
    ResultLog& log_;
};
