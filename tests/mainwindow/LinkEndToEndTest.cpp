// The probe link end to end: the main window on a real serial port (a pseudo-terminal) with the
// simulated probe as the master of the line.

#include "probe/ProbeFraming.h"
#include "support/E2eDeadlines.h"
#include "support/InProcessStationLine.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace ProbeBytes;

namespace {

// Positions in `bytes` where the station answered a command poll with the frame of `command`.
size_t FramePosition(const std::string& bytes, const std::string& command, size_t from = 0)
{
    return bytes.find(FrameProbeCommand(command), from);
}

// At least `n` commands arrived and the last of them was closed (or never will be).
bool ExchangesClosed(const SimulatedProbe& probe, size_t n)
{
    const auto commands = probe.Commands();
    return commands.size() > n || (commands.size() == n && commands.back().closedWithEot);
}

} // namespace

TEST(LinkEndToEnd, StartUpCommandsPollsFramesAndLinkLoss)
{
    InProcessStationLine line;
    MainWindow& window = line.StartWindow();
    ASSERT_TRUE(window.core().probePort().PortOpen()) << window.core().probePort().LastError();
    SimulatedProbe& probe = line.probe;

    // Start-up: "0", "A1" and "I1", in order, each checked and closed with EOT.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ExchangesClosed(probe, 3); }, kStartUpMs));
    const auto commands = probe.Commands();
    const char* expected[] = {"0", "A1", "I1"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(commands[i].text, expected[i]);
        EXPECT_TRUE(commands[i].bccOk) << expected[i];
        EXPECT_TRUE(commands[i].closedWithEot) << expected[i];
    }
    // An ordinary probe gets a command at every second command poll only: "H" EOT in between.
    const std::string sent = probe.ReceivedBytes();
    const std::string& nothing = kNothingToSend;
    const size_t first = FramePosition(sent, "0");
    const size_t second = FramePosition(sent, "A1", first);
    const size_t third = FramePosition(sent, "I1", second);
    ASSERT_NE(third, std::string::npos);
    EXPECT_NE(sent.find(nothing, first), std::string::npos);
    EXPECT_LT(sent.find(nothing, first), second);
    EXPECT_LT(sent.find(nothing, second), third);

    // A data poll is answered "h" ACK, the frame ACK.
    probe.QueueMessage("E0100012301250530001203000450612ABS140533X");
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.FramesAcked() >= 1; }, kStepMs));
    EXPECT_GE(probe.DataPollsAcked(), 1);
    EXPECT_NE(probe.ReceivedBytes().find(kDataPollAccepted), std::string::npos);

    // A frame without ETX gets NAK.
    probe.QueueRawFrame(std::string{SOH, 'E', STX, '1', '2', '3'});
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.FramesNaked() >= 1; }, kStepMs));

    // Four silent seconds: the link is lost; when the probe speaks again the start-up commands
    // go out once more.
    EXPECT_TRUE(window.core().link().probeLinkAlive());
    probe.FallSilent(4000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.StatusPanel(1) == "Probe Connection Lost"; }, 6000));
    EXPECT_FALSE(window.core().link().probeLinkAlive());
    EXPECT_TRUE(window.StatusPanel(6).isEmpty());
    window.core().parts().link.QueueProbeCommand("B"); // forgotten by the reload
    ASSERT_TRUE(QTest::qWaitFor([&] { return ExchangesClosed(probe, 6); }, kStartUpMs));
    const auto again = probe.Commands();
    EXPECT_EQ(again[3].text, "0");
    EXPECT_EQ(again[4].text, "A1");
    EXPECT_EQ(again[5].text, "I1");
    EXPECT_TRUE(window.core().link().probeLinkAlive());
}
