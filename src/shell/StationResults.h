#pragma once
// Where probe messages become results: the dispatch's target, the current carcass and text
// windows, showing and logging each finished record, and choosing the log file.

#include "log/LogFileWriter.h"
#include "probe/ProbeDispatch.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class Form1;
class FrmLED;
class FrmText;

class StationResults : public QObject, public DispatchTarget {
    Q_OBJECT
public:
    explicit StationResults(Form1& form, LogFileSystem& fileSystem = PosixLogFileSystem());

    // One message from the probe link.
    void OnProbeMessage(const std::string& message);

    // Shows a record in the terminal pane and the grid.
    void ShowResult(const CarcassMeasurement& record);
    // Appends a record to the current log file; tells the operator once per fault.
    void WriteRecord(const CarcassMeasurement& record);
    // The finishing step: show, then log, the current record.
    void FinishCarcass();
    // Lets the operator pick or name the log file, then loads or creates it.
    void ChooseLogFile();
    // Creates the current carcass window, hidden, unless it exists.
    FrmLED& CurrentCarcassWindow();
    // The Settings menu's "Show Current Carcass window" (weighing is off: no scale to set up).
    void ShowCurrentCarcassWindow();
    FrmText* TextWindow() const;
    // Records that could not be written yet go to a recovery file; the operator is told where
    // (on standard error when `quiet`: the station is ending on a signal and asks nothing).
    void SaveUnwrittenRecords(bool quiet = false);
    size_t UnwrittenRecords() const { return writer_.PendingCount(); }

    // The station's clock, replaceable for tests.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // DispatchTarget
    void SetCarcassError(const std::string& text) override;
    void ClearCarcassValues() override;
    void PressProbeButton() override;
    void SetStatusPanel1(const std::string& text) override;
    void AppendToResultView(const std::string& text, bool isMeasurement) override;
    void WriteLogRecord(const CarcassMeasurement& record) override;
    void ShowProbeText(const std::string& text) override;

private:
    // After every write attempt: status panel 5 shows how many records wait for their file.
    void ShowWaitingRecords();

    Form1& form_;
    LogFileSystem& fileSystem_;
    LogFileWriter writer_;
    QTimer retryTimer_;
    QPointer<FrmLED> frmLED_;
    QPointer<FrmText> frmText_;
};
