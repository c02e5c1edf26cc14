#pragma once
// The station's side of the polled probe link: collects receptions on the probe port, answers
// data and command polls, takes framed messages, sends queued commands and notices a lost link.

#include "probe/CommandQueue.h"
#include "probe/SerialPort.h"

#include <QObject>
#include <QString>
#include <string>

// Which indicator images show; the main window draws them.
struct LinkIndicators {
    enum class Comm { Off, Led1, Led2 };
    bool rxExpecting = false; // RxLED (a message is expected) instead of RxLED2
    bool txSending = false;   // TxLED (a command frame is out) instead of TxLED2
    Comm comm = Comm::Off;    // CommLED1 / CommLED2 swap at every command poll
    bool error = false;       // ErrLED

    bool operator==(const LinkIndicators&) const = default;
};

// Makes each message durable before the probe is told that it arrived: once acknowledged, the
// probe forgets it, and the station alone holds the carcass.
class ReceivedMessageKeeper {
public:
    virtual ~ReceivedMessageKeeper() = default;
    // True when `message` repeats the one kept last before the station stopped, whose
    // acknowledgement may never have reached the probe: it is acknowledged again, not kept twice.
    virtual bool RepeatsUnacknowledged(const std::string& message) = 0;
    // Keeps `message` (synced) before its acknowledgement goes out.
    virtual void Keep(const std::string& message) = 0;
};

class ProbeLink : public QObject {
    Q_OBJECT
public:
    enum LinkState { Start = 0, Idle = 1, CommandSent = 2, MessageExpected = 3 };

    // A reception this large cannot be a valid message: a noisy or shorted line that never
    // falls quiet is taken as it stands instead of buffering for ever.
    static constexpr int kMaxReception = 4096;

    // Takes the port's line events (OnComm) from here on.
    explicit ProbeLink(SerialPort& port, QObject* parent = nullptr);
    ~ProbeLink() override;

    // The probe half of the 50 ms receive tick.
    void OnReceiveTick();
    // The state machine, with one complete reception.
    void RunLinkStep(const std::string& text);
    // OnComm of the probe port.
    void OnPortEvent();
    // The probe's device went away (the port layer closed it), or came back and is open again:
    // a lost link, and after the return a fresh start, the probe configured again.
    void OnPortLost();
    void OnPortBack();

    // Who keeps each message before it is acknowledged; none: acknowledged at once.
    void SetKeeper(ReceivedMessageKeeper* keeper) { keeper_ = keeper; }

    void QueueProbeCommand(const std::string& text) { queue_.QueueProbeCommand(text); }
    void ResetCommandQueue() { queue_.ResetCommandQueue(); }
    const CommandQueue& Queue() const { return queue_; }

    // Start-up state: link not alive, needs init, not paused, queue empty, state 0.
    void ResetForStartUp();

    bool probeLinkAlive() const { return alive_; }
    void setProbeLinkAlive(bool alive) { alive_ = alive; }
    bool stationPaused() const { return paused_; }
    void setStationPaused(bool paused) { paused_ = paused; }
    bool linkNeedsInit() const { return needsInit_; }
    void setLinkNeedsInit(bool v) { needsInit_ = v; }
    const std::string& probeSerialText() const { return serialText_; }
    bool sendAllowed() const { return sendAllowed_; }
    int linkState() const { return state_; }
    int silentTicks() const { return silentTicks_; }
    int commEventCount() const { return commEvents_; }
    const LinkIndicators& indicators() const { return leds_; }

    // Silent ticks after which the link counts as lost (100 for a "P2" probe, else 60).
    int SilenceLimit() const;

signals:
    // The link counts as lost: the probe fell silent for longer than the limit, or its port went
    // away. Raised once per loss; the link is heard again with the next reception.
    void linkLost();
    // The probe's serial number as last read (empty when the link is lost or at start-up).
    void serialNumberChanged(const QString& serial);
    // A message frame was taken from the probe: what was shown of the probe's status is over.
    void probeStatusCleared();
    // An "I" message arrived: the template menu may be used.
    void templateMenuAllowed();
    void indicatorsChanged();
    // A data poll was accepted ("h" ACK sent): manual weight entry may take the focus.
    void dataPollAccepted();
    // A non-empty message, kept and acknowledged, type letter first, then the record. Also while
    // the station is paused: the station holds it until the pause ends.
    void messageReceived(const std::string& message);

private:
    void Send(const std::string& bytes);
    void SetLeds(const LinkIndicators& leds);
    void MarkLost();
    bool IsP2Probe() const;

    SerialPort& port_;
    CommandQueue queue_;
    int state_ = Start;
    std::string rxText_;
    int lastProbeByteCount_ = 0;
    int silentTicks_ = 0;
    int commEvents_ = 0;
    bool sendAllowed_ = false;
    bool alive_ = false;
    bool needsInit_ = true;
    bool paused_ = false;
    std::string serialText_;
    bool lossShown_ = false;
    LinkIndicators leds_;
    ReceivedMessageKeeper* keeper_ = nullptr;
};
