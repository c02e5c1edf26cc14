#include "mainwindow/MainWindow.h"
#include "mainwindow/PauseBanner.h"
#include "resources/StatusPanels.h"

#include "carcasswindow/WeighingControls.h"
#include "firmware/FirmwareUpdate.h"
#include "help/HelpMenus.h"
#include "logviewer/LogViewer.h"
#include "mainwindow/NoticeStrip.h"
#include "mainwindow/StationResults.h"
#include "ports/PortDialogMenus.h"
#include "printviews/PrintCommands.h"
#include "probecommands/ProbeCommandMenus.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "station/NoticeBoard.h"
#include "widgets/OperatorDialogs.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

MainWindow::MainWindow(SettingsStore& settings, OperatorDialogs& dialogs, std::unique_ptr<SerialPort> probePort,
                       std::unique_ptr<SerialPort> scalePort, const PortDeviceMap* portDevices, QWidget* parent)
    : QMainWindow(parent)
    , settings_(settings)
    , dialogs_(dialogs)
    , core_(std::make_unique<StationCore>(std::move(probePort), std::move(scalePort)))
{
    setObjectName(QStringLiteral("Form1"));
    // The caption's id; start-up replaces it with the full caption with the version.
    setProperty("tag", QStringLiteral("1081"));

    // A child, so that the tick's timer is found by its name from here.
    core_->setParent(this);
    clock_.setObjectName(QStringLiteral("Clock"));
    clock_.setParent(this);
    clock_.setInterval(1000);
    // The link comes and goes inside the tick (the first poll, a scale message, silence); Find
    // and Print follow it from the first poll on.
    connect(&core_->receiveTick(), &ReceiveTick::tickEnded, this, &MainWindow::RefreshFindPrint);
    connect(&clock_, &QTimer::timeout, this, &MainWindow::OnClockTick);

    // Before anything can tell the operator something.
    notices_ = new NoticeBoard(this);
    addToolBar(Qt::TopToolBarArea, new NoticeStrip(*notices_, this));
    dialogs_.ShowNoticesOn(notices_);

    BuildControls();
    BuildMenus();
    WireMenus();
    const auto menu = [this](const QString& name) { return MenuAction(name); };
    new ProbeCommandMenus(*core_, settings_, dialogs_, menu, this);
    new HelpMenus(dialogs_, menu, this);
    connect(new FirmwareUpdate(*core_, dialogs_, menu, this), &FirmwareUpdate::linkHeldChanged, this,
            &MainWindow::SetLinkHeld);
    // The composition: the port dialogs edit the scale options and the result views follow the
    // core's results, pairings and log themselves.
    const StationCore::Parts parts = core_->parts();
    portDialogs_ = new PortDialogMenus({*core_, settings_, dialogs_, parts.scaleOptions, portDevices,
                                        [this](int panel, const QString& text) { SetStatusPanel(panel, text); }},
                                       menu, this);
    connect(portDialogs_, &PortDialogMenus::probePortReopened, this, [this] {
        ShowProbePort();
        SetStatusPanel(StatusPanel::ProbeStatus, ResourceText(StringId::ConnectProbe));
    });

    WireLink();
    connect(core_.get(), &StationCore::pauseChanged, this, [this](bool paused, int held) {
        pauseBanner_->ShowState(paused, held);
        pauseBanner_->Place(resultGrid->x(), resultGrid->y(), resultGrid->width());
    });
    connect(
        core_.get(), &StationCore::notice, this,
        [this](const QString& text, const QString& title, MessageIcon icon) { dialogs_.Notify(text, title, icon); });
    results_ = new StationResults(StationResultsLinks{views_, parts.weighingState, dialogs_, settings_, parts.link,
                                                      parts.pairings, parts.probeResults, parts.resultLog,
                                                      parts.resultFinishing, *this, this,
                                                      [this] { return logViewer_ && logViewer_->summaryShown(); }},
                                  PosixLogFileSystem(), this);
    WireWeighing();
    ShowIndicators();
}

MainWindow::~MainWindow()
{
    clock_.stop();
}

void MainWindow::WireLink()
{
    // The link tells what happened; the window decides where it shows.
    connect(core_.get(), &StationCore::linkLost, this,
            [this] { SetStatusPanel(StatusPanel::ProbeStatus, ResourceText(StringId::ProbeConnectionLost)); });
    connect(&core_->link(), &ProbeLink::probeStatusCleared, this,
            [this] { SetStatusPanel(StatusPanel::ProbeStatus, QString()); });
    connect(&core_->link(), &ProbeLink::serialNumberChanged, this,
            [this](const QString& serial) { SetStatusPanel(StatusPanel::ProbeSerial, serial); });
    connect(&core_->link(), &ProbeLink::indicatorsChanged, this, &MainWindow::ShowIndicators);
    connect(&core_->link(), &ProbeLink::templateMenuAllowed, this, [this] {
        if (QAction* dis = MenuAction(QStringLiteral("mnuDis")))
            dis->setEnabled(true);
    });
    connect(core_.get(), &StationCore::probePortLost, this, &MainWindow::ShowProbePort);
    connect(core_.get(), &StationCore::probePortBack, this, [this] {
        ShowProbePort();
        SetStatusPanel(StatusPanel::ProbeStatus, ResourceText(StringId::ConnectProbe));
    });
}

void MainWindow::ShowProbePort()
{
    const QString port = QString::fromLatin1(SettingsStore::PortNumberText(core_->probePort().CommPort()).c_str());
    if (!core_->probePortWatch().Lost()) {
        SetStatusPanel(StatusPanel::ProbePort, port);
        SetStatusPanelTip(StatusPanel::ProbePort, ResourceText(StringId::ProbePortTip));
        return;
    }
    SetStatusPanel(StatusPanel::ProbePort, port + QStringLiteral(" (no device)"));
    SetStatusPanelTip(StatusPanel::ProbePort,
                      QStringLiteral("%1: %2\nTrying to open it again every second.")
                          .arg(ResourceText(StringId::ProbePortTip), core_->probePortWatch().LostReason()));
}

void MainWindow::OnClockTick()
{
    elapsed_.Tick();
    SetStatusPanel(StatusPanel::Elapsed, QString::fromStdString(elapsed_.Text()));
}

void MainWindow::SetStatusPanel(int panel, const QString& text)
{
    if (panel >= 1 && panel <= kStatusPanels)
        panels_[panel - 1]->setText(text);
}

void MainWindow::SetStatusPanelTip(int panel, const QString& tip)
{
    if (panel >= 1 && panel <= kStatusPanels)
        panels_[panel - 1]->setToolTip(tip);
}

QString MainWindow::StatusPanel(int panel) const
{
    return panel >= 1 && panel <= kStatusPanels ? panels_[panel - 1]->text() : QString();
}

QString MainWindow::StatusPanelTip(int panel) const
{
    return panel >= 1 && panel <= kStatusPanels ? panels_[panel - 1]->toolTip() : QString();
}

QAction* MainWindow::MenuAction(const QString& objectName) const
{
    return menus_.value(objectName, nullptr);
}

bool MainWindow::NoWeightTicked() const
{
    const QAction* none = MenuAction(QStringLiteral("mnuWgtNon"));
    return none && none->isChecked();
}

int MainWindow::PxX(double twips) const
{
    return TwipsToPixelsX(*this, twips);
}
int MainWindow::PxY(double twips) const
{
    return TwipsToPixelsY(*this, twips);
}
double MainWindow::TwX(double pixels) const
{
    return PixelsToTwipsX(*this, pixels);
}
double MainWindow::TwY(double pixels) const
{
    return PixelsToTwipsY(*this, pixels);
}
