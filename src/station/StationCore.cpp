#include "station/StationCore.h"

#include "probe/ProbeCommands.h"
StationCore::StationCore(std::unique_ptr<SerialPort> probePort, std::unique_ptr<SerialPort> scalePort,
                         LogFileSystem& fileSystem, QObject* parent)
    : QObject(parent)
    , probePort_(std::move(probePort))
    , scalePort_(std::move(scalePort))
    , link_(*probePort_)
    , probeWatch_(*probePort_)
    , scaleWatch_(*scalePort_)
    , scaleCollector_(*scalePort_)
    , resultLog_(fileSystem, notices_)
    , resultFinishing_(resultLog_)
    , probeResults_(weighingState_, resultFinishing_)
{
    setObjectName(QStringLiteral("StationCore"));
    // Children, so that the window's search by name still finds the tick's timer.
    receiveTick_.setParent(this);
    resultLog_.setParent(this);
    resultFinishing_.setParent(this);

    probeResults_.setParent(this);
    // Each message is kept before the probe is acknowledged, then dispatched (or held by a pause).
    received_.setParent(this);
    link_.SetKeeper(&received_);
    connect(&link_, &ProbeLink::messageReceived, &received_, &ReceivedMessages::OnMessage);
    connect(&received_, &ReceivedMessages::heldCountChanged, this,
            [this](int held) { emit pauseChanged(link_.stationPaused(), held); });
    pairings_.setParent(this);
    pairings_.TakeResultsFrom(probeResults_);

    // The scale half first: a weight taken in this tick pairs before the probe half runs.
    connect(&receiveTick_, &ReceiveTick::scaleHalf, &scaleCollector_, &ScaleCollector::OnScaleTick);
    connect(&receiveTick_, &ReceiveTick::probeHalf, &link_, &ProbeLink::OnReceiveTick);
    connect(&receiveTick_, &ReceiveTick::tickEnded, this, &StationCore::AfterTick);

    // A weight taken goes to the main pairing at once, inside the tick, before it is told.
    connect(&scaleCollector_, &ScaleCollector::weightArrived, this, [this] {
        received_.KeepWeight(scaleCollector_.scaleMessage());
        pairings_.OnWeightArrived(PairingWindow::Main);
    });
    received_.SetWeightReplay([this](const std::string& scaleMessage) {
        scaleCollector_.RestoreMessage(scaleMessage);
        pairings_.OnWeightArrived(PairingWindow::Main);
    });
    connect(&scaleCollector_, &ScaleCollector::weightArrived, this, &StationCore::weightArrived);
    // Traffic on the scale line has always counted as a live link.
    connect(&scaleCollector_, &ScaleCollector::linkAlive, this, [this] { link_.setProbeLinkAlive(true); });

    connect(&link_, &ProbeLink::linkLost, this, [this] {
        linkWasAlive_ = false;
        emit linkLost();
    });
    connect(&probeWatch_, &PortWatch::portLost, this, [this](const QString& reason, bool hungUp) {
        // A port that never opened shows as a link that never comes up; a device that went away
        // is a lost link at once.
        if (hungUp)
            link_.OnPortLost();
        emit probePortLost(reason, hungUp);
    });
    connect(&probeWatch_, &PortWatch::portBack, this, [this] {
        link_.OnPortBack();
        emit probePortBack();
    });
    connect(&scaleWatch_, &PortWatch::portLost, this, &StationCore::scalePortLost);
    connect(&scaleWatch_, &PortWatch::portBack, this, &StationCore::scalePortBack);
}

StationCore::~StationCore()
{
    receiveTick_.pause();
    link_.SetKeeper(nullptr);
}

void StationCore::SetPaused(bool paused)
{
    if (paused == link_.stationPaused())
        return;
    link_.setStationPaused(paused);
    received_.SetPaused(paused);
    emit pauseChanged(paused, received_.HeldCount());
}

void StationCore::pauseForLogView()
{
    SetPaused(true);
    link_.QueueProbeCommand(kStationLockedCommand);
}

void StationCore::resume()
{
    link_.QueueProbeCommand(kEndPromptCommand);
    SetPaused(false);
}

void StationCore::endProbePrompt()
{
    tellProbe(kEndPromptCommand);
}

void StationCore::blankProbeDisplay()
{
    tellProbe(kBlankDisplayCommand);
}

std::unique_ptr<DownloadLink> StationCore::holdLinkForDownload()
{
    tellProbe(kFirmwareDownloadCommand);
    return std::make_unique<DownloadLink>(*probePort_, receiveTick_, [this] {
        return link_.probeLinkAlive() && (link_.Queue().count > 0 || link_.linkState() == ProbeLink::CommandSent);
    });
}

bool StationCore::tellProbe(const std::string& command)
{
    if (!link_.probeLinkAlive())
        return false;
    link_.QueueProbeCommand(command);
    return true;
}

void StationCore::resetForStartUp()
{
    link_.ResetForStartUp();
    weighingState_.weightPromptShown = false;
    weighingState_.decimalMark.assign(1, '.');
}

void StationCore::start()
{
    receiveTick_.resume();
}

void StationCore::stop()
{
    receiveTick_.pause();
    probeWatch_.Close();
    scaleWatch_.Close();
}

void StationCore::setWeightSource(WeightSource source)
{
    weighingState_.weightSource = source;
    if (source == WeightSource::NoWeight)
        weighingState_.useWeightInEquation = false;
    if (source == WeightSource::NoWeight || source == WeightSource::ManualInput)
        scaleWatch_.Close();
}

void StationCore::setWeighing(WeightSource source, bool weightBeforeProbe, bool useWeightInEquation)
{
    weighingState_.weightSource = source;
    weighingState_.weightBeforeProbe = weightBeforeProbe;
    weighingState_.useWeightInEquation = useWeightInEquation;
    pendingQueue_.ResetPendingQueue();
}

StationCore::Parts StationCore::parts()
{
    return Parts{*probePort_,   *scalePort_,    probeWatch_, scaleWatch_,      link_,    scaleCollector_, pendingQueue_,
                 receiveTick_,  weighingState_, resultLog_,  resultFinishing_, notices_, probeResults_,   pairings_,
                 scaleOptions_, scaleReader_};
}

void StationCore::AfterTick()
{
    const bool alive = link_.probeLinkAlive();
    if (alive && !linkWasAlive_)
        emit linkBack();
    linkWasAlive_ = alive;
    received_.Checkpoint();
    if (pendingQueue_.count != pendingSeen_) {
        pendingSeen_ = pendingQueue_.count;
        emit pendingCountChanged(pendingSeen_);
    }
}
