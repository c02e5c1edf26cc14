#pragma once
// The last steps of every finished record, whichever window paired it: its line in the current
// template (a cancel shows its alert instead), that line handed to real-time printing (a cancel
// is never printed), and the record given to the log.

#include "probe/CarcassMeasurement.h"
#include "station/ResultLog.h"

#include <QObject>
#include <string>

class ResultFinishing : public QObject {
    Q_OBJECT
public:
    explicit ResultFinishing(ResultLog& log, QObject* parent = nullptr);

    // The display template (1..10) every result line is laid out in; the log viewer's template
    // menu chooses it.
    int templateNumber() const { return templateNumber_; }
    void SetTemplateNumber(int templateNumber) { templateNumber_ = templateNumber; }

    // The line the views show for the record; a result's line is told to printing first.
    std::string ResultLine(const CarcassMeasurement& record);
    void WriteLogRecord(const CarcassMeasurement& record) { log_.WriteRecord(record); }
    ResultLog& log() { return log_; }

signals:
    // Real-time printing takes each result line here (inside the tick: it must not wait).
    void lineToPrint(const std::string& line);

private:
    ResultLog& log_;
    int templateNumber_ = 3;
};
