// The station's side of the probe link, driven through an in-memory port.

#include "probe/ProbeLink.h"
#include "probe/ProbeFraming.h"
#include "support/FakeSerialPort.h"

#include "probe/PortWatch.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ProbeBytes;

namespace {

std::string Frame(const std::string& message)
{
    return std::string{SOH, message[0], STX} + message.substr(1) + std::string{ETX};
}

struct LinkFixture : ::testing::Test {
    FakeSerialPort port;
    ProbeLink link{port};
    std::vector<std::string> dispatched;

    void SetUp() override
    {
        port.SetPortOpen(true);
        QObject::connect(&link, &ProbeLink::messageReceived, [this](const std::string& m) { dispatched.push_back(m); });
    }

    // Feeds one reception and runs ticks until the link has processed it.
    std::string Receive(const std::string& bytes)
    {
        port.Feed(bytes);
        link.OnReceiveTick(); // bytes seen
        link.OnReceiveTick(); // quiet tick: processed
        return port.TakeWritten();
    }

    // The first command the probe gets; an ordinary probe's first poll may carry none.
    std::string FirstCommand()
    {
        const std::string first = PollForCommand();
        return first.empty() ? PollForCommand() : first;
    }

    // The link past its start-up reception, idle.
    void StartIdle()
    {
        Receive("x");
        ASSERT_EQ(link.linkState(), ProbeLink::Idle);
    }

    // A command poll answered with a command is closed by the probe's answer; returns the command.
    std::string PollForCommand()
    {
        const std::string answer = Receive(kCommandPoll);
        if (answer == kNothingToSend)
            return {};
        EXPECT_EQ(answer.substr(0, 3), (std::string{'H', ACK, SOH}));
        EXPECT_EQ(Receive(std::string{ACK}), std::string{EOT});
        const auto stx = answer.find(STX);
        const auto etx = answer.find(ETX);
        return answer.substr(3, 1) + answer.substr(stx + 1, etx - stx - 1);
    }
};

} // namespace

TEST(ProbeFramingTest, FramesCommandsWithBlockCheck)
{
    struct Case {
        std::string command;
        std::string frame;
    } cases[] = {
        {"A1", std::string{'H', ACK, SOH, 'A', STX, '1', ETX, 'q'}},
        {"0", std::string{'H', ACK, SOH, '0', STX, ETX, static_cast<char>('0' ^ STX ^ ETX)}},
        // Everything from the first ETX on is not sent.
        {std::string{'A', '1', ETX, 'Z', 'Z'}, std::string{'H', ACK, SOH, 'A', STX, '1', ETX, 'q'}},
        {"3000001", std::string{'H', ACK, SOH, '3', STX} + "000001" + std::string{ETX}
                        + static_cast<char>(BlockCheck(std::string{'3', STX} + "000001" + std::string{ETX}))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameProbeCommand(c.command), c.frame) << c.command;
    EXPECT_EQ(BlockCheck(std::string{'A', STX, '1', ETX}), 0x71);
}

TEST(ProbeFramingTest, ExtractsMessagesFromReceptions)
{
    struct Case {
        std::string reception;
        bool complete;
        bool etxBeforeStx;
        std::string message;
    } cases[] = {
        {Frame("E0100012345"), true, false, "E0100012345"},
        {"noise" + Frame("Cxx000123") + "tail", true, false, "Cxx000123"},
        {std::string{SOH, 'E', 'j', 'u', 'n', 'k', STX, '1', '2', ETX}, true, false, "E12"},
        {std::string{SOH, 'E', STX, '1', '2'}, false, false, ""},
        {std::string{SOH, 'E', ETX, '1', STX}, false, true, ""},
        {"", false, false, ""},
    };
    for (const auto& c : cases) {
        const ReceivedFrame f = ExtractProbeFrame(c.reception);
        EXPECT_EQ(f.complete, c.complete) << c.reception;
        EXPECT_EQ(f.etxBeforeStx, c.etxBeforeStx) << c.reception;
        EXPECT_EQ(f.message, c.message) << c.reception;
    }
}

TEST(CommandQueueTest, RingOfSixDropsTheSeventh)
{
    CommandQueue q;
    for (int i = 1; i <= 7; ++i)
        q.QueueProbeCommand("C" + std::to_string(i));
    EXPECT_EQ(q.count, 6);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(q.TakeNext(), "C" + std::to_string(i));
    EXPECT_EQ(q.count, 0);
    // The ring wraps: indices go round without losing order.
    q.QueueProbeCommand("X");
    q.QueueProbeCommand("Y");
    EXPECT_EQ(q.TakeNext(), "X");
    EXPECT_EQ(q.TakeNext(), "Y");
}

TEST_F(LinkFixture, StateMachineAnswersEachReception)
{
    struct Step {
        const char* what;
        std::string reception;
        std::string answer;
        int stateAfter;
    };
    const std::string probeAnswer{ACK};
    // Start-up: the first reception only makes the link idle, whatever it holds.
    const std::vector<Step> steps = {
        {"first reception", kDataPoll, "", ProbeLink::Idle},
        {"data poll", kDataPoll, kDataPollAccepted, ProbeLink::MessageExpected},
        {"frame", Frame("E123456789"), std::string{ACK}, ProbeLink::Idle},
        {"first command poll loads the start-up commands, may not send yet", kCommandPoll, kNothingToSend,
         ProbeLink::Idle},
        {"command poll sends the first", kCommandPoll, FrameProbeCommand("0"), ProbeLink::CommandSent},
        {"probe's answer closes", probeAnswer, std::string{EOT}, ProbeLink::Idle},
        {"next command poll may not send", kCommandPoll, kNothingToSend, ProbeLink::Idle},
        {"command poll sends the next", kCommandPoll, FrameProbeCommand("A1"), ProbeLink::CommandSent},
        {"a NAK also closes", std::string{NAK}, std::string{EOT}, ProbeLink::Idle},
        {"both polls: data poll then no command", kDataPoll + kCommandPoll, kDataPollAccepted + kNothingToSend,
         ProbeLink::MessageExpected},
        {"ETX before STX is dropped unanswered", std::string{SOH, 'E', ETX, '1', STX}, "", ProbeLink::MessageExpected},
        {"incomplete frame gets NAK", std::string{SOH, 'E', STX, '1', '2'}, std::string{NAK}, ProbeLink::Idle},
        {"both polls: data poll then a command", kDataPoll + kCommandPoll, kDataPollAccepted + FrameProbeCommand("I1"),
         ProbeLink::CommandSent},
        {"answer", probeAnswer, std::string{EOT}, ProbeLink::Idle},
        {"noise while idle is ignored", "zzz", "", ProbeLink::Idle},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(Receive(s.reception), s.answer) << s.what;
        EXPECT_EQ(link.linkState(), s.stateAfter) << s.what;
    }
    ASSERT_EQ(dispatched.size(), 1u);
    EXPECT_EQ(dispatched[0], "E123456789");
}

TEST_F(LinkFixture, SerialNumberTemplateMenuAndPause)
{
    StartIdle();
    QSignalSpy templateSpy(&link, &ProbeLink::templateMenuAllowed);
    QSignalSpy serialSpy(&link, &ProbeLink::serialNumberChanged);

    Receive(kDataPoll);
    Receive(Frame("A12345678901234567"));
    EXPECT_EQ(link.probeSerialText(), "1234567890123"); // only 13 characters are kept
    ASSERT_EQ(serialSpy.count(), 1);
    EXPECT_EQ(serialSpy.at(0).at(0).toString(), "1234567890123");

    Receive(kDataPoll);
    Receive(Frame("I1 hello"));
    EXPECT_EQ(templateSpy.count(), 1);

    // Paused or not, what is acknowledged is handed on: the station holds it through a pause.
    link.setStationPaused(true);
    Receive(kDataPoll);
    EXPECT_EQ(Receive(Frame("E999")), std::string{ACK});
    link.setStationPaused(false);
    EXPECT_EQ(dispatched, (std::vector<std::string>{"A12345678901234567", "I1 hello", "E999"}));
}

TEST_F(LinkFixture, OrdinaryProbeTakesACommandEverySecondPollP2EveryPoll)
{
    StartIdle();
    std::vector<std::string> ordinary;
    for (int i = 0; i < 6; ++i)
        ordinary.push_back(PollForCommand());
    // Sending starts disallowed, so the first poll after start-up carries nothing.
    EXPECT_EQ(ordinary, (std::vector<std::string>{"", "0", "", "A1", "", "I1"}));

    // A "P2" probe (letter case ignored) takes one at every poll.
    Receive(kDataPoll);
    Receive(Frame("Axyzp2abc"));
    for (const char* c : {"K1", "A0", "7"})
        link.QueueProbeCommand(c);
    std::vector<std::string> p2;
    for (int i = 0; i < 4; ++i)
        p2.push_back(PollForCommand());
    EXPECT_EQ(p2, (std::vector<std::string>{"K1", "A0", "7", ""}));
}

TEST_F(LinkFixture, LinkLossAfterSilenceAndQueueReload)
{
    struct Case {
        std::string serial;
        int limit;
    } cases[] = {{"", 60}, {"1234P2", 100}};
    for (const auto& c : cases) {
        port.ClearInBuffer();
        link.ResetForStartUp();
        StartIdle();
        if (!c.serial.empty()) {
            Receive(kDataPoll);
            Receive(Frame("A" + c.serial));
        }
        EXPECT_EQ(FirstCommand(), "0");
        link.QueueProbeCommand("9");
        EXPECT_TRUE(link.probeLinkAlive());

        QSignalSpy lostSpy(&link, &ProbeLink::linkLost);
        QSignalSpy serialSpy(&link, &ProbeLink::serialNumberChanged);
        for (int i = 0; i < c.limit; ++i)
            link.OnReceiveTick();
        EXPECT_TRUE(link.probeLinkAlive()) << "not lost after " << c.limit << " silent ticks";
        EXPECT_FALSE(link.indicators().error);
        link.OnReceiveTick();
        EXPECT_FALSE(link.probeLinkAlive()) << "lost after " << c.limit + 1;
        EXPECT_TRUE(link.indicators().error);
        EXPECT_EQ(link.indicators().comm, LinkIndicators::Comm::Off);
        for (int i = 0; i < 5; ++i)
            link.OnReceiveTick();
        EXPECT_EQ(lostSpy.count(), 1) << "told once per loss";
        ASSERT_EQ(serialSpy.count(), 1);
        EXPECT_TRUE(serialSpy.at(0).at(0).toString().isEmpty());

        // Heard again: the next command poll forgets what was queued and reloads the start-up commands.
        Receive("x");
        EXPECT_EQ(link.silentTicks(), 0);
        EXPECT_EQ(FirstCommand(), "0");
        EXPECT_FALSE(link.indicators().error);
        EXPECT_EQ(link.Queue().count, 2);
    }
}

TEST_F(LinkFixture, EveryWaitingByteBelongsToAReception)
{
    StartIdle();
    // Bytes arriving tick after tick are one reception once the line falls quiet.
    port.Feed("h");
    link.OnReceiveTick();
    port.Feed(std::string{ENQ});
    link.OnReceiveTick();
    EXPECT_TRUE(port.Written().empty());
    link.OnReceiveTick();
    EXPECT_EQ(port.TakeWritten(), kDataPollAccepted);
}

TEST_F(LinkFixture, ANoisyLineNeverFallingQuietIsTakenWhenTooLong)
{
    StartIdle();
    Receive(kDataPoll);
    int ticks = 0;
    // Noise keeps arriving on every tick; the link must not wait for ever.
    while (port.Written().empty() && ticks < 200) {
        port.Feed(std::string(300, 'x'));
        link.OnReceiveTick();
        ++ticks;
    }
    EXPECT_EQ(port.TakeWritten(), std::string{NAK});
    EXPECT_LE(port.InBufferCount(), ProbeLink::kMaxReception);
    EXPECT_EQ(link.linkState(), ProbeLink::Idle);
}

TEST_F(LinkFixture, PortEventsShowTheErrorIndicatorEveryNinth)
{
    StartIdle();
    for (int i = 0; i < 8; ++i)
        port.RaiseLineError();
    EXPECT_FALSE(link.indicators().error);
    EXPECT_FALSE(link.probeLinkAlive());
    port.RaiseLineError();
    EXPECT_TRUE(link.indicators().error);
    EXPECT_EQ(link.commEventCount(), 0);
}

TEST_F(LinkFixture, ADeviceThatGoesAwayIsReopenedAndTheProbeConfiguredAgain)
{
    PortWatch watch(port);
    QObject::connect(&watch, &PortWatch::portLost, &link, [&](const QString&, bool hungUp) {
        EXPECT_TRUE(hungUp);
        link.OnPortLost();
    });
    QObject::connect(&watch, &PortWatch::portBack, &link, &ProbeLink::OnPortBack);
    QSignalSpy lost(&watch, &PortWatch::portLost);
    QSignalSpy back(&watch, &PortWatch::portBack);
    ASSERT_TRUE(watch.Open());
    StartIdle();
    EXPECT_EQ(FirstCommand(), "0");
    Receive(kDataPoll);
    ASSERT_EQ(link.linkState(), ProbeLink::MessageExpected);

    port.HangUp();
    EXPECT_FALSE(port.PortOpen());
    EXPECT_FALSE(link.probeLinkAlive());
    EXPECT_TRUE(link.indicators().error);
    // While the device is gone nothing is read and every retry fails quietly.
    for (int i = 0; i < 3; ++i)
        watch.Retry();
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(back.count(), 0);

    port.ComeBack();
    watch.Retry();
    EXPECT_TRUE(port.PortOpen());
    EXPECT_EQ(back.count(), 1);
    EXPECT_EQ(link.linkState(), ProbeLink::Idle) << "the interrupted exchange is over";
    // The probe is configured afresh: the start-up commands go out again.
    EXPECT_EQ(FirstCommand(), "0");
    EXPECT_EQ(PollForCommand(), "");
    EXPECT_EQ(PollForCommand(), "A1");
}

TEST(PortWatchTest, APortThatDoesNotOpenAtStartIsTriedUntilItDoes)
{
    FakeSerialPort port;
    port.failOpen = true;
    PortWatch watch(port);
    QSignalSpy lost(&watch, &PortWatch::portLost);
    QSignalSpy back(&watch, &PortWatch::portBack);
    EXPECT_FALSE(watch.Open());
    EXPECT_TRUE(watch.Lost());
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(lost.at(0).at(0).toString(), "Port cannot be opened");
    EXPECT_FALSE(lost.at(0).at(1).toBool());
    watch.Retry();
    EXPECT_EQ(lost.count(), 1) << "one report per loss, not one per retry";
    port.failOpen = false;
    // The retry timer does it by itself, about once a second.
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.PortOpen(); }, 3000));
    EXPECT_EQ(back.count(), 1);
    EXPECT_FALSE(watch.Lost());

    // A port closed on purpose is not watched: a hang-up then is nobody's loss.
    watch.Close();
    port.SetPortOpen(true);
    port.HangUp();
    EXPECT_EQ(lost.count(), 1);
}
