#pragma once
// Where probe messages become results: the dispatch's target, the current carcass and text
// windows, showing and logging each finished record, and choosing the log file.

#include "carcass/PairingInterfaces.h"
#include "carcass/PendingQueue.h"
#include "log/LogFileWriter.h"
#include "log/ResultView.h"
#include "mainwindow/StationWindowAccess.h"
#include "probe/ProbeDispatch.h"
#include "station/ResultFinishing.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class CurrentCarcassWindow;
class TextWindow;
class OperatorDialogs;
class ProbeLink;
class SettingsStore;
class QWidget;

// Everything the results part works with; each belongs to the main window.
struct StationResultsLinks {
    ResultViews views;
    StationState& state;
    PendingQueue& queue;
    OperatorDialogs& dialogs;
    SettingsStore& settings;
    ProbeLink& link;            // whether the probe listens (log file: counter reset)
    ProbeCommandSink& commands; // the link's command ring
    ScaleWeightReader& scale;   // the last scale message through its parser
    ResultFinishing& finishing; // each record's line, its printing and its way to the log file
    StationWindowAccess& window;
    QWidget* parentWindow = nullptr; // of the current carcass and text windows
};

class StationResults : public QObject, public DispatchTarget, public CarcassFinisher {
    Q_OBJECT
public:
    explicit StationResults(const StationResultsLinks& links, LogFileSystem& fileSystem = PosixLogFileSystem(),
                            QObject* parent = nullptr);

    // One message from the probe link.
    void OnProbeMessage(const std::string& message);

    // Shows a record in the terminal pane and the grid (CarcassFinisher).
    void ShowResult(const CarcassMeasurement& record) override;
    // Appends a record to the current log file; tells the operator once per fault.
    void WriteRecord(const CarcassMeasurement& record);
    // The finishing step of both windows (CmdFinish).
    void FinishCarcass();
    // Lets the operator pick or name the log file, then loads or creates it.
    void ChooseLogFile();
    // The current carcass window; created, hidden, with fresh flags, unless it exists.
    CurrentCarcassWindow& carcassWindow();
    // The current carcass window while it exists (it is gone after the operator closed it).
    CurrentCarcassWindow* ExistingCurrentCarcassWindow() const;
    TextWindow* textWindow() const;
    // Records that could not be written yet go to a recovery file; the operator is told where
    // (on standard error when `quiet`: the station is ending on a signal and asks nothing).
    void SaveUnwrittenRecords(bool quiet = false);
    size_t UnwrittenRecords() const { return links_.finishing.log().UnwrittenRecords(); }
    // Told of every line that reaches the log file (the plant database's journal).
    void SetLogChangeObserver(LogChangeObserver* observer) { links_.finishing.log().SetLogChangeObserver(observer); }

    // The station's clock, replaceable for tests.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // The pending count the current carcass window showed, for the main window's pending box.
    std::function<void(const std::string&)> pendingShown;

    // DispatchTarget
    void SetCarcassError(const std::string& text) override;
    void ClearCarcassValues() override;
    void PairProbeResult() override;
    void SetStatusPanel1(const std::string& text) override;
    void AppendToResultView(const std::string& text, bool isMeasurement) override;
    // DispatchTarget and CarcassFinisher
    void WriteLogRecord(const CarcassMeasurement& record) override;
    void ShowProbeText(const std::string& text) override;

private:
    // The views live lines go to: the grid and, unless the class summary holds it, the pane.
    ResultViews LiveViews() const;

    StationResultsLinks links_;
    LogFileSystem& fileSystem_;
    QPointer<CurrentCarcassWindow> currentCarcassWindow_;
    QPointer<TextWindow> textWindow_;
};
