#pragma once
// The probe's side of the polled probe link, played on a serial device or a pty master so the
// station can be exercised without an instrument. The probe is the master of the line: each
// cycle it offers a queued message with a data poll ("h" ENQ), then asks for a command with a
// command poll ("H" ENQ), and records everything the station answers.
//
// Runs on the Qt event loop of the thread that creates it (socket notifier and timers, no
// threads), so a test can drive it in the same process as the station.

#include "SimulatedDevice.h"

#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class SimulatedProbe : public SimulatedDevice {
    Q_OBJECT
public:
    struct ReceivedCommand {
        std::string text;           // the command without framing, e.g. "A1"
        bool bccOk = false;         // the block check byte matched
        bool closedWithEot = false; // the station closed the exchange with EOT
    };

    // Works on `fd` without owning it (the caller closes it afterwards).
    explicit SimulatedProbe(int fd, QObject* parent = nullptr);
    ~SimulatedProbe() override;

    void Start();
    void Stop();
    bool IsRunning() const { return running_; }

    // Pause between the end of one cycle and the next data or command poll.
    void SetPollInterval(int ms) { pollInterval_ = ms; }
    // How long the probe waits for any answer before it gives up on the exchange.
    void SetAnswerTimeout(int ms) { answerTimeout_ = ms; }
    // Quiet time after which a started answer counts as complete.
    void SetQuietTime(int ms) { quietTime_ = ms; }
    // Failed deliveries (NAK, garbage or no answer) of one message before it is dropped.
    void SetMaxRetries(int retries) { maxRetries_ = retries; }
    // Answer command frames with NAK instead of ACK.
    void SetRefuseCommands(bool refuse) { refuseCommands_ = refuse; }
    // Only command polls; queued messages wait.
    void SetCommandPollsOnly(bool only) { commandPollsOnly_ = only; }
    // Source of a new message whenever the queue runs empty (an empty text means none).
    void SetMessageStream(std::function<std::string()> next) { stream_ = std::move(next); }

    // A message, type letter first, e.g. "E0100012301250530001203000450612ABS140533X".
    void QueueMessage(const std::string& message) { messages_.push_back(message); }
    // Reports the probe's serial number: queues "A" followed by `serial`.
    void ClaimSerialNumber(const std::string& serial) { QueueMessage("A" + serial); }
    // Sent verbatim in place of the next proper frame, after the next accepted data poll; taken
    // before any queued message and never repeated.
    void QueueRawFrame(const std::string& bytes) { rawFrames_.push_back(bytes); }
    // Sent at once, outside any exchange.
    void InjectNoise(const std::string& bytes) { Send(bytes); }
    // Abandons the exchange under way and sends nothing for `ms`, then polls again. A message
    // whose frame was not acknowledged stays queued.
    void FallSilent(int ms);

    std::string ReceivedBytes() const { return received_; }
    std::vector<ReceivedCommand> Commands() const { return commands_; }
    // Receptions that were not the answer the probe expected at that point, in order.
    std::vector<std::string> UnexpectedAnswers() const { return unexpected_; }
    int DataPollsAcked() const { return dataPollsAcked_; }
    int FramesAcked() const { return framesAcked_; }
    int FramesNaked() const { return framesNaked_; }
    // Raw frames sent in place of a proper one (QueueRawFrame), and how many the station NAKed.
    int RawFramesSent() const { return rawFramesSent_; }
    int RawFramesNaked() const { return rawFramesNaked_; }
    // The messages not yet acknowledged, oldest first, taken out of this probe (to hand them to
    // another, as when the probe is moved to a new line).
    std::deque<std::string> TakeQueuedMessages();
    int FrameTimeouts() const { return frameTimeouts_; }
    int MessagesGivenUp() const { return messagesGivenUp_; }
    int CommandPollsAnsweredEot() const { return commandPollsAnsweredEot_; }
    int PendingMessages() const { return static_cast<int>(messages_.size() + rawFrames_.size()); }

    // SOH, type letter, STX, the rest of the message, ETX: how the probe frames a message.
    static std::string FrameMessage(const std::string& message);
    // XOR of every byte of `bytes`.
    static unsigned char BlockCheck(const std::string& bytes);

signals:
    void commandReceived(QString text);
    // The station's answer to a message frame: ACK, or anything else (NAK, garbage, nothing).
    void frameAnswered(bool ack);
    // One poll cycle is over (data poll and command poll, or an abandoned exchange).
    void exchangeFinished();
    void unexpectedAnswer(QString bytes);
    // Nothing at all came back within the answer timeout.
    void answerTimedOut();

private:
    enum class Step { Stopped, Idle, DataPoll, Frame, CommandPoll, CommandClose, Silent };

    friend class SimulatedDevice; // Open() makes one that owns its line
    SimulatedProbe(Line line, QObject* parent);
    void BytesArrived(const std::string& bytes) override;
    void EndSilence();

    void BeginCycle();
    void SendDataPoll();
    void SendFrame();
    void SendCommandPoll();
    void FinishCycle();
    void Expect(Step step);
    void Send(const std::string& bytes);
    void NoteUnexpected(const std::string& bytes);

    // Takes the answer collected so far; `final` when the answer timeout struck. An empty answer
    // means the station said nothing.
    void Evaluate(bool final);
    void TakeDataPollAnswer(const std::string& answer);
    void TakeFrameAnswer(const std::string& answer);
    void TakeCommandPollAnswer(const std::string& answer);
    void TakeCloseAnswer(const std::string& answer);
    void FrameFailed();

    QTimer cycleTimer_;
    QTimer quietTimer_;
    QTimer answerTimer_;
    QTimer silenceTimer_;

    int pollInterval_ = 300;
    int answerTimeout_ = 1000;
    int quietTime_ = 30;
    int maxRetries_ = 3;
    bool refuseCommands_ = false;
    bool commandPollsOnly_ = false;
    std::function<std::string()> stream_;

    bool running_ = false;
    Step step_ = Step::Stopped;
    std::string rx_;
    std::deque<std::string> messages_;
    std::deque<std::string> rawFrames_;
    bool sendingRaw_ = false;
    int attempts_ = 0;

    std::string received_;
    std::vector<ReceivedCommand> commands_;
    std::vector<std::string> unexpected_;
    int dataPollsAcked_ = 0;
    int framesAcked_ = 0;
    int framesNaked_ = 0;
    int rawFramesSent_ = 0;
    int rawFramesNaked_ = 0;
    int frameTimeouts_ = 0;
    int messagesGivenUp_ = 0;
    int commandPollsAnsweredEot_ = 0;
};
