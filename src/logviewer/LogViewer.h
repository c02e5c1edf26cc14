#pragma once
// The log viewer's window code: the template menu, view mode (another log shown in the pane
// while the probe waits), find in the pane, the grid's mouse and key events with row deletion,
// and the class summary with its charts. It works on the main window's grid, pane and toolbar
// buttons and on the station core; the main window only builds those controls.
//
// Split by concern: LogViewer.cpp (wiring, templates, view mode), LogViewerFind.cpp,
// LogViewerDeletion.cpp, LogViewerSummary.cpp.

#include "log/SummaryFollower.h"
#include "log/TextFind.h"
#include "logviewer/LogViewerWindow.h"
#include "logviews/ResultView.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class FindWindow;
class OperatorDialogs;
class QAction;
class QToolButton;
class QWidget;
class SettingsStore;
class StationCore;
class SummaryChartPanel;
class SummaryWindow;
enum class SummaryMode;
struct SummaryNotes;

// What the log viewer keeps while the program runs: the log viewed and the pane's text from
// before it was viewed, the find state, the find dialog, and whether the summary shows with
// its counts.
struct LogViewerState {
    std::string viewedLogFile;     // the log shown in view mode; empty: none
    std::string savedTerminalText; // the pane's text from before viewing started
    FindState find;
    QPointer<FindWindow> findWindow;
    bool summaryShown = false; // the class summary holds the pane
    SummaryFollower summary;   // the summary's counts while it follows live records
};

class LogViewer : public QObject {
    Q_OBJECT
public:
    // The main window's controls the viewer works on, found by their station names there.
    struct Controls {
        QToolButton* pause = nullptr;       // Pause
        QToolButton* openLogFile = nullptr; // OpenLogFile
        QToolButton* find = nullptr;        // CmdFind
        QToolButton* summary = nullptr;     // CmdSummary
        QToolButton* deleteRow = nullptr;   // cmdDel
    };

    LogViewer(StationCore& core, ResultViews views, OperatorDialogs& dialogs, SettingsStore& settings,
              std::unique_ptr<LogViewerWindow> window, std::function<QAction*(const QString&)> menu, Controls controls,
              QWidget* parent);
    ~LogViewer() override;

    void ChooseTemplate(int templateNumber); // mnuD1..mnuD9, mnuhamcolour
    void ToggleLogView();                    // Pause, mnuView
    bool ViewingLog() const;
    void ShowFindDialog(); // CmdFind, mnuFind
    void FindInTerminal(); // frmFind's Find button
    FindState& findState() { return state_.find; }
    void DeleteRow();     // cmdDel, mnuDel, the Delete key on the grid
    void ToggleSummary(); // CmdSummary, mnuSummary
    // The class summary holds the pane: live lines then reach the grid only, and printing
    // prints the pane after the grid.
    bool summaryShown() const { return state_.summaryShown; }
    // Marks the pane as the summary's (or not) without counting it; the station only ever sets
    // it through ToggleSummary and LeaveSummaryMode, a test that writes the pane itself does.
    void SetSummaryShown(bool shown) { state_.summaryShown = shown; }
    // Start-up: neither a summary nor a viewed log is shown.
    void ResetForStartUp();
    // Ends summary mode without reloading (choosing another log file loads that one).
    void LeaveSummaryMode();
    // While the summary shows: rebuilds it in place from the log file, keeping the operator's
    // place in it. Called after each finished record reached the log.
    void RefreshSummary();
    const SummaryChartPanel* summaryCharts() const { return summaryCharts_; }

    // The pane shows below the grid while the summary, a viewed log or the find dialog needs it.
    bool TerminalWanted() const;
    // F7 for the view log / pause button, shown in its tooltip (start-up).
    void SetUpPauseKey();
    // The summary's own window while the summary has been shown once; else none.
    SummaryWindow* summaryWindow() const { return summaryWindow_; }

private:
    void WireControls();
    // A row picked makes Delete usable, the Delete key deletes, the right button pops up File.
    void WireGridEvents();
    void ShowTerminalAsNeeded(LayoutTrigger trigger);
    std::string ViewLogFile();
    void SetPauseTip(int stringId);
    void ShowLogFileOrNothing();
    // With a weight source the summary sums the weighed carcasses, else counts the unweighed ones.
    SummaryMode SummaryModeNow() const;
    // What the summary tells under its heading: lines left out, carcasses still waiting.
    SummaryNotes NotesNow() const;
    // Counts the current log for the charts and shows them beside the summary's text.
    void ShowSummaryCharts(SummaryMode mode);
    QAction* Menu(const char* name) const;

    StationCore& core_;
    ResultViews views_;
    OperatorDialogs& dialogs_;
    SettingsStore& settings_;
    std::unique_ptr<LogViewerWindow> window_;
    std::function<QAction*(const QString&)> menu_;
    Controls controls_;
    QWidget* parent_;
    LogViewerState state_;
    SummaryWindow* summaryWindow_ = nullptr;
    SummaryChartPanel* summaryCharts_ = nullptr; // in summaryWindow_
};
