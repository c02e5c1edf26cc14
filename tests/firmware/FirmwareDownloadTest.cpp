// Firmware download: the window over an in-memory port, and the whole command over a
// pseudo-terminal with the simulated probe at the other end.

#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/ModalDriver.h"

#include "firmware/FirmwareDownloadWindow.h"
#include "station/DownloadLink.h"
#include "station/ReceiveTick.h"
#include "support/InProcessStationLine.h"

#include <QFile>
#include <QTest>
#include <algorithm>

namespace {

// `count` records of 16 data bytes; each line 45 characters with CR LF.
std::string Records(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += ":1000000000000000000000000000000000000000F0\r\n";
    return text;
}

struct DownloadWindow : ::testing::Test {
    FakeSerialPort port;
    ReceiveTick rxTimer;
    ScriptedDialogs dialogs;

    void SetUp() override
    {
        port.SetSettings("9600,n,8,1");
        port.SetPortOpen(true);
        rxTimer.resume();
    }
};

} // namespace

TEST_F(DownloadWindow, SendsChunksWhileTheLinkWaits)
{
    DownloadLink held{port, rxTimer, {}};
    FirmwareDownloadWindow window(Records(23), held, dialogs);
    window.show();
    EXPECT_EQ(window.chunkTimer.interval(), 2000) << "the link has two seconds to deliver \"F\"";
    EXPECT_TRUE(rxTimer.isRunning());

    window.OnChunkTimer();
    EXPECT_FALSE(rxTimer.isRunning());
    EXPECT_EQ(port.TakeWritten(), Records(11));
    EXPECT_EQ(window.PercentText(), "0%"); // 176 data bytes
    EXPECT_EQ(window.ProgressValue(), 176);
    EXPECT_EQ(window.chunkTimer.interval(), 600); // 9600 baud
    EXPECT_TRUE(window.chunkTimer.isActive());

    window.OnChunkTimer();
    window.OnChunkTimer();
    EXPECT_EQ(port.TakeWritten(), Records(12) + "\r\n");
    EXPECT_EQ(window.PercentText(), "100%");
    EXPECT_EQ(window.ProgressValue(), 62256);
    EXPECT_FALSE(window.chunkTimer.isActive());
    EXPECT_FALSE(rxTimer.isRunning()) << "stays stopped while the window is open";
    window.close();
    EXPECT_TRUE(rxTimer.isRunning());
}

TEST_F(DownloadWindow, ClosingMidDownloadStopsAtOnce)
{
    port.SetSettings("38400,n,8,1");
    DownloadLink held{port, rxTimer, {}};
    FirmwareDownloadWindow window(Records(100), held, dialogs);
    window.show();
    window.OnChunkTimer();
    EXPECT_EQ(port.TakeWritten(), Records(11));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(rxTimer.isRunning());
    QTest::qWait(400);
    EXPECT_EQ(port.Written(), "");
}

TEST_F(DownloadWindow, PortThatFailsStopsTheDownloadAndSaysSo)
{
    DownloadLink held{port, rxTimer, {}};
    FirmwareDownloadWindow window(Records(100), held, dialogs);
    port.failOutput = true;
    window.OnChunkTimer();
    EXPECT_FALSE(window.chunkTimer.isActive());
    EXPECT_EQ(window.PercentText(), "0%");
    EXPECT_TRUE(dialogs.WasShown("Write failed"));
}

using FirmwareCommand = MainWindowFixture;

TEST_F(FirmwareCommand, FileThatCannotBeReadSendsNothing)
{
    Make();
    window->core().parts().receiveTick.pause();
    probePort->Feed("x"); // the probe is heard: the link is alive
    window->core().parts().link.OnReceiveTick();
    window->core().parts().link.OnReceiveTick();
    ASSERT_TRUE(window->core().link().probeLinkAlive());
    dialogs.QueueOpenFile(dir.filePath("missing.Hex"));
    Menu("mnuRenewFirm")->trigger();
    const auto* chooser = dialogs.Last("OpenFile");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->title + "|" + chooser->text, "Open .Hex file|Intel Hex |*.Hex|");
    ASSERT_NE(dialogs.Last("Message"), nullptr);
    EXPECT_TRUE(dialogs.Last("Message")->text.endsWith("No such file or directory"));
    EXPECT_EQ(window->core().link().Queue().count, 0) << "no \"F\" for a file that cannot be read";
}

TEST_F(DownloadWindow, TheFirstChunkWaitsUntilTheProbeHasItsF)
{
    bool fStillQueued = true;
    DownloadLink held{port, rxTimer, [&] { return fStillQueued; }};
    FirmwareDownloadWindow window(Records(2), held, dialogs);
    window.OnChunkTimer();
    EXPECT_TRUE(port.TakeWritten().empty()) << "no data before the probe is told";
    EXPECT_TRUE(rxTimer.isRunning()) << "the link must stay on to deliver it";
    fStillQueued = false;
    window.OnChunkTimer();
    EXPECT_EQ(port.TakeWritten(), Records(2) + "\r\n");
    EXPECT_FALSE(rxTimer.isRunning());
}

TEST(FirmwareEndToEnd, FileArrivesAtTheProbeByteForByte)
{
    InProcessStationLine line;
    line.settings.WriteSetting("Properties", "RZ4PortSetting", "38400,n,8,1");
    MainWindow& form = line.StartWindow();
    SimulatedProbe& probe = line.probe;
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.Commands().size() >= 3; }, 15000));

    const std::string hex = ":020000040000FA\r\n:0400000001020304F2\r\n:00000001FF"; // no final line end
    QFile file(line.dir.filePath("update.Hex"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(hex.data(), qint64(hex.size())) && file.flush());
    line.dialogs.QueueOpenFile(file.fileName());
    std::string received;
    WhenModalShows<FirmwareDownloadWindow>([&](FirmwareDownloadWindow& window) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.PercentText() == "100%"; }, 10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return probe.ReceivedBytes().ends_with(hex + "\r\n"); }, 5000));
        received = probe.ReceivedBytes();
        window.close();
    });
    form.MenuAction("mnuRenewFirm")->trigger();

    EXPECT_TRUE(received.ends_with(hex + "\r\n"));
    const auto commands = probe.Commands();
    EXPECT_TRUE(std::any_of(commands.begin(), commands.end(), [](const auto& c) { return c.text == "F" && c.bccOk; }));
    // The link answers the probe again once the window is closed: "B" goes out after the file.
    form.core().parts().link.QueueProbeCommand("B");
    const std::string frameOfB{'H', 6, 1, 'B', 2, 3, 'C'};
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return probe.ReceivedBytes().find(frameOfB, received.size()) != std::string::npos; }, 5000));
}

TEST_F(FirmwareCommand, TheLinkLampShowsTheLinkPausedWhileTheDownloadHoldsIt)
{
    Make();
    QFile file(dir.filePath("update.Hex"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(":00000001FF\r\n") > 0);
    file.close();
    dialogs.QueueOpenFile(file.fileName());
    auto lamps = [this] {
        std::string lit;
        for (const char* name : {"CommLED1", "CommLED2", "ErrLED", "CommLEDHeld"})
            if (!window->findChild<QWidget*>(name)->isHidden())
                lit += std::string(lit.empty() ? "" : " ") + name;
        return lit;
    };
    std::string during;
    QString tip;
    WhenModalShows<FirmwareDownloadWindow>([&](FirmwareDownloadWindow& download) {
        during = lamps();
        tip = Control<QWidget>("LblLink")->toolTip();
        download.close();
    });
    Menu("mnuRenewFirm")->trigger();
    EXPECT_EQ(during, "CommLEDHeld");
    EXPECT_EQ(tip, "Link paused while the firmware is sent to the probe");
    EXPECT_EQ(lamps().find("CommLEDHeld"), std::string::npos);
    EXPECT_EQ(Control<QWidget>("LblLink")->toolTip(), "Link: red=bad, green(flash)=good");
}
