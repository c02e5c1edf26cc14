#include "station/ReceivedMessages.h"

#include "resources/AppTitle.h"
#include "station/LogTail.h"
#include "station/ProbeResults.h"
#include "station/ResultLog.h"
#include "station/StationPairings.h"

#include "probe/CrashPoint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QString PathText(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

ReceivedMessages::ReceivedMessages(ProbeResults& results, ResultLog& log, StationPairings& pairings,
                                   PendingQueue& queue, OperatorNotices& notices, QObject* parent)
    : QObject(parent)
    , results_(results)
    , log_(log)
    , pairings_(pairings)
    , queue_(queue)
    , notices_(notices)
{
    // A record that reached the log (a retry, a finished carcass from a button) changes what is
    // held; written once the step that logged it is over.
    connect(&log_, &ResultLog::recordLogged, this, &ReceivedMessages::Checkpoint, Qt::QueuedConnection);
}

ReceivedMessages::~ReceivedMessages() = default;

int ReceivedMessages::Open(const std::string& path)
{
    QDir().mkpath(QFileInfo(PathText(path)).absolutePath());
    ReceivedJournal::Contents contents;
    std::string error;
    const ReceivedJournal::Opening opening = journal_.Open(path, contents, &error);
    if (opening != ReceivedJournal::Opening::Opened) {
        const QString why = opening == ReceivedJournal::Opening::HeldByOther
                                ? QStringLiteral("Another station started with the same settings file holds it.")
                                : QString::fromLocal8Bit(error.c_str());
        notices_.Notify(QStringLiteral("The journal of received messages cannot be used: %1\r\n%2\r\nResults are "
                                       "logged as they come, but a station that stops suddenly may lose the last "
                                       "of them.")
                            .arg(why, PathText(path)),
                        kAppTitle, MessageIcon::Exclamation);
        return 0;
    }
    if (!contents.damagedCopy.empty())
        notices_.Notify(QStringLiteral("The end of the journal of received messages was damaged; it was kept as "
                                       "it was in\r\n%1")
                            .arg(PathText(contents.damagedCopy)),
                        kAppTitle, MessageIcon::Exclamation);
    lastSeq_ = contents.lastSeq;
    if (contents.endsInMessage && !contents.after.empty())
        unacknowledgedText_ = contents.after.back().text;

    // The log's lines written after the last state: records the replay must not write again.
    LogTail written;
    std::vector<ReceivedMessage> replay;
    if (contents.state) {
        written = LogTail::Read(contents.state->logPath, contents.state->logSize);
        replay = std::move(contents.state->held);
        contents.state->held.clear();
        Restore(std::move(*contents.state));
        std::vector<UnwrittenLine> unwritten = log_.Unwritten();
        std::erase_if(unwritten, [&written](const UnwrittenLine& line) {
            std::string bytes = line.bytes;
            while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
                bytes.pop_back();
            return written.Take(bytes);
        });
        log_.RestoreUnwritten(std::move(unwritten));
    }
    for (ReceivedMessage& message : contents.after)
        replay.push_back(std::move(message));

    // Nothing is written to the journal until the replay is over: a station killed meanwhile
    // replays the same again, and the log tells what it already has.
    recovering_ = true;
    results_.SetAlreadyLogged(&written);
    for (const ReceivedMessage& message : replay)
        Dispatch(message);
    results_.SetAlreadyLogged(nullptr);
    recovering_ = false;

    const HeldState state = CurrentState(true);
    journal_.Compact(lastSeq_, SerializeHeldState(state));
    lastStateText_ = SerializeHeldState(CurrentState(false));

    const int recovered = static_cast<int>(std::count_if(
        replay.begin(), replay.end(), [](const ReceivedMessage& m) { return m.kind == ReceivedMessage::Kind::Probe; }));
    if (recovered > 0 || !log_.Unwritten().empty()) {
        QString text = QStringLiteral("The station stopped before it had finished %1 messages from the probe. They "
                                      "were recovered from the journal of received messages and processed now.")
                           .arg(recovered);
        if (!log_.Unwritten().empty())
            text += QStringLiteral(" %1 results still wait for the log file.").arg(log_.Unwritten().size());
        notices_.Notify(text, kAppTitle, MessageIcon::Information);
    }
    return recovered;
}

bool ReceivedMessages::RepeatsUnacknowledged(const std::string& message)
{
    // Only the probe's first message after the start can be the same one again.
    const bool repeats = unacknowledgedText_ && *unacknowledgedText_ == message;
    unacknowledgedText_.reset();
    return repeats;
}

void ReceivedMessages::Keep(const std::string& message)
{
    ReceivedMessage kept{++lastSeq_, results_.Now().toMSecsSinceEpoch(), message};
    Append(kept);
    CrashPoint("journal-synced");
    kept_ = std::move(kept);
}

void ReceivedMessages::KeepWeight(const std::string& scaleMessage)
{
    Append({++lastSeq_, results_.Now().toMSecsSinceEpoch(), scaleMessage, ReceivedMessage::Kind::Weight});
}

void ReceivedMessages::Append(const ReceivedMessage& message)
{
    // Whatever changed since the last tick goes first: the message follows the state it met.
    WriteState();
    if (journal_.IsOpen()) {
        std::string error;
        if (journal_.AppendMessage(message, &error)) {
            journalFaultShown_ = false;
        } else if (!journalFaultShown_) {
            journalFaultShown_ = true;
            notices_.Notify(QStringLiteral("The journal of received messages cannot be written (%1):\r\n%2\r\nResults "
                                           "are logged as they come, but a station that stops suddenly may lose the "
                                           "last of them.")
                                .arg(QString::fromLocal8Bit(error.c_str()), PathText(journal_.Path())),
                            kAppTitle, MessageIcon::Exclamation);
        }
    }
}

void ReceivedMessages::OnMessage(const std::string& message)
{
    ReceivedMessage received = kept_ && kept_->text == message
                                   ? std::move(*kept_)
                                   : ReceivedMessage{++lastSeq_, results_.Now().toMSecsSinceEpoch(), message};
    kept_.reset();
    if (paused_) {
        held_.push_back(std::move(received));
        emit heldCountChanged(HeldCount());
        return;
    }
    Dispatch(received);
}

void ReceivedMessages::SetPaused(bool paused)
{
    if (paused_ == paused)
        return;
    paused_ = paused;
    if (paused_ || held_.empty())
        return;
    // One at a time, each leaving the held ones as it is dispatched, so that the state written
    // after each holds exactly the rest.
    while (!held_.empty()) {
        const ReceivedMessage message = held_.front();
        held_.erase(held_.begin());
        Dispatch(message);
    }
    emit heldCountChanged(0);
}

void ReceivedMessages::Dispatch(const ReceivedMessage& message)
{
    dispatching_ = true;
    if (message.kind == ReceivedMessage::Kind::Weight) {
        if (replayWeight_)
            replayWeight_(message.text);
    } else {
        results_.OnProbeMessageAt(message.text, QDateTime::fromMSecsSinceEpoch(message.receivedMs));
    }
    dispatching_ = false;
    Checkpoint();
}

void ReceivedMessages::Checkpoint()
{
    // Mid-dispatch the state is half changed; the dispatch writes it when it is done.
    if (!dispatching_ && !recovering_)
        WriteState();
}

void ReceivedMessages::WriteState()
{
    if (!journal_.IsOpen() || recovering_)
        return;
    HeldState state = CurrentState(false);
    std::string text = SerializeHeldState(state);
    if (text == lastStateText_)
        return;
    lastStateText_ = std::move(text);
    state.logSize = log_.LogFileSize();
    const std::string withSize = SerializeHeldState(state);
    if (journal_.Size() > ReceivedJournal::kCompactAboveBytes)
        journal_.Compact(lastSeq_, withSize);
    else
        journal_.AppendState(lastSeq_, withSize);
}

bool ReceivedMessages::Close()
{
    if (!journal_.IsOpen())
        return false;
    const HeldState state = CurrentState(true);
    if (state.HoldsNothing()) {
        journal_.Close(true);
        return false;
    }
    const bool kept = journal_.Compact(lastSeq_, SerializeHeldState(state));
    journal_.Close(false);
    return kept && !state.unwritten.empty();
}

HeldState ReceivedMessages::CurrentState(bool withLogSize) const
{
    HeldState state;
    state.queue = queue_;
    state.current = results_.current();
    state.currentIgnoresNextCancel = pairings_.current().ignoreNextCancel;
    state.mainIgnoresNextCancel = pairings_.main().ignoreNextCancel;
    state.unwritten = log_.Unwritten();
    state.held = held_;
    state.logPath = log_.logFilePath();
    state.logSize = withLogSize ? log_.LogFileSize() : 0;
    return state;
}

void ReceivedMessages::Restore(HeldState state)
{
    queue_ = state.queue;
    results_.current() = state.current;
    pairings_.current().ignoreNextCancel = state.currentIgnoresNextCancel;
    pairings_.main().ignoreNextCancel = state.mainIgnoresNextCancel;
    log_.RestoreUnwritten(std::move(state.unwritten));
}
