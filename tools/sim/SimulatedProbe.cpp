#include "SimulatedProbe.h"

#include "probe/ProbeFraming.h"

namespace {

using namespace ProbeBytes;

const std::string kCommandFrameStart{'H', ACK, SOH};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The station's answer to a command poll that carries a command:
// "H", ACK, SOH, first character, STX, rest, ETX, BCC.
struct CommandFrame {
    enum class State { Absent, Partial, Malformed, Whole } state = State::Absent;
    std::string text;
    bool bccOk = false;
    bool exact = false; // nothing before or after the frame
};

CommandFrame ParseCommandFrame(const std::string& answer)
{
    CommandFrame frame;
    const size_t start = answer.find(kCommandFrameStart);
    if (start == std::string::npos)
        return frame;
    const size_t first = start + kCommandFrameStart.size();
    const size_t stx = first + 1;
    frame.state = CommandFrame::State::Partial;
    if (answer.size() <= stx)
        return frame;
    if (answer[stx] != STX) {
        frame.state = CommandFrame::State::Malformed;
        return frame;
    }
    const size_t etx = answer.find(ETX, stx + 1);
    if (etx == std::string::npos || etx + 1 >= answer.size())
        return frame;
    frame.state = CommandFrame::State::Whole;
    frame.text = answer[first] + answer.substr(stx + 1, etx - stx - 1);
    const std::string checked = answer.substr(first, etx - first + 1);
    frame.bccOk = SimulatedProbe::BlockCheck(checked) == static_cast<unsigned char>(answer[etx + 1]);
    frame.exact = start == 0 && etx + 2 == answer.size();
    return frame;
}

} // namespace

SimulatedProbe::SimulatedProbe(int fd, QObject* parent)
    : SimulatedProbe(Line{fd, false, nullptr}, parent)
{}

SimulatedProbe::SimulatedProbe(Line line, QObject* parent)
    : SimulatedDevice(std::move(line), parent)
{
    for (QTimer* timer : {&cycleTimer_, &quietTimer_, &answerTimer_, &silenceTimer_}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&cycleTimer_, &QTimer::timeout, this, &SimulatedProbe::BeginCycle);
    connect(&quietTimer_, &QTimer::timeout, this, [this] { Evaluate(false); });
    connect(&answerTimer_, &QTimer::timeout, this, [this] { Evaluate(true); });
    connect(&silenceTimer_, &QTimer::timeout, this, &SimulatedProbe::EndSilence);
}

SimulatedProbe::~SimulatedProbe() = default;

std::string SimulatedProbe::FrameMessage(const std::string& message)
{
    if (message.empty())
        return {SOH, STX, ETX};
    return SOH + message.substr(0, 1) + STX + message.substr(1) + ETX;
}

unsigned char SimulatedProbe::BlockCheck(const std::string& bytes)
{
    unsigned char bcc = 0;
    for (char c : bytes)
        bcc ^= static_cast<unsigned char>(c);
    return bcc;
}

void SimulatedProbe::Start()
{
    if (running_)
        return;
    running_ = true;
    Listen();
    if (silenceTimer_.isActive())
        return; // EndSilence takes it from here
    step_ = Step::Idle;
    cycleTimer_.start(0);
}

void SimulatedProbe::Stop()
{
    running_ = false;
    step_ = Step::Stopped;
    for (QTimer* timer : {&cycleTimer_, &quietTimer_, &answerTimer_, &silenceTimer_})
        timer->stop();
    rx_.clear();
}

void SimulatedProbe::FallSilent(int ms)
{
    for (QTimer* timer : {&cycleTimer_, &quietTimer_, &answerTimer_})
        timer->stop();
    rx_.clear();
    step_ = Step::Silent;
    silenceTimer_.start(ms);
}

void SimulatedProbe::EndSilence()
{
    step_ = running_ ? Step::Idle : Step::Stopped;
    if (running_)
        BeginCycle();
}

void SimulatedProbe::BytesArrived(const std::string& got)
{
    received_ += got;
    if (step_ == Step::Stopped || step_ == Step::Silent)
        return;
    rx_ += got;
    quietTimer_.start(quietTime_);
}

void SimulatedProbe::Send(const std::string& bytes)
{
    Write(bytes);
}

void SimulatedProbe::Expect(Step step)
{
    step_ = step;
    rx_.clear();
    quietTimer_.stop();
    answerTimer_.start(answerTimeout_);
}

void SimulatedProbe::NoteUnexpected(const std::string& bytes)
{
    unexpected_.push_back(bytes);
    emit unexpectedAnswer(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void SimulatedProbe::BeginCycle()
{
    if (!running_ || step_ != Step::Idle)
        return;
    Listen();
    if (!commandPollsOnly_) {
        if (messages_.empty() && rawFrames_.empty() && stream_) {
            std::string next = stream_();
            if (!next.empty())
                messages_.push_back(std::move(next));
        }
        if (!messages_.empty() || !rawFrames_.empty()) {
            SendDataPoll();
            return;
        }
    }
    SendCommandPoll();
}

void SimulatedProbe::SendDataPoll()
{
    Send(kDataPoll);
    Expect(Step::DataPoll);
}

void SimulatedProbe::SendFrame()
{
    sendingRaw_ = !rawFrames_.empty();
    if (sendingRaw_) {
        Send(rawFrames_.front());
        rawFrames_.pop_front();
        ++rawFramesSent_;
    } else if (!messages_.empty()) {
        Send(FrameMessage(messages_.front()));
    } else {
        SendCommandPoll();
        return;
    }
    Expect(Step::Frame);
}

void SimulatedProbe::SendCommandPoll()
{
    Send(kCommandPoll);
    Expect(Step::CommandPoll);
}

void SimulatedProbe::FinishCycle()
{
    step_ = Step::Idle;
    answerTimer_.stop();
    emit exchangeFinished();
    // A listener may have stopped the probe or silenced it meanwhile.
    if (running_ && step_ == Step::Idle)
        cycleTimer_.start(pollInterval_);
}

void SimulatedProbe::Evaluate(bool final)
{
    // A command frame that has begun is worth waiting for until the answer timeout.
    if (!final && step_ == Step::CommandPoll && ParseCommandFrame(rx_).state == CommandFrame::State::Partial)
        return;
    quietTimer_.stop();
    answerTimer_.stop();
    const std::string answer = std::move(rx_);
    rx_.clear();
    if (answer.empty())
        emit answerTimedOut();

    switch (step_) {
    case Step::DataPoll: TakeDataPollAnswer(answer); break;
    case Step::Frame: TakeFrameAnswer(answer); break;
    case Step::CommandPoll: TakeCommandPollAnswer(answer); break;
    case Step::CommandClose: TakeCloseAnswer(answer); break;
    case Step::Idle:
        // The station spoke out of turn.
        if (!answer.empty())
            NoteUnexpected(answer);
        break;
    case Step::Stopped:
    case Step::Silent: break;
    }
}

void SimulatedProbe::TakeDataPollAnswer(const std::string& answer)
{
    if (!answer.empty() && answer != kDataPollAccepted)
        NoteUnexpected(answer);
    if (step_ != Step::DataPoll)
        return; // silenced or stopped by a listener
    if (Contains(answer, kDataPollAccepted)) {
        ++dataPollsAcked_;
        SendFrame();
    } else {
        SendCommandPoll(); // the message waits for the next cycle
    }
}

void SimulatedProbe::TakeFrameAnswer(const std::string& answer)
{
    if (answer.empty()) {
        ++frameTimeouts_;
        FrameFailed();
    } else {
        if (answer.size() != 1 || (answer[0] != ACK && answer[0] != NAK))
            NoteUnexpected(answer);
        const size_t verdict = answer.find_first_of(std::string{ACK, NAK});
        if (verdict != std::string::npos && answer[verdict] == ACK) {
            ++framesAcked_;
            if (!sendingRaw_) {
                messages_.pop_front();
                attempts_ = 0;
            }
            emit frameAnswered(true);
        } else {
            if (verdict != std::string::npos) {
                ++framesNaked_;
                if (sendingRaw_)
                    ++rawFramesNaked_;
            }
            FrameFailed();
        }
    }
    if (step_ == Step::Frame)
        SendCommandPoll();
}

void SimulatedProbe::FrameFailed()
{
    if (!sendingRaw_ && !messages_.empty() && ++attempts_ > maxRetries_) {
        messages_.pop_front();
        attempts_ = 0;
        ++messagesGivenUp_;
    }
    emit frameAnswered(false);
}

void SimulatedProbe::TakeCommandPollAnswer(const std::string& answer)
{
    if (answer.empty()) {
        FinishCycle();
        return;
    }
    const CommandFrame frame = ParseCommandFrame(answer);
    if (frame.state == CommandFrame::State::Whole) {
        if (!frame.exact)
            NoteUnexpected(answer);
        commands_.push_back({frame.text, frame.bccOk, false});
        if (step_ != Step::CommandPoll)
            return;
        Send(std::string(1, refuseCommands_ ? NAK : ACK));
        Expect(Step::CommandClose);
        emit commandReceived(QString::fromLatin1(frame.text.data(), static_cast<qsizetype>(frame.text.size())));
        return;
    }
    if (answer != kNothingToSend)
        NoteUnexpected(answer);
    if (frame.state == CommandFrame::State::Absent && Contains(answer, kNothingToSend))
        ++commandPollsAnsweredEot_;
    FinishCycle();
}

void SimulatedProbe::TakeCloseAnswer(const std::string& answer)
{
    if (!answer.empty() && answer != std::string(1, EOT))
        NoteUnexpected(answer);
    if (Contains(answer, std::string(1, EOT)))
        commands_.back().closedWithEot = true;
    FinishCycle();
}

std::deque<std::string> SimulatedProbe::TakeQueuedMessages()
{
    std::deque<std::string> taken;
    taken.swap(messages_);
    attempts_ = 0;
    return taken;
}
