#pragma once
// The station's main window: both serial ports, the probe link and its receive timer, the result
// grid and terminal pane, the detail frames, the status bar and the whole menu.
//
// The window's code is split by concern: Form1.cpp (ownership, timers, link wiring, status bar
// access), Form1Controls.cpp (building the controls), Form1Menus.cpp (menu tree and its wiring),
// Form1StartUp.cpp, Form1Layout.cpp, Form1Indicators.cpp, Form1ShutDown.cpp, Form1Hooks.cpp,
// Form1PortDialogs.cpp.

#include "log/ResultView.h"
#include "probe/PortWatch.h"
#include "probe/ProbeLink.h"
#include "probe/SerialPort.h"
#include "probe/StationState.h"
#include "shell/ElapsedClock.h"
#include "shell/LayoutGeometry.h"
#include "shell/LogViewerState.h"
#include "weighing/ScaleOptions.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <string>

class OperatorDialogs;
class PrintCommands;
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
class StationResults;
class TerminalPane;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kStatusPanels = 7;

    Form1(SettingsStore& settings, OperatorDialogs& dialogs, std::unique_ptr<SerialPort> mscomm1,
          std::unique_ptr<SerialPort> mscomm2, QWidget* parent = nullptr);
    ~Form1() override;

    SettingsStore& settings() { return settings_; }
    OperatorDialogs& dialogs() { return dialogs_; }
    ProbeLink& link() { return link_; }
    StationState& state() { return state_; }
    ResultViews& views() { return views_; }
    SerialPort& probePort() { return *MSComm1; }
    SerialPort& scalePort() { return *MSComm2; }
    // Keep the ports open through a device's loss and return.
    PortWatch& probePortWatch() { return probeWatch_; }
    PortWatch& scalePortWatch() { return scaleWatch_; }

    // Status bar panels 1..7; other numbers are ignored (read back as empty).
    void SetStatusPanel(int panel, const QString& text);
    void SetStatusPanelTip(int panel, const QString& tip);
    QString StatusPanel(int panel) const;
    QString StatusPanelTip(int panel) const;
    // Panel 5: the current log file, shortened when long, with its tooltip.
    void ShowLogFilePath();

    // A menu, submenu or entry by its station name; nullptr for an unknown name.
    QAction* MenuAction(const QString& objectName) const;
    // A control of the window by its station name (e.g. "txtCarcassCounter").
    template <class T>
    T* Control(const char* objectName) const { return findChild<T*>(QString::fromLatin1(objectName)); }

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
    void RegisterStationWindow(QWidget* window);

    // Results: dispatch of probe messages, the current carcass window, showing and logging.
    StationResults& results() { return *results_; }
    // Real-time printing, printer status, the print dialog (Form1Printing.cpp).
    PrintCommands& printing() { return *printing_; }
    void ChooseLogFile();             // OpenLogFile button, mnuLog
    void LoadCurrentCarcassWindow();  // start-up, weighing switched off
    void FinishCarcass();             // CmdFinish

    // Log viewer, find, row deletion and class summary (Form1LogViewer.cpp, Form1Find.cpp,
    // Form1Summary.cpp).
    void ChooseTemplate(int templateNumber);  // mnuD1..mnuD9, mnuhamcolour
    void ToggleLogView();                     // Pause, mnuView
    bool ViewingLog() const { return link_.stationPaused() && !state_.viewedLogFile.empty(); }
    void ShowFindDialog();                    // CmdFind, mnuFind
    void FindInTerminal();                    // frmFind's Find button
    FindState& findState() { return viewer_.find; }
    void DeleteRow();                         // cmdDel, mnuDel, the Delete key on the grid
    void ToggleSummary();                     // CmdSummary, mnuSummary
    // Ends summary mode without reloading (choosing another log file loads that one).
    void LeaveSummaryMode();
    // Carcasses whose weight and probe result are not yet together; the summary refuses to
    // count while there are any. Answered by the pairing queue.
    std::function<int()> pendingCarcassCount = [] { return 0; };

    // Each complete probe message (type letter first); by default the dispatch.
    std::function<void(const std::string&)> onProbeMessage;
    // The scale half of the receive tick; runs before the probe half.
    std::function<void()> onScaleTick;

    const ElapsedClock& elapsedClock() const { return elapsed_; }

    // The scale models' options: the Mettler-Toledo and Wedderburn flags and the header scales'
    // fields, as the scale port set-up loads them and the port dialogs edit them.
    ScaleOptions scaleOptions;
    // The device a port number stands for (see PortDeviceMap); unset: as the settings map it.
    std::function<QString(int port)> deviceForPort;
    // Shows a port settings dialog modally (the probe's or a scale model's); true when OK
    // applied it. Form1PortDialogs.cpp.
    bool OpenPortDialog(PortDialogKind kind);

    // Timers, named as the station knows them.
    QTimer RxTimer;       // 50 ms receive tick
    QTimer Clock;         // 1000 ms elapsed time
    QTimer TimerPStatus;  // 100 ms printer status poll, off until real-time printing

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Form1Controls.cpp
    void BuildControls();
    QFrame* BuildStatusFrame(QWidget* parent);
    QWidget* BuildDetailFrames(QWidget* parent);
    void BuildStatusBar();
    QToolButton* AddToolButton(QWidget* parent, const char* name, const QIcon& icon);
    // Form1Menus.cpp
    void BuildMenus();
    void WireMenus();
    // Form1Printing.cpp
    void WirePrintingMenus();
    // Form1PortDialogs.cpp
    void WirePortDialogMenus();
    PortDialogDeps PortDialogDepsFor(PortDialogKind kind);
    // Form1Indicators.cpp
    void ShowIndicators();
    // Form1ShutDown.cpp
    void AskToExit(bool saveGeometryFirst);
    void CloseStationWindows();
    // Form1StartUp.cpp
    void StartUpProbePort();
    void StartUpWeighingOff();
    void StartUpAnalysisType();
    void StartUpLoadLog();
    // Form1LogViewer.cpp, Form1Find.cpp, Form1Summary.cpp
    void WireLogViewerMenus();
    std::string ViewLogFile();
    // The pane shows below the grid while the summary, a viewed log or the find dialog needs it.
    bool TerminalWanted() const;
    void ShowTerminalAsNeeded(LayoutTrigger trigger);
    // Trims the grid's height so that its viewport holds whole rows: scrolled to the end, the
    // top row is then never cut.
    void FitGridToWholeRows();

    void OnClockTick();
    void OnReceiveTimer();
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
    std::unique_ptr<SerialPort> MSComm1;
    std::unique_ptr<SerialPort> MSComm2;
    ProbeLink link_;
    PortWatch probeWatch_;
    PortWatch scaleWatch_;
    StationState state_;
    ResultViews views_;
    ElapsedClock elapsed_;
    StationResults* results_ = nullptr;
    PrintCommands* printing_ = nullptr;
    bool isShow_ = false;
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
    LedIndicator* TxLED = nullptr;
    LedIndicator* TxLED2 = nullptr;
    LedIndicator* RxLED = nullptr;
    LedIndicator* RxLED2 = nullptr;
    std::array<QLabel*, kStatusPanels> panels_{};
};
