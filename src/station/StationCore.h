#pragma once
// The station's work apart from any window: both serial ports and their watches, the probe
// link, the scale collector, the queue of half-processed carcasses, the pairings that fill and
// empty it, and the receive tick. It says
// what happened through signals; whoever shows things (the main window today) listens.

#include "carcass/ParsedScaleReader.h"
#include "carcass/PendingQueue.h"
#include "probe/OperatorNotices.h"
#include "probe/PortWatch.h"
#include "probe/ProbeLink.h"
#include "probe/SerialPort.h"
#include "station/ProbePortSetUp.h"
#include "station/ProbeResults.h"
#include "station/ReceiveTick.h"
#include "station/ReceivedMessages.h"
#include "station/ResultFinishing.h"
#include "station/ResultLog.h"
#include "station/ScalePortSetUp.h"
#include "station/StationPairings.h"
#include "weighing/ScaleCollector.h"
#include "weighing/WeighingState.h"

#include <QObject>
#include <QString>
#include <memory>

class StationCore : public QObject {
    Q_OBJECT
public:
    StationCore(std::unique_ptr<SerialPort> probePort, std::unique_ptr<SerialPort> scalePort,
                LogFileSystem& fileSystem = PosixLogFileSystem(), QObject* parent = nullptr);
    ~StationCore() override;

    SerialPort& probePort() { return *probePort_; }
    SerialPort& scalePort() { return *scalePort_; }
    // Keep the ports open through a device's loss and return.
    PortWatch& probePortWatch() { return probeWatch_; }
    PortWatch& scalePortWatch() { return scaleWatch_; }
    ProbeLink& link() { return link_; }
    const ProbeLink& link() const { return link_; }
    ScaleCollector& scaleCollector() { return scaleCollector_; }
    // Carcasses whose weight and probe result are not yet together.
    PendingQueue& pendingQueue() { return pendingQueue_; }
    const PendingQueue& pendingQueue() const { return pendingQueue_; }
    ReceiveTick& receiveTick() { return receiveTick_; }
    // The operator's weighing choices: weight source, sequence, weight in the equation.
    WeighingState& weighingState() { return weighingState_; }
    const WeighingState& weighingState() const { return weighingState_; }
    // Each finished record on its way to the current log file, which it names.
    ResultLog& resultLog() { return resultLog_; }
    const ResultLog& resultLog() const { return resultLog_; }
    // Each finished record's line in the current template, its real-time printing and its way
    // to the log.
    ResultFinishing& resultFinishing() { return resultFinishing_; }
    // Notices raised by the station's steps, told through notice(): they never wait.
    OperatorNotices& notices() { return notices_; }
    // Each probe message the link takes, dispatched into the current probe result; what the
    // windows show is told by its signals.
    ProbeResults& probeResults() { return probeResults_; }
    // Every probe result and scale weight paired, with what each pairing shows held for the
    // windows.
    StationPairings& pairings() { return pairings_; }

    // The journal of received messages: opened at start-up, before the first poll is answered,
    // it brings back what the last run had not finished (the count is returned); closed at the
    // end with what is still held.
    int OpenReceivedJournal(const std::string& path) { return received_.Open(path); }
    // True when the journal keeps records that wait for the log file.
    bool CloseReceivedJournal() { return received_.Close(); }
    // A pause (a log being viewed) holds every probe message, kept and acknowledged, until it
    // ends; then they are dispatched in order.
    void SetPaused(bool paused);
    bool Paused() const { return link_.stationPaused(); }
    // A log file is viewed: the probe shows the station locked and its messages are held.
    void pauseForLogView();
    // The view is over (or never began): the probe's prompt ends and the held messages follow.
    void resume();
    // Ends the prompt on the probe's display, when the link is up.
    void endProbePrompt();
    // Blanks the probe's display, when the link is up (the class summary is shown).
    void blankProbeDisplay();
    // Tells the probe to expect new firmware, when the link is up.
    void announceFirmwareDownload();
    int HeldMessages() const { return received_.HeldCount(); }

    // The scale side: every model's message options (as last loaded or edited in its dialog),
    // the last scale message read through the weight source's parser, and the scale port set
    // up for a model from the stored settings.
    ScaleOptions& scaleOptions() { return scaleOptions_; }
    ScaleWeightReader& scaleReader() { return scaleReader_; }
    // The probe port's number, line settings and handshaking from the store, then opened (or
    // left to its watch); true when open.
    bool SetUpProbePort(const SettingsStore& settings) { return ::SetUpProbePort(settings, *probePort_, probeWatch_); }
    ScalePortSetUp SetUpScalePort(WeightSource model, SettingsStore& settings)
    {
        return ::SetUpScalePort(model, settings, *scalePort_, scaleWatch_, scaleOptions_);
    }

signals:
    // The scale collector holds a new message (inside the tick).
    void weightArrived();
    // The probe fell silent or its port went away; and heard again.
    void linkLost();
    void linkBack();
    // `hungUp`: an open port's device went away, rather than a port that did not open.
    void probePortLost(const QString& reason, bool hungUp);
    void probePortBack();
    void scalePortLost(const QString& reason, bool hungUp);
    void scalePortBack();
    void notice(const QString& text, const QString& title, MessageIcon icon);
    // Told at the end of the tick in which the count changed.
    void pendingCountChanged(int count);
    // The pause began or ended, or it holds one more message.
    void pauseChanged(bool paused, int heldMessages);

private:
    class SignalNotices : public OperatorNotices {
    public:
        explicit SignalNotices(StationCore& core)
            : core_(core)
        {}
        void Notify(const QString& text, const QString& title, MessageIcon icon) override
        {
            emit core_.notice(text, title, icon);
        }

    private:
        StationCore& core_;
    };

    // The link's command ring as the pairings see it.
    class LinkCommands : public ProbeCommandSink {
    public:
        explicit LinkCommands(ProbeLink& link)
            : link_(link)
        {}
        void QueueProbeCommand(const std::string& text) override { link_.QueueProbeCommand(text); }

    private:
        ProbeLink& link_;
    };

    void AfterTick();

    std::unique_ptr<SerialPort> probePort_;
    std::unique_ptr<SerialPort> scalePort_;
    ProbeLink link_;
    PortWatch probeWatch_;
    PortWatch scaleWatch_;
    ScaleCollector scaleCollector_;
    PendingQueue pendingQueue_;
    ReceiveTick receiveTick_;
    SignalNotices notices_{*this};
    WeighingState weighingState_;
    ResultLog resultLog_;
    ResultFinishing resultFinishing_;
    ProbeResults probeResults_;
    bool linkWasAlive_ = false;
    int pendingSeen_ = 0;

    ScaleOptions scaleOptions_;
    ParsedScaleReader scaleReader_{scaleCollector_.scaleMessage(), scaleOptions_};
    LinkCommands linkCommands_{link_};
    StationPairings pairings_{StationPairingLinks{weighingState_, probeResults_.current(), pendingQueue_, linkCommands_,
                                                  scaleReader_, notices_}};
    ReceivedMessages received_{probeResults_, resultLog_, pairings_, pendingQueue_, notices_};
};
