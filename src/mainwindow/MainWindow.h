#pragma once
// The station's main window over the station core (StationCore: both serial ports, the probe
// link, the scale collector, the pending queue, the receive tick, result finishing and the log):
// the result grid and terminal pane, the detail frames, the status bar and the whole menu, showing
// what the core tells.
//
// The window's code is split by concern: MainWindow.cpp (ownership, the core's signals, status bar
// access), MainWindowControls.cpp (building the controls), MainWindowMenus.cpp (menu tree and its
// wiring), MainWindowStartUp.cpp, MainWindowLayout.cpp, MainWindowIndicators.cpp,
// MainWindowKeyboard.cpp, MainWindowShutDown.cpp, MainWindowLogFile.cpp. Each capability's window
// code is a class of its own in its folder, built here and given the core and the parts it needs:
// WeighingControls (MainWindowWeighing.cpp), LogViewer (MainWindowLogViewer.cpp), PrintCommands
// (MainWindowPrinting.cpp), PortDialogMenus, ProbeCommandMenus, FirmwareUpdate, HelpMenus.

#include "layout/LayoutGeometry.h"
#include "logviews/ResultView.h"
#include "ports/PortDialogMenus.h"
#include "probe/SerialPort.h"
#include "station/ElapsedClock.h"
#include "station/StationCore.h"
#include "widgets/StationWindowAccess.h"

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

class CurrentCarcassWindow;
class LogViewer;
class OperatorDialogs;
class PortDeviceMap;
class PrintCommands;
class ScaleCollector;
class WeighingControls;
enum class PortDialogKind;
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
class NoticeBoard;
class StationDatabase;
class StationResults;
class TerminalPane;

class PauseBanner;

class MainWindow : public QMainWindow, public StationWindowAccess {
    Q_OBJECT
public:
    static constexpr int kStatusPanels = 7;

    MainWindow(SettingsStore& settings, OperatorDialogs& dialogs, std::unique_ptr<SerialPort> probePort,
               std::unique_ptr<SerialPort> scalePort, const PortDeviceMap* portDevices = nullptr,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    SettingsStore& settings() { return settings_; }
    OperatorDialogs& dialogs() { return dialogs_; }
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

    // The start-up steps, in order; called once after construction. `withWeighing`: the weight
    // source, sequence and equation come from the store and the Sequence and Weight menus show,
    // instead of switching weighing off.
    void StartUp(bool withWeighing = false);

    // cmdHide: compact <-> detail layout.
    void ToggleLayout();
    bool isShow() const { return isShow_; }
    // Places the grid (and the terminal pane while the summary shows) for the current layout.
    void PlaceViews(bool onResize);
    void PlaceViews(LayoutTrigger trigger);
    // Fits the grid's height to whole rows, ending at its last row.
    void FitGridToLastRows();
    // Find and Print are usable while the probe link works or the station is paused.
    void RefreshFindPrint();

    // Ticks the entry of the current template, lays the grid out for it and shows its title.
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
    // The notices shown in the strip under the buttons; anything may post to it.
    NoticeBoard& notices() { return *notices_; }
    // Real-time printing, printer status, the print dialog (src/printing).
    PrintCommands& printing() { return *printing_; }
    void ChooseLogFile();         // OpenLogFile button
    void ChooseLogFileFromMenu(); // mnuLog: refused while carcasses are half processed

    // Log viewer, find, row deletion and class summary with its charts (src/logviewer).
    LogViewer& logViewer() { return *logViewer_; }
    // Ends summary mode without reloading (choosing another log file loads that one).
    void LeaveSummaryMode() override;

    // Weighing: the Weight and Sequence menus, the scale port, the current carcass window and
    // this window's own pairing (MainWindowWeighing.cpp builds it).
    WeighingControls& weighing() { return *weighing_; }

    // The port settings dialogs (the probe's from the Settings menu, a scale model's on request).
    PortDialogMenus& portDialogs() { return *portDialogs_; }

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
    // MainWindowWeighing.cpp
    void WireWeighing();
    // MainWindowIndicators.cpp
    void ShowIndicators();
    // A firmware download holds the link (its receive tick paused): the link lamp shows it
    // paused until the download ends.
    void SetLinkHeld(bool held);
    // MainWindowKeyboard.cpp: tooltips of the toolbar buttons, function keys of those without a menu
    // entry.
    void SetUpToolbarKeys();
    // MainWindowShutDown.cpp
    void AskToExit(bool saveGeometryFirst);
    void CloseStationWindows();
    // MainWindowStartUp.cpp
    void StartUpProbePort();
    void StartUpAnalysisType();
    void StartUpLoadLog();
    // MainWindowLogViewer.cpp
    void WireLogViewerMenus();
    // Trims the grid's height so that its viewport holds whole rows: scrolled to the end, the
    // top row is then never cut.
    void FitGridToWholeRows();

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
    ResultViews views_;
    ElapsedClock elapsed_;
    QTimer clock_; // "Clock": 1000 ms elapsed time, found by its name
    StationResults* results_ = nullptr;
    StationDatabase* database_ = nullptr;
    NoticeBoard* notices_ = nullptr;
    PrintCommands* printing_ = nullptr;
    PortDialogMenus* portDialogs_ = nullptr;
    std::unique_ptr<WeighingControls> weighing_;
    bool isShow_ = false;
    bool linkHeld_ = false;
    bool quietShutDown_ = false;
    std::string printHeaderLine_;
    LogViewer* logViewer_ = nullptr;

    QHash<QString, QAction*> menus_;
    QList<QPointer<QWidget>> stationWindows_;

    // Controls the window's own code reaches often; every control also carries its station
    // name as objectName.
    QWidget* central_ = nullptr;
    QFrame* statusFrame = nullptr;
    QWidget* detailFrames_ = nullptr;
    QGroupBox* weightFrame = nullptr;
    QGroupBox* resultFrame = nullptr;
    QGroupBox* pendingFrame = nullptr;
    QGroupBox* errorFrame = nullptr;
    QLineEdit* weightBox = nullptr;
    QLineEdit* pairedWeightBox = nullptr;
    QLineEdit* errorBox = nullptr;
    PauseBanner* pauseBanner_ = nullptr;
    QLabel* weightCaption = nullptr;
    QLabel* Title = nullptr;
    QTableView* resultGrid = nullptr;
    ResultGridModel* gridModel_ = nullptr;
    TerminalPane* terminalPane = nullptr;
    QToolButton* OpenLogFile = nullptr;
    QToolButton* findButton = nullptr;
    QToolButton* printButton = nullptr;
    QToolButton* summaryButton = nullptr;
    QToolButton* hideButton = nullptr;
    QToolButton* exitButton = nullptr;
    QLabel* linkLabel = nullptr;
    QLabel* txLabel = nullptr;
    QLabel* rxLabel = nullptr;
    LedIndicator* commLamp1 = nullptr;
    LedIndicator* commLamp2 = nullptr;
    LedIndicator* ErrLED = nullptr;
    LedIndicator* CommLEDHeld = nullptr; // the link held by a firmware download
    LedIndicator* TxLED = nullptr;
    LedIndicator* TxLED2 = nullptr;
    LedIndicator* RxLED = nullptr;
    LedIndicator* RxLED2 = nullptr;
    std::array<QLabel*, kStatusPanels> panels_{};
};
