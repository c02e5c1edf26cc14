#include "probe/ProbeLink.h"

#include "probe/CrashPoint.h"
#include "probe/ProbeFraming.h"

#include <QByteArray>

using namespace ProbeBytes;

namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

ProbeLink::ProbeLink(SerialPort& port, QObject* parent)
    : QObject(parent)
    , port_(port)
{
    port_.onComm = [this] { OnPortEvent(); };
}

ProbeLink::~ProbeLink()
{
    port_.onComm = nullptr;
}

void ProbeLink::ResetForStartUp()
{
    alive_ = false;
    needsInit_ = true;
    paused_ = false;
    serialText_.clear();
    sendAllowed_ = false;
    queue_.Clear();
    state_ = Start;
    rxText_.clear();
    lastProbeByteCount_ = 0;
    silentTicks_ = 0;
    lossShown_ = false;
    emit serialNumberChanged(QString());
}

bool ProbeLink::IsP2Probe() const
{
    return QByteArray::fromStdString(serialText_).toUpper().contains("P2");
}

int ProbeLink::SilenceLimit() const
{
    return IsP2Probe() ? 100 : 60;
}

void ProbeLink::Send(const std::string& bytes)
{
    // A failing port only shows as a lost link; the step goes on.
    port_.Output(bytes);
}

void ProbeLink::SetLeds(const LinkIndicators& leds)
{
    if (leds == leds_)
        return;
    leds_ = leds;
    emit indicatorsChanged();
}

void ProbeLink::OnReceiveTick()
{
    const int waiting = port_.InBufferCount();
    if (waiting < 1) {
        ++silentTicks_;
        if (silentTicks_ > SilenceLimit())
            MarkLost();
        return;
    }
    // Bytes still arriving: wait for a quiet tick, unless the line never falls quiet and far
    // more waits than any message can hold (noise); then take it as it stands.
    if (waiting != lastProbeByteCount_ && waiting <= kMaxReception) {
        lastProbeByteCount_ = waiting;
        return;
    }
    alive_ = true;
    // Everything waiting is taken; bytes arriving after this read stay for the next reception.
    rxText_ += port_.Input();
    const std::string reception = std::move(rxText_);
    rxText_.clear();
    lastProbeByteCount_ = 0;
    silentTicks_ = 0;
    lossShown_ = false;
    RunLinkStep(reception);
}

void ProbeLink::MarkLost()
{
    // Kept true on every silent tick (a scale message may have set the link alive meanwhile);
    // told once per loss.
    LinkIndicators leds = leds_;
    leds.error = true;
    leds.comm = LinkIndicators::Comm::Off;
    SetLeds(leds);
    alive_ = false;
    needsInit_ = true;
    if (!lossShown_) {
        lossShown_ = true;
        emit linkLost();
        emit serialNumberChanged(QString());
    }
}

void ProbeLink::OnPortLost()
{
    rxText_.clear();
    lastProbeByteCount_ = 0;
    MarkLost();
}

void ProbeLink::OnPortBack()
{
    // Whatever exchange was under way died with the device; the probe starts with a poll.
    rxText_.clear();
    lastProbeByteCount_ = 0;
    silentTicks_ = 0;
    state_ = Idle;
    needsInit_ = true;
    LinkIndicators leds = leds_;
    leds.rxExpecting = false;
    leds.txSending = false;
    SetLeds(leds);
}

void ProbeLink::RunLinkStep(const std::string& text)
{
    switch (state_) {
    case Idle: {
        if (Contains(text, kDataPoll)) {
            Send(kDataPollAccepted);
            LinkIndicators leds = leds_;
            leds.rxExpecting = true;
            SetLeds(leds);
            state_ = MessageExpected;
            emit dataPollAccepted();
        }
        if (Contains(text, kCommandPoll)) {
            if (needsInit_) {
                queue_.ResetCommandQueue();
                needsInit_ = false;
            }
            LinkIndicators leds = leds_;
            leds.comm =
                leds.comm == LinkIndicators::Comm::Led1 ? LinkIndicators::Comm::Led2 : LinkIndicators::Comm::Led1;
            leds.error = false;
            if (IsP2Probe())
                sendAllowed_ = true;
            if (queue_.count > 0 && sendAllowed_) {
                sendAllowed_ = false;
                leds.txSending = true;
                SetLeds(leds);
                Send(FrameProbeCommand(queue_.TakeNext()));
                state_ = CommandSent;
            } else {
                sendAllowed_ = true;
                Send(kNothingToSend);
                leds.txSending = false;
                SetLeds(leds);
            }
        }
        break;
    }
    case CommandSent: {
        // Whatever the probe answered, the exchange is closed; a refused command is not repeated.
        LinkIndicators leds = leds_;
        leds.txSending = false;
        SetLeds(leds);
        state_ = Idle;
        Send(std::string{EOT});
        break;
    }
    case MessageExpected: {
        const ReceivedFrame frame = ExtractProbeFrame(text);
        if (frame.etxBeforeStx)
            return; // dropped without an answer; the next reception may hold the frame
        const std::string& message = frame.message;
        // Kept before the ACK: the probe deletes a record once it is acknowledged.
        bool handOn = !message.empty();
        if (frame.complete && handOn && keeper_) {
            if (keeper_->RepeatsUnacknowledged(message))
                handOn = false;
            else
                keeper_->Keep(message);
        }
        Send(std::string{frame.complete ? ACK : NAK});
        if (frame.complete)
            CrashPoint("ack-sent");
        if (!message.empty() && message[0] == 'A') {
            serialText_ = message.substr(1, 13);
            emit serialNumberChanged(
                QString::fromLatin1(serialText_.data(), static_cast<qsizetype>(serialText_.size())));
        }
        if (!message.empty() && message[0] == 'I')
            emit templateMenuAllowed();
        emit probeStatusCleared();
        if (handOn)
            emit messageReceived(message);
        LinkIndicators leds = leds_;
        leds.rxExpecting = false;
        SetLeds(leds);
        state_ = Idle;
        break;
    }
    default: state_ = Idle; break;
    }
}

void ProbeLink::OnPortEvent()
{
    ++commEvents_;
    alive_ = false;
    if (commEvents_ > 8) {
        LinkIndicators leds = leds_;
        leds.error = true;
        leds.comm = LinkIndicators::Comm::Off;
        SetLeds(leds);
        commEvents_ = 0;
    }
}
