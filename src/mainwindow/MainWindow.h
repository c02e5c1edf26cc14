#pragma once
// The station's main window over the station core (StationCore: both serial ports, the probe
// link, the scale collector, the pending queue, the receive tick, result finishing and the log):
// the result grid and terminal pane, the detail frames, the status bar and the whole menu, showing
// what the core tells.
//
// The window's code is split by concern: MainWindow.cpp (ownership, the core's signals, status bar
// access), MainWindowControls.cpp (building the controls), MainWindowMenus.cpp (menu tree and its wiring),
// MainWindowStartUp.cpp, MainWindowLayout.cpp, MainWindowIndicators.cpp, MainWindowShutDown.cpp, MainWindowHooks.cpp,
// MainWindowPortDialogs.cpp, MainWindowWeighing.cpp (the main window's pairing, Weight and Sequence menus)
// and MainWindowScalePort.cpp (the scale port's set-up and the current carcass window).

#include "log/ResultView.h"
#include "mainwindow/ElapsedClock.h"
#include "mainwindow/LayoutGeometry.h"
#include "mainwindow/LogViewerState.h"
#include "mainwindow/StationWindowAccess.h"
#include "probe/SerialPort.h"
#include "probe/StationState.h"
#include "station/StationCore.h"
#include "weighing/ScaleOptions.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CarcassPairing;
class CurrentCarcassWindow;
class LinkCommandSink;
class MainPairingDisplay;
class OperatorDialogs;
class ParsedScaleReader;
class PrintCommands;
class ScaleCollector;
enum class PortDialogKind;
struct PortDialogDeps;
class SettingsStore;
class LedIndicator;
class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;
class ResultGridModel;
class StationDatabase;
class StationResults;
class SummaryChartPanel;
class TerminalPane;
enum class SummaryMode;

class MainWindow : public QMainWindow, public StationWindowAccess {
    Q_OBJECT
public:
    static constexpr int kStatusPanels = 7;

    MainWindow(SettingsStore& settings, OperatorDialogs& dialogs, std::unique_ptr<SerialPort> probePort,
               std::unique_ptr<SerialPort> scalePort, QWidget* parent = nullptr);
    ~MainWindow() override;

    SettingsStore& settings() { return settings_; }
    OperatorDialogs& dialogs() { return dialogs_; }
    StationState& state() { return state_; }
    ResultViews& views() { return views_; }
    // The station's work without windows: ports and their watches, link, scale, pending queue,
    // receive tick.
    StationCore& core() { return *core_; }
    const StationCore& core() const { return *core_; }

    // Status bar panels 1..7; other numbers are ignored (read back as empty).
    void SetStatusPanel(int panel, const QString& text) override;
    void SetStatusPanelTip(int panel, const QString& tip);
    QString StatusPanel(int panel) const;
    QString StatusPanelTip(int panel) const;
    // Panel 5: the current log file, shortened when long, with its tooltip.
    void ShowLogFilePath() override;

    // A menu, submenu or entry by its station name; nullptr for an unknown name.
    QAction* MenuAction(const QString& objectName) const;
    // A control of the window by its station name (e.g. "txtCarcassCounter").
    template <class T>
    T* Control(const char* objectName) const
    {
        return findChild<T*>(QString::fromLatin1(objectName));
    }

    // The start-up steps, in order; called once after construction.
    void StartUp();

    // cmdHide: compact <-> detail layout.
    void ToggleLayout();
    bool isShow() const { return isShow_; }
    // Places the grid (and the terminal pane while the summary shows) for the current layout.
    void PlaceViews(bool onResize);
    void PlaceViews(LayoutTrigger trigger);
    // Fits the grid's height to whole rows, ending at its last row.
    void flexGridResize();
    // Find and Print are usable while the probe link works or the station is paused.
    void RefreshFindPrint();

    // Ticks the entry of state().templateNumber, lays the grid out for it and shows its title.
    void ApplyCurrentTemplate();
    // The current template's titles, each followed by three spaces (printed before each result).
    const std::string& printHeaderLine() const { return printHeaderLine_; }

    // The station ends on a signal: the normal shut-down without the exit question or any other
    // box; records still waiting for the log file go to the recovery file.
    void ShutDownBySignal();

    // Writes the window geometry to the "Main*" and "CC*" keys.
    void SaveWindowGeometry();
    // Other windows of the station; closed, last opened first, when the main window closes.
    void RegisterStationWindow(QWidget* window) override;

    // Results as the windows show them: the current carcass and text windows, the views, the log
    // file chooser.
    StationResults& results() { return *results_; }
    // The plant database, when the settings name one (StationDatabase.cpp); else nullptr.
    StationDatabase* database() { return database_; }
    // Real-time printing, printer status, the print dialog (MainWindowPrinting.cpp).
    PrintCommands& printing() { return *printing_; }
    void ChooseLogFile();            // OpenLogFile button
    void ChooseLogFileFromMenu();    // mnuLog: refused while carcasses are half processed
    void LoadCurrentCarcassWindow(); // start-up
    void FinishCarcass();            // CmdFinish

    // Log viewer, find, row deletion and class summary (MainWindowLogViewer.cpp, MainWindowFind.cpp,
    // MainWindowSummary.cpp).
    void ChooseTemplate(int templateNumber); // mnuD1..mnuD9, mnuhamcolour
    void ToggleLogView();                    // Pause, mnuView
    bool ViewingLog() const { return core_->link().stationPaused() && !state_.viewedLogFile.empty(); }
    void ShowFindDialog(); // CmdFind, mnuFind
    void FindInTerminal(); // frmFind's Find button
    FindState& findState() { return viewer_.find; }
    void DeleteRow();     // cmdDel, mnuDel, the Delete key on the grid
    void ToggleSummary(); // CmdSummary, mnuSummary
    // Ends summary mode without reloading (choosing another log file loads that one).
    void LeaveSummaryMode() override;
    // While the summary shows: rebuilds it in place from the log file, keeping the operator's
    // place in it. Called after each finished record reached the log.
    void RefreshSummary();
    // The summary's charts beside the pane while the summary shows (MainWindowSummaryCharts.cpp).
    const SummaryChartPanel* summaryCharts() const { return summaryCharts_; }

    // Weighing (MainWindowWeighing.cpp, MainWindowScalePort.cpp).
    // Start-up takes the weight source, sequence and equation from the store and shows the
    // Sequence and Weight menus, instead of switching weighing off. Set before StartUp().
    bool startWithWeighing = false;
    // The main window's own pairing: scale weights (Command1) and its weight box.
    CarcassPairing& mainPairing() { return *mainPairing_; }
    // mnuShowCC: sets up the scale port for the weight source, then shows the window.
    void ShowCurrentCarcassWindow();
    // Shows the current carcass window: a hidden one where the operator left it, else on a
    // second screen, beside this window or centred (MainWindowCarcassWindowPlace.cpp).
    void ShowCurrentCarcassWindowPlaced(CurrentCarcassWindow& window);
    // The place the operator last left the current carcass window at, if one is stored.
    std::optional<QRect> SavedCurrentCarcassPlace() const;
    // How the Weight menu's entries show their model's port settings dialog (modally); tests
    // put a recorder here.
    std::function<void(PortDialogKind kind)> showWeightPortDialog = [this](PortDialogKind kind) {
        OpenPortDialog(kind);
    };

    const ElapsedClock& elapsedClock() const { return elapsed_; }
    // A firmware download holds the link (its receive tick stopped): the link lamp shows it
    // paused until the download ends (MainWindowIndicators.cpp).
    void SetLinkHeld(bool held);

    // The scale models' options: the Mettler-Toledo and Wedderburn flags and the header scales'
    // fields, as the scale port set-up loads them and the port dialogs edit them.
    ScaleOptions scaleOptions;
    // The device a port number stands for (see PortDeviceMap); unset: as the settings map it.
    std::function<QString(int port)> deviceForPort;
    // Shows a port settings dialog modally (the probe's or a scale model's); true when OK
    // applied it. MainWindowPortDialogs.cpp.
    bool OpenPortDialog(PortDialogKind kind);

    // Timers, named as the station knows them.
    QTimer Clock;        // 1000 ms elapsed time
    QTimer TimerPStatus; // 100 ms printer status poll, off until real-time printing

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // MainWindowControls.cpp
    void BuildControls();
    QFrame* BuildStatusFrame(QWidget* parent);
    QWidget* BuildDetailFrames(QWidget* parent);
    void BuildStatusBar();
    QToolButton* AddToolButton(QWidget* parent, const char* name, const QIcon& icon);
    // MainWindowMenus.cpp
    void BuildMenus();
    void WireMenus();
    // MainWindowPrinting.cpp
    void WirePrintingMenus();
    // MainWindowPortDialogs.cpp
    void WirePortDialogMenus();
    PortDialogDeps PortDialogDepsFor(PortDialogKind kind);
    // MainWindowWeighing.cpp
    void WireWeighing();
    void WireWeighingMenus();
    void ChooseScaleModel(WeightSource model);
    void ChooseNoWeight();
    void ChooseManualInput();
    void ChooseDialogOnlyEntry(const char* entry, PortDialogKind dialog);
    void ToggleWeightInEquation();
    void ChooseSequence(bool weightBeforeProbe);
    // Ticks `entry` and unticks the other weight entries (Tenso only for the Tenso entry).
    void TickWeightEntry(const char* entry);
    void ShowWeightFrames();
    // MainWindowScalePort.cpp
    // Sets up the scale port and the parser options for a scale model; `ask`: a failure is told in a
    // modal box (a menu command) rather than a notice (start-up).
    void SetUpScalePort(WeightSource model, bool ask);
    void ShowScalePort();
    // MainWindowIndicators.cpp
    void ShowIndicators();
    // MainWindowKeyboard.cpp: tooltips of the toolbar buttons, function keys of those without a menu
    // entry.
    void SetUpToolbarKeys();
    // The view log / pause button's tooltip (string `stringId`) with its function key.
    void SetPauseTip(int stringId);
    // MainWindowShutDown.cpp
    void AskToExit(bool saveGeometryFirst);
    void CloseStationWindows();
    // MainWindowStartUp.cpp
    void StartUpProbePort();
    void StartUpWeighingOff();
    void StartUpWeighingFromStore();
    void StartUpAnalysisType();
    void StartUpLoadLog();
    // MainWindowLogViewer.cpp, MainWindowFind.cpp, MainWindowSummary.cpp
    void WireLogViewerMenus();
    // With a weight source the summary sums the weighed carcasses, else counts the unweighed ones.
    SummaryMode SummaryModeNow() const;
    std::string ViewLogFile();
    // The pane shows below the grid while the summary, a viewed log or the find dialog needs it.
    bool TerminalWanted() const;
    void ShowTerminalAsNeeded(LayoutTrigger trigger);
    // Trims the grid's height so that its viewport holds whole rows: scrolled to the end, the
    // top row is then never cut.
    void FitGridToWholeRows();
    // Counts the current log for the charts and shows them beside the summary's text.
    void ShowSummaryCharts(SummaryMode mode);

    void OnClockTick();
    void WireLink();
    // Status panel 2: the probe port, marked while its device is gone.
    void ShowProbePort();
    bool NoWeightTicked() const;
    // Twips of the window's screen.
    int PxX(double twips) const;
    int PxY(double twips) const;
    double TwX(double pixels) const;
    double TwY(double pixels) const;

    SettingsStore& settings_;
    OperatorDialogs& dialogs_;
    std::unique_ptr<StationCore> core_;
    StationState& state_; // the core's
    ResultViews views_;
    ElapsedClock elapsed_;
    StationResults* results_ = nullptr;
    StationDatabase* database_ = nullptr;
    PrintCommands* printing_ = nullptr;
    std::unique_ptr<ParsedScaleReader> scaleReader_;
    std::unique_ptr<LinkCommandSink> linkCommands_;
    std::unique_ptr<MainPairingDisplay> mainDisplay_;
    std::unique_ptr<CarcassPairing> mainPairing_;
    bool isShow_ = false;
    bool linkHeld_ = false;
    bool quietShutDown_ = false;
    std::string printHeaderLine_;
    LogViewerState viewer_;

    QHash<QString, QAction*> menus_;
    QList<QPointer<QWidget>> stationWindows_;

    // Controls the window's own code reaches often; every control also carries its station
    // name as objectName.
    QWidget* central_ = nullptr;
    QFrame* FrameStatus = nullptr;
    QWidget* detailFrames_ = nullptr;
    QGroupBox* frWeight = nullptr;
    QGroupBox* frResult = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* frError = nullptr;
    QLineEdit* txtWeight = nullptr;
    QLineEdit* txtWeightResult = nullptr;
    QLineEdit* txtError = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Title = nullptr;
    QFrame* Frame5 = nullptr;
    QTableView* mfgResult = nullptr;
    ResultGridModel* gridModel_ = nullptr;
    TerminalPane* Terminal = nullptr;
    SummaryChartPanel* summaryCharts_ = nullptr;
    QToolButton* OpenLogFile = nullptr;
    QToolButton* CmdFind = nullptr;
    QToolButton* CmdPrint = nullptr;
    QToolButton* CmdSummary = nullptr;
    QToolButton* cmdHide = nullptr;
    QToolButton* CmdExit = nullptr;
    QLabel* LblLink = nullptr;
    QLabel* LblTx = nullptr;
    QLabel* LblRx = nullptr;
    LedIndicator* CommLED1 = nullptr;
    LedIndicator* CommLED2 = nullptr;
    LedIndicator* ErrLED = nullptr;
    LedIndicator* CommLEDHeld = nullptr; // the link held by a firmware download
    LedIndicator* TxLED = nullptr;
    LedIndicator* TxLED2 = nullptr;
    LedIndicator* RxLED = nullptr;
    LedIndicator* RxLED2 = nullptr;
    std::array<QLabel*, kStatusPanels> panels_{};
};
