// The simulated probe driven over a pseudo-terminal by the test, which plays the station: it
// reads the slave end and answers after 60 ms of quiet, as the station's receive tick does.

#include "tools/sim/SimulatedProbe.h"
#include "StationEnd.h"
#include "probe/ProbeFraming.h"
#include "tools/sim/PtyPair.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace ProbeBytes;

const std::string kExample = "E0100012301250530001203000450612ABS140533X";
const std::string kExampleFrame = std::string{SOH, 'E', STX} + "0100012301250530001203000450612ABS140533X" + ETX;
// "A1" as the station frames it: block check 71 hex, the letter q.
const std::string kQualityOnFrame{'H', ACK, SOH, 'A', STX, '1', ETX, 'q'};

// A probe on one end of a fresh pty, the test's station on the other; quick pace for tests.
struct Line {
    PtyPair pty;
    StationEnd station{pty.slavePath()};
    SimulatedProbe probe{pty.masterFd()};
    std::vector<bool> frameAnswers;
    std::vector<std::string> commandSignals;

    Line()
    {
        probe.SetPollInterval(10);
        probe.SetQuietTime(15);
        probe.SetAnswerTimeout(300);
        QObject::connect(&probe, &SimulatedProbe::frameAnswered, [this](bool ack) { frameAnswers.push_back(ack); });
        QObject::connect(&probe, &SimulatedProbe::commandReceived,
                         [this](const QString& text) { commandSignals.push_back(text.toStdString()); });
    }

    // The station accepts a data poll and the frame after it, answering the frame with `answer`
    // (nothing at all when empty), then turns down the command poll.
    void DeliverOnce(const std::string& expectedFrame, const std::string& answer)
    {
        EXPECT_EQ(station.NextReception(), kDataPoll);
        station.Answer(kDataPollAccepted);
        EXPECT_EQ(station.NextReception(), expectedFrame);
        station.Answer(answer);
        EXPECT_EQ(station.NextReception(), kCommandPoll);
        station.Answer(kNothingToSend);
    }
};

TEST(SimulatedProbe, DataPollThenFrameWithExactBytes)
{
    Line line;
    ASSERT_TRUE(line.station.IsOpen());
    line.probe.QueueMessage(kExample);
    line.probe.Start();

    line.DeliverOnce(kExampleFrame, std::string(1, ACK));
    // Nothing left to offer: the next cycle is a command poll only.
    EXPECT_EQ(line.station.NextReception(), kCommandPoll);

    EXPECT_EQ(line.probe.DataPollsAcked(), 1);
    EXPECT_EQ(line.probe.FramesAcked(), 1);
    EXPECT_EQ(line.probe.FramesNaked(), 0);
    EXPECT_EQ(line.probe.CommandPollsAnsweredEot(), 1);
    EXPECT_EQ(line.probe.PendingMessages(), 0);
    EXPECT_EQ(line.frameAnswers, std::vector<bool>{true});
    EXPECT_TRUE(line.probe.UnexpectedAnswers().empty());
    EXPECT_EQ(line.probe.ReceivedBytes(), kDataPollAccepted + ACK + kNothingToSend);
}

TEST(SimulatedProbe, SerialNumberClaimThenStreamedMessages)
{
    Line line;
    std::vector<std::string> stream{"E0100012401250530001203000450612ABS140540X", "Z0039"};
    size_t next = 0;
    line.probe.SetMessageStream([&] { return next < stream.size() ? stream[next++] : std::string(); });
    line.probe.ClaimSerialNumber("1234P2xyz");
    line.probe.Start();

    line.DeliverOnce(std::string{SOH, 'A', STX} + "1234P2xyz" + ETX, std::string(1, ACK));
    line.DeliverOnce(std::string{SOH, 'E', STX} + stream[0].substr(1) + ETX, std::string(1, ACK));
    line.DeliverOnce(std::string{SOH, 'Z', STX, '0', '0', '3', '9', ETX}, std::string(1, ACK));
    EXPECT_EQ(line.station.NextReception(), kCommandPoll);
    EXPECT_EQ(line.probe.FramesAcked(), 3);
}

TEST(SimulatedProbe, CommandFramesAreCheckedAnsweredAndClosed)
{
    struct Case {
        const char* name;
        std::string frame;
        size_t splitAt; // 0: sent whole; else sent in two pieces 50 ms apart
        bool refuse;
        bool stationCloses;
        std::string text;
        bool bccOk;
        char probeAnswer;
    };
    const std::string badCheck{'H', ACK, SOH, 'A', STX, '1', ETX, 'r'};
    // "0": 30 hex ^ STX ^ ETX = 31 hex, the digit 1.
    const std::string reset{'H', ACK, SOH, '0', STX, ETX, '1'};
    const std::vector<Case> cases{
        {"good block check", kQualityOnFrame, 0, false, true, "A1", true, ACK},
        {"bad block check", badCheck, 0, false, true, "A1", false, ACK},
        {"one-character command", reset, 0, false, true, "0", true, ACK},
        {"refused by the probe", kQualityOnFrame, 0, true, true, "A1", true, NAK},
        {"station never closes", kQualityOnFrame, 0, false, false, "A1", true, ACK},
        {"frame in two pieces", kQualityOnFrame, 5, false, true, "A1", true, ACK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line line;
        line.probe.SetRefuseCommands(c.refuse);
        line.probe.Start();
        ASSERT_EQ(line.station.NextReception(), kCommandPoll);
        if (c.splitAt == 0) {
            line.station.Answer(c.frame);
        } else {
            line.station.Answer(c.frame.substr(0, c.splitAt));
            StationEnd::Pump(50);
            line.station.Answer(c.frame.substr(c.splitAt));
        }
        EXPECT_EQ(line.station.NextReception(), std::string(1, c.probeAnswer));
        if (c.stationCloses)
            line.station.Answer(std::string(1, EOT));
        // The cycle ends (closed, or after the answer timeout) and the next one polls again.
        EXPECT_EQ(line.station.NextReception(), kCommandPoll);

        const std::vector<SimulatedProbe::ReceivedCommand> commands = line.probe.Commands();
        ASSERT_EQ(commands.size(), 1u);
        EXPECT_EQ(commands[0].text, c.text);
        EXPECT_EQ(commands[0].bccOk, c.bccOk);
        EXPECT_EQ(commands[0].closedWithEot, c.stationCloses);
        EXPECT_EQ(line.commandSignals, std::vector<std::string>{c.text});
        EXPECT_EQ(line.probe.CommandPollsAnsweredEot(), 0);
        EXPECT_TRUE(line.probe.UnexpectedAnswers().empty());
    }
}

TEST(SimulatedProbe, FailedDeliveriesAreRetriedThenGivenUp)
{
    struct Case {
        const char* name;
        int maxRetries;
        std::vector<std::string> frameAnswers; // empty text: the station stays silent
        int acked, naked, timeouts, givenUp;
        bool stillQueued;
    };
    const std::string ack(1, ACK), nak(1, NAK);
    const std::vector<Case> cases{
        {"NAK then ACK", 3, {nak, ack}, 1, 1, 0, 0, false},
        {"no answer then ACK", 3, {"", ack}, 1, 0, 1, 0, false},
        {"garbage then ACK", 3, {"?!", ack}, 1, 0, 0, 0, false},
        {"NAK within the retries", 2, {nak, nak}, 0, 2, 0, 0, true},
        {"NAK beyond the retries", 1, {nak, nak}, 0, 2, 0, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line line;
        line.probe.SetMaxRetries(c.maxRetries);
        line.probe.QueueMessage(kExample);
        line.probe.Start();
        for (const std::string& answer : c.frameAnswers)
            line.DeliverOnce(kExampleFrame, answer);
        // A message still queued is offered again; otherwise the probe only asks for commands.
        EXPECT_EQ(line.station.NextReception(), c.stillQueued ? kDataPoll : kCommandPoll);

        EXPECT_EQ(line.probe.FramesAcked(), c.acked);
        EXPECT_EQ(line.probe.FramesNaked(), c.naked);
        EXPECT_EQ(line.probe.FrameTimeouts(), c.timeouts);
        EXPECT_EQ(line.probe.MessagesGivenUp(), c.givenUp);
        EXPECT_EQ(line.probe.PendingMessages(), c.stillQueued ? 1 : 0);
        EXPECT_EQ(line.frameAnswers.size(), c.frameAnswers.size());
        EXPECT_EQ(line.frameAnswers.back(), c.acked > 0);
    }
}

TEST(SimulatedProbe, GarbageAnswersAreRecordedAndTheCycleGoesOn)
{
    Line line;
    line.probe.QueueMessage(kExample);
    line.probe.Start();

    ASSERT_EQ(line.station.NextReception(), kDataPoll);
    line.station.Answer("xyz");
    EXPECT_EQ(line.station.NextReception(), kCommandPoll);
    line.station.Answer(std::string(1, NAK));
    // The message was never taken, so it is offered again and goes through.
    line.DeliverOnce(kExampleFrame, std::string(1, ACK));

    EXPECT_EQ(line.probe.UnexpectedAnswers(), (std::vector<std::string>{"xyz", std::string(1, NAK)}));
    EXPECT_EQ(line.probe.DataPollsAcked(), 1);
    EXPECT_EQ(line.probe.FramesAcked(), 1);
    EXPECT_EQ(line.probe.PendingMessages(), 0);
}

TEST(SimulatedProbe, RawFrameGoesOutVerbatimOnceAndNoiseAtOnce)
{
    Line line;
    const std::string noise{'\0', '\xff', 'h', ETX};
    const std::string etxBeforeStx = std::string{SOH, 'E', ETX} + "0123" + STX;
    line.probe.QueueMessage(kExample);
    line.probe.QueueRawFrame(etxBeforeStx);

    line.probe.InjectNoise(noise);
    EXPECT_EQ(line.station.NextReception(), noise);

    line.probe.Start();
    // The station drops such a frame without an answer; the probe times out and moves on.
    line.DeliverOnce(etxBeforeStx, "");
    line.DeliverOnce(kExampleFrame, std::string(1, ACK));
    EXPECT_EQ(line.station.NextReception(), kCommandPoll);

    EXPECT_EQ(line.probe.FrameTimeouts(), 1);
    EXPECT_EQ(line.probe.FramesAcked(), 1);
    EXPECT_EQ(line.probe.MessagesGivenUp(), 0);
}

TEST(SimulatedProbe, FallSilentSendsNothingThenResumes)
{
    Line line;
    line.probe.Start();
    ASSERT_EQ(line.station.NextReception(), kCommandPoll);
    line.station.Answer(kNothingToSend);
    ASSERT_EQ(line.station.NextReception(), kCommandPoll);

    QElapsedTimer sinceSilence;
    sinceSilence.start();
    line.probe.FallSilent(400);
    // Even a command offered meanwhile gets no answer.
    line.station.Answer(kQualityOnFrame);
    EXPECT_EQ(line.station.CollectFor(320), "");
    EXPECT_EQ(line.station.NextReception(), kCommandPoll);
    EXPECT_GE(sinceSilence.elapsed(), 395);
    EXPECT_TRUE(line.probe.Commands().empty());
}

} // namespace
