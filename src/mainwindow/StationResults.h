#pragma once
// The windows' side of the station's results: the current carcass and text windows, the views
// that show each result, and the log file chooser. The work itself (dispatching probe messages,
// finishing and logging records, opening the chosen log) is the core's: this part listens to
// ProbeResults and hands the chosen file to LogFileChoice.

#include "logviews/ResultView.h"
#include "station/LogFileChoice.h"
#include "widgets/StationWindowAccess.h"

#include <QObject>
#include <QPointer>
#include <functional>

class CurrentCarcassWindow;
class TextWindow;
class OperatorDialogs;
class ProbeLink;
class ProbeResults;
class ResultFinishing;
class ResultLog;
class SettingsStore;
class StationPairings;
struct WeighingState;
class QWidget;

// Everything the results part works with; each belongs to the main window or the core.
struct StationResultsLinks {
    ResultViews views;
    WeighingState& weighing;
    OperatorDialogs& dialogs;
    SettingsStore& settings;
    ProbeLink& link;                  // whether the probe listens (log file: counter reset)
    StationPairings& pairings;        // the current carcass pairing the current carcass window shows
    ProbeResults& results;            // the core's dispatch and finishing: what it says is shown here
    ResultLog& log;                   // each record's way to the log file, which it names
    const ResultFinishing& finishing; // the template result lines are laid out in
    StationWindowAccess& window;
    QWidget* parentWindow = nullptr; // of the current carcass and text windows
    // Whether the class summary holds the pane; none: it never does.
    std::function<bool()> summaryShown;
};

class StationResults : public QObject {
    Q_OBJECT
public:
    explicit StationResults(const StationResultsLinks& links, LogFileSystem& fileSystem = PosixLogFileSystem(),
                            QObject* parent = nullptr);

    // Lets the operator pick or name the log file, then loads or creates it.
    void ChooseLogFile();
    // The current carcass window; created, hidden, with fresh flags, unless it exists.
    CurrentCarcassWindow& carcassWindow();
    // The current carcass window while it exists (it is gone after the operator closed it).
    CurrentCarcassWindow* ExistingCurrentCarcassWindow() const;
    TextWindow* textWindow() const;
    // Records that could not be written yet go to a recovery file; the operator is told where
    // (on standard error when `quiet`: the station is ending on a signal and asks nothing).
    // `keptInJournal`: the journal of received messages still holds them for the next start.
    void SaveUnwrittenRecords(bool quiet = false, bool keptInJournal = false);
    size_t UnwrittenRecords() const;

private:
    void ListenToResults();
    void SetStatusPanel1(const std::string& text);
    void AppendToResultView(const std::string& text, bool isMeasurement);
    void ShowProbeText(const std::string& text);
    // The views live lines go to: the grid and, unless the class summary holds it, the pane.
    ResultViews LiveViews() const;

    StationResultsLinks links_;
    LogFileChoice logFiles_;
    QPointer<CurrentCarcassWindow> currentCarcassWindow_;
    QPointer<TextWindow> textWindow_;
};
