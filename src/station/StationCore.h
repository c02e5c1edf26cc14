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
#include "station/DownloadLink.h"
#include "station/LinkCommandSink.h"
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
#include <optional>
#include <string>

class StationCore : public QObject {
    Q_OBJECT
public:
    StationCore(std::unique_ptr<SerialPort> probePort, std::unique_ptr<SerialPort> scalePort,
                LogFileSystem& fileSystem = PosixLogFileSystem(), QObject* parent = nullptr);
    ~StationCore() override;

    // What the windows read; nothing here changes the station.
    const SerialPort& probePort() const { return *probePort_; }
    const SerialPort& scalePort() const { return *scalePort_; }
    const PortWatch& probePortWatch() const { return probeWatch_; }
    const PortWatch& scalePortWatch() const { return scaleWatch_; }
    const ProbeLink& link() const { return link_; }
    // Carcasses whose weight and probe result are not yet together.
    const PendingQueue& pendingQueue() const { return pendingQueue_; }
    const ReceiveTick& receiveTick() const { return receiveTick_; }
    // The operator's weighing choices: weight source, sequence, weight in the equation.
    const WeighingState& weighingState() const { return weighingState_; }
    // Each finished record on its way to the current log file, which it names.
    const ResultLog& resultLog() const { return resultLog_; }
    // Each finished record's line in the current template and its real-time printing.
    const ResultFinishing& resultFinishing() const { return resultFinishing_; }
    // What each pairing shows, held for the windows, which follow it and write into it what the
    // operator types.
    PairingDisplayModel& mainDisplay() { return pairings_.mainDisplay(); }
    PairingDisplayModel& currentDisplay() { return pairings_.currentDisplay(); }
    const ScaleOptions& scaleOptions() const { return scaleOptions_; }

    // The core's parts themselves, for the main window that wires its result views and port
    // dialogs to them, and for tests; every other window asks through the operations below.
    struct Parts {
        SerialPort& probePort;
        SerialPort& scalePort;
        PortWatch& probePortWatch;
        PortWatch& scalePortWatch;
        ProbeLink& link;
        ScaleCollector& scaleCollector;
        PendingQueue& pendingQueue;
        ReceiveTick& receiveTick;
        WeighingState& weighingState;
        ResultLog& resultLog;
        ResultFinishing& resultFinishing;
        OperatorNotices& notices;
        // Each probe message the link takes, dispatched into the current probe result.
        ProbeResults& probeResults;
        StationPairings& pairings;
        ScaleOptions& scaleOptions;
        ScaleWeightReader& scaleReader;
    };
    Parts parts();

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
    // Tells the probe to expect new firmware (when the link is up) and lends the probe port to
    // the download until the hold is released or destroyed.
    std::unique_ptr<DownloadLink> holdLinkForDownload();
    // Queues a command for the probe when the link is up; false (nothing queued) when it is down.
    bool tellProbe(const std::string& command);
    // Queues a command for the probe whatever the link's state: it goes when the probe asks.
    void queueProbeCommand(const std::string& command) { link_.QueueProbeCommand(command); }
    // A port and its watch lent to its settings dialog, which sets its line anew and opens it.
    struct PortForSetUp {
        SerialPort& port;
        PortWatch& watch;
    };
    PortForSetUp probePortForSetUp() { return {*probePort_, probeWatch_}; }
    PortForSetUp scalePortForSetUp() { return {*scalePort_, scaleWatch_}; }
    // Another device may hold another probe: the link starts afresh, as after a device's return.
    void restartLink() { link_.OnPortBack(); }

    // Start-up: the link's run-time state afresh, no weight prompt shown, '.' the decimal mark.
    void resetForStartUp();
    // The receive tick runs; stop() also closes both ports (the window is closing).
    void start();
    void stop();
    // The display template (1..10) every result line is laid out in.
    void chooseTemplate(int templateNumber) { resultFinishing_.SetTemplateNumber(templateNumber); }
    // The log file each finished record goes to from now on; empty: none.
    void chooseLogFile(const std::string& path) { resultLog_.SetLogFilePath(path); }
    // Told of each change the station makes to the log (the plant database's journal).
    void observeLog(LogChangeObserver* observer) { resultLog_.SetLogChangeObserver(observer); }

    // The weighing choices. A source without a scale port closes it; no weight also takes the
    // weight out of the equation.
    void setWeightSource(WeightSource source);
    void setWeightInEquation(bool use) { weighingState_.useWeightInEquation = use; }
    // The other sequence drops the waiting halves; none when it is the sequence already.
    std::optional<SequenceChange> setSequence(bool weightBeforeProbe)
    {
        return ChangeSequence(weighingState_, pendingQueue_, weightBeforeProbe);
    }
    // All three at once (start-up), with nothing waiting.
    void setWeighing(WeightSource source, bool weightBeforeProbe, bool useWeightInEquation);
    // The main window's weight box took a typed weight (its range question already answered).
    void acceptTypedWeight() { pairings_.AcceptTypedWeight(PairingWindow::Main); }
    int HeldMessages() const { return received_.HeldCount(); }

    // The probe port's number, line settings and handshaking from the store, then opened (or
    // left to its watch); true when open.
    bool SetUpProbePort(const SettingsStore& settings) { return ::SetUpProbePort(settings, *probePort_, probeWatch_); }
    // The scale port set up for a model from the stored settings, with that model's message
    // options (as last loaded or edited in its dialog).
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
    LinkCommandSink linkCommands_{link_};
    StationPairings pairings_{StationPairingLinks{weighingState_, probeResults_.current(), pendingQueue_, linkCommands_,
                                                  scaleReader_, notices_}};
    ReceivedMessages received_{probeResults_, resultLog_, pairings_, pendingQueue_, notices_};
};
