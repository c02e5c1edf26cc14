#pragma once
// A record acknowledged is a record kept. Each probe message is written to the journal of
// received messages and synced before the probe is acknowledged; what the station holds because
// of it (a carcass waiting for its weight, a record the log file cannot take yet, a message that
// came during a pause) is written after each change. At start-up, whatever the last run did not
// finish is brought back and dispatched again, before the first poll is answered; the log's own
// bytes tell which of those records it already has, so none is lost and none is logged twice.
//
// While the station is paused (a log being viewed) messages are kept and acknowledged as ever,
// and dispatched in order when the pause ends.

#include "probe/OperatorNotices.h"
#include "probe/ProbeLink.h"
#include "station/HeldState.h"
#include "station/ReceivedJournal.h"

#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ProbeResults;
class ResultLog;
class StationPairings;

class ReceivedMessages : public QObject, public ReceivedMessageKeeper {
    Q_OBJECT
public:
    ReceivedMessages(ProbeResults& results, ResultLog& log, StationPairings& pairings, PendingQueue& queue,
                     OperatorNotices& notices, QObject* parent = nullptr);
    ~ReceivedMessages() override;

    // Opens the journal at `path` (its folder is made) and brings back what the last run held;
    // returns how many messages were dispatched again. Without a journal the station works as
    // before, and the operator is told why.
    int Open(const std::string& path);
    bool IsOpen() const { return journal_.IsOpen(); }

    // From the link: a message kept and acknowledged.
    void OnMessage(const std::string& message);
    // The pause holds every message from now on; its end dispatches them in order.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    int HeldCount() const { return static_cast<int>(held_.size()); }

    // Writes what the station holds when it changed since the last time. Called after each
    // tick and after anything else that may change it.
    void Checkpoint();
    // The last state at the end; the journal is removed when it holds nothing. True when it
    // keeps records that wait for the log file.
    bool Close();

    // A scale message, kept (synced) before it is paired: the record it completes may reach the
    // log before the state that says so is written, and a replay must make the same record.
    void KeepWeight(const std::string& scaleMessage);
    // How a kept scale message is paired again in a replay.
    void SetWeightReplay(std::function<void(const std::string&)> replay) { replayWeight_ = std::move(replay); }

    // ReceivedMessageKeeper
    bool RepeatsUnacknowledged(const std::string& message) override;
    void Keep(const std::string& message) override;

signals:
    // Messages held by the pause.
    void heldCountChanged(int count);

private:
    // The log's size costs a look at the file: only taken for a state that is written.
    HeldState CurrentState(bool withLogSize) const;
    void Restore(HeldState state);
    void Dispatch(const ReceivedMessage& message);
    void WriteState();
    void Append(const ReceivedMessage& message);

    ProbeResults& results_;
    ResultLog& log_;
    StationPairings& pairings_;
    PendingQueue& queue_;
    OperatorNotices& notices_;
    ReceivedJournal journal_;
    std::uint64_t lastSeq_ = 0;
    std::optional<ReceivedMessage> kept_;           // kept, its ACK under way, not yet handed on
    std::optional<std::string> unacknowledgedText_; // the journal's last message at start-up
    std::vector<ReceivedMessage> held_;
    bool paused_ = false;
    bool dispatching_ = false;
    bool recovering_ = false;
    bool journalFaultShown_ = false;
    std::function<void(const std::string&)> replayWeight_;
    std::string lastStateText_; // without the log's size, which others may change
};
