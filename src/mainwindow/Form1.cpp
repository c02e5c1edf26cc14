#include "mainwindow/Form1.h"

#include "carcass/CarcassPairing.h"
#include "carcass/ParsedScaleReader.h"
#include "mainwindow/LinkCommandSink.h"
#include "mainwindow/MainPairingDisplay.h"
#include "mainwindow/OperatorDialogs.h"
#include "mainwindow/StationResults.h"
#include "printing/PrintCommands.h"
#include "resources/StringTable.h"
#include "resources/Twips.h"
#include "settings/SettingsStore.h"
#include "weighing/ScaleCollector.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

Form1::Form1(SettingsStore& settings, OperatorDialogs& dialogs, std::unique_ptr<SerialPort> mscomm1,
             std::unique_ptr<SerialPort> mscomm2, QWidget* parent)
    : QMainWindow(parent)
    , settings_(settings)
    , dialogs_(dialogs)
    , core_(std::make_unique<StationCore>(std::move(mscomm1), std::move(mscomm2)))
    , state_(core_->state())
{
    setObjectName(QStringLiteral("Form1"));
    // The caption's id; start-up replaces it with the full caption with the version.
    setProperty("tag", QStringLiteral("1081"));

    // A child, so that the tick's timer is found by its name from here.
    core_->setParent(this);
    Clock.setObjectName(QStringLiteral("Clock"));
    Clock.setInterval(1000);
    TimerPStatus.setObjectName(QStringLiteral("TimerPStatus"));
    TimerPStatus.setInterval(100);
    // The link comes and goes inside the tick (the first poll, a scale message, silence); Find
    // and Print follow it from the first poll on.
    connect(&core_->receiveTick(), &ReceiveTick::tickEnded, this, &Form1::RefreshFindPrint);
    connect(&Clock, &QTimer::timeout, this, &Form1::OnClockTick);

    BuildControls();
    BuildMenus();
    WireMenus();

    WireLink();
    scaleReader_ = std::make_unique<ParsedScaleReader>(core_->scaleCollector().strWgtScale(), scaleOptions);
    linkCommands_ = std::make_unique<LinkCommandSink>(core_->link());
    connect(
        core_.get(), &StationCore::notice, this,
        [this](const QString& text, const QString& title, MessageIcon icon) { dialogs_.Notify(text, title, icon); });
    results_ = new StationResults(StationResultsLinks{views_, state_, core_->pendingQueue(), dialogs_, settings_,
                                                      core_->link(), *linkCommands_, *scaleReader_,
                                                      core_->resultFinishing(), *this, this},
                                  PosixLogFileSystem(), this);
    connect(&core_->resultFinishing(), &ResultFinishing::lineToPrint, this,
            [this](const std::string& line) { printing_->PrintResultLine(line); });
    // What is drawn from the log file, such as the class summary, follows each record.
    connect(&core_->resultLog(), &ResultLog::recordLogged, this, &Form1::RefreshSummary);
    WireWeighing();
    onProbeMessage = [this](const std::string& message) { results_->OnProbeMessage(message); };
    ShowIndicators();
}

Form1::~Form1()
{
    Clock.stop();
    TimerPStatus.stop();
}

void Form1::WireLink()
{
    // The link tells what happened; the window decides where it shows.
    connect(core_.get(), &StationCore::linkLost, this, [this] { SetStatusPanel(1, ResourceText(1132)); });
    connect(&core_->link(), &ProbeLink::probeStatusCleared, this, [this] { SetStatusPanel(1, QString()); });
    connect(&core_->link(), &ProbeLink::serialNumberChanged, this,
            [this](const QString& serial) { SetStatusPanel(6, serial); });
    connect(&core_->link(), &ProbeLink::indicatorsChanged, this, &Form1::ShowIndicators);
    connect(&core_->link(), &ProbeLink::templateMenuAllowed, this, [this] {
        if (QAction* dis = MenuAction(QStringLiteral("mnuDis")))
            dis->setEnabled(true);
    });
    connect(&core_->link(), &ProbeLink::dataPollAccepted, this, [this] {
        // Manual weighing: the operator types the weight as soon as the probe offers a result.
        if (state_.weightSource == WeightSource::ManualInput) {
            txtWeight->setEnabled(true);
            txtWeight->setFocus();
        }
    });
    connect(&core_->link(), &ProbeLink::messageReceived, this, [this](const std::string& message) {
        if (onProbeMessage)
            onProbeMessage(message);
    });
    connect(core_.get(), &StationCore::probePortLost, this, &Form1::ShowProbePort);
    connect(core_.get(), &StationCore::probePortBack, this, [this] {
        ShowProbePort();
        SetStatusPanel(1, ResourceText(1099));
    });
}

void Form1::ShowProbePort()
{
    const QString port = QString::fromLatin1(SettingsStore::PortNumberText(core_->probePort().CommPort()).c_str());
    if (!core_->probePortWatch().Lost()) {
        SetStatusPanel(2, port);
        SetStatusPanelTip(2, ResourceText(1152));
        return;
    }
    SetStatusPanel(2, port + QStringLiteral(" (no device)"));
    SetStatusPanelTip(2, QStringLiteral("%1: %2\nTrying to open it again every second.")
                             .arg(ResourceText(1152), core_->probePortWatch().LostReason()));
}

void Form1::OnClockTick()
{
    elapsed_.Tick();
    SetStatusPanel(7, QString::fromStdString(elapsed_.Text()));
}

void Form1::SetStatusPanel(int panel, const QString& text)
{
    if (panel >= 1 && panel <= kStatusPanels)
        panels_[panel - 1]->setText(text);
}

void Form1::SetStatusPanelTip(int panel, const QString& tip)
{
    if (panel >= 1 && panel <= kStatusPanels)
        panels_[panel - 1]->setToolTip(tip);
}

QString Form1::StatusPanel(int panel) const
{
    return panel >= 1 && panel <= kStatusPanels ? panels_[panel - 1]->text() : QString();
}

QString Form1::StatusPanelTip(int panel) const
{
    return panel >= 1 && panel <= kStatusPanels ? panels_[panel - 1]->toolTip() : QString();
}

QAction* Form1::MenuAction(const QString& objectName) const
{
    return menus_.value(objectName, nullptr);
}

bool Form1::NoWeightTicked() const
{
    const QAction* none = MenuAction(QStringLiteral("mnuWgtNon"));
    return none && none->isChecked();
}

int Form1::PxX(double twips) const
{
    return TwipsToPixelsX(*this, twips);
}
int Form1::PxY(double twips) const
{
    return TwipsToPixelsY(*this, twips);
}
double Form1::TwX(double pixels) const
{
    return PixelsToTwipsX(*this, pixels);
}
double Form1::TwY(double pixels) const
{
    return PixelsToTwipsY(*this, pixels);
}
