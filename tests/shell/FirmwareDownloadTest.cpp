// Firmware download: the window over an in-memory port, and the whole command over a
// pseudo-terminal with the simulated probe at the other end.

#include "Form1Fixture.h"
#include "ModalDriver.h"

#include "probe/SerialPortQt.h"
#include "shell/Form1CommandMenus.h"
#include "shell/FrmDownload.h"
#include "tools/sim/PtyPair.h"
#include "tools/sim/SimulatedProbe.h"

#include <QFile>
#include <QTest>
#include <algorithm>

namespace {

const std::string kSmallHex = ":020000040000FA\r\n:0400000001020304F2\r\n:00000001FF";  // no final line end

// `lines` lines of 45 characters (with CR LF), 16 data bytes each.
std::string Records(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += ":1000000000000000000000000000000000000000F0\r\n";
    return text;
}

struct DownloadWindow : ::testing::Test {
    FakeSerialPort port;
    QTimer rxTimer;
    ScriptedDialogs dialogs;

    void SetUp() override
    {
        port.SetSettings("38400,n,8,1");
        port.SetPortOpen(true);
        rxTimer.start(50);
    }
};

void WriteFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

} // namespace

TEST_F(DownloadWindow, TickIntervalByPortSpeed)
{
    const struct {
        const char* settings;
        int interval;
    } cases[] = {{"4800,e,7,2", 1100}, {"9600,n,8,1", 600}, {"19200,n,8,1", 300}, {"38400,n,8,1", 150}};
    for (const auto& c : cases) {
        port.SetSettings(c.settings);
        FrmDownload window(kSmallHex, port, rxTimer, dialogs);
        EXPECT_EQ(window.Timer2Sec.interval(), 2000) << "the first chunk waits for \"F\" to go out";
        window.OnTimer2Sec();
        EXPECT_EQ(window.Interval(), c.interval) << c.settings;
        EXPECT_EQ(window.Timer2Sec.interval(), c.interval) << c.settings;
    }
}

TEST_F(DownloadWindow, SendsChunksStopsTheLinkAndShowsProgress)
{
    FrmDownload window(Records(23), port, rxTimer, dialogs);
    window.show();
    EXPECT_TRUE(rxTimer.isActive()) << "the link delivers \"F\" until the first chunk";
    EXPECT_EQ(window.windowTitle(), "Updating Firmware");
    EXPECT_EQ(window.PercentText(), "0%");

    window.OnTimer2Sec();
    EXPECT_FALSE(rxTimer.isActive());
    EXPECT_EQ(port.TakeWritten(), Records(11));
    EXPECT_EQ(window.PercentText(), "0%");  // 176 data bytes
    EXPECT_EQ(window.ProgressValue(), 176);
    EXPECT_TRUE(window.Timer2Sec.isActive());

    window.OnTimer2Sec();
    window.OnTimer2Sec();
    EXPECT_EQ(port.TakeWritten(), Records(12) + "\r\n");
    EXPECT_EQ(window.PercentText(), "100%");
    EXPECT_EQ(window.ProgressValue(), 62256);
    EXPECT_FALSE(window.Timer2Sec.isActive());
    EXPECT_FALSE(rxTimer.isActive()) << "stays stopped while the window is open";

    window.close();
    EXPECT_TRUE(rxTimer.isActive());
}

TEST_F(DownloadWindow, ClosingMidDownloadStopsAtOnce)
{
    FrmDownload window(Records(100), port, rxTimer, dialogs);
    window.show();
    window.OnTimer2Sec();
    const std::string first = port.TakeWritten();
    EXPECT_EQ(first.size(), 495u);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Timer2Sec.isActive());
    EXPECT_TRUE(rxTimer.isActive());
    QTest::qWait(400);
    EXPECT_EQ(port.Written(), "");
}

TEST_F(DownloadWindow, PortThatFailsStopsTheDownloadAndSaysSo)
{
    FrmDownload window(Records(100), port, rxTimer, dialogs);
    port.failOutput = true;
    window.OnTimer2Sec();
    EXPECT_FALSE(window.Timer2Sec.isActive());
    EXPECT_NE(window.PercentText(), "100%");
    EXPECT_TRUE(dialogs.WasShown("Write failed"));
}

using FirmwareCommand = Form1Fixture;

TEST_F(FirmwareCommand, CancelledOrMissingFileSendsNothing)
{
    Make();
    dialogs.QueueOpenFile(std::nullopt);
    Menu("mnuRenewFirm")->trigger();
    const auto* chooser = dialogs.Last("OpenFile");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->title, "Open .Hex file");
    EXPECT_EQ(chooser->text, "Intel Hex |*.Hex|");

    window->link().setProbeLinkAlive(true);
    dialogs.QueueOpenFile(dir.filePath("missing.Hex"));
    Menu("mnuRenewFirm")->trigger();
    const auto* warning = dialogs.Last("Message");
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->text.endsWith("No such file or directory")) << warning->text.toStdString();
    EXPECT_EQ(window->link().Queue().count, 0) << "no \"F\" for a file that cannot be read";
}

TEST(FirmwareEndToEnd, FileArrivesAtTheProbeByteForByte)
{
    PtyPair pty;
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath("station.ini"));
    settings.WriteSetting("Properties", "RZ4PortSetting", "38400,n,8,1");
    ScriptedDialogs dialogs;
    auto device = [&pty](int) { return QString::fromStdString(pty.slavePath()); };
    Form1 form(settings, dialogs, std::make_unique<SerialPortQt>(device), std::make_unique<SerialPortQt>(device));
    form.StartUp();
    SimulatedProbe probe(pty.masterFd());
    probe.SetPollInterval(60);
    probe.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.Commands().size() >= 3; }, 15000));

    const QString hexPath = dir.filePath("update.Hex");
    WriteFile(hexPath, kSmallHex);
    dialogs.QueueOpenFile(hexPath);
    const std::string expected = kSmallHex + "\r\n";
    std::string receivedAtEnd;
    WhenModalShows<FrmDownload>([&](FrmDownload& window) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.PercentText() == "100%"; }, 10000));
        EXPECT_FALSE(form.RxTimer.isActive());
        EXPECT_TRUE(QTest::qWaitFor([&] { return probe.ReceivedBytes().ends_with(expected); }, 5000));
        receivedAtEnd = probe.ReceivedBytes();
        window.close();
    });
    form.MenuAction("mnuRenewFirm")->trigger();
    EXPECT_TRUE(form.RxTimer.isActive());

    ASSERT_TRUE(receivedAtEnd.ends_with(expected));
    const auto commands = probe.Commands();
    EXPECT_TRUE(std::any_of(commands.begin(), commands.end(), [](const auto& c) { return c.text == "F" && c.bccOk; }))
        << "the probe was told to expect firmware";
    // The link answers the probe again once the window is closed: "B" goes out after the file.
    form.link().QueueProbeCommand("B");
    const std::string frameOfB{'H', 6, 1, 'B', 2, 3, 'C'};
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return probe.ReceivedBytes().find(frameOfB, receivedAtEnd.size()) != std::string::npos;
    }, 5000));
    probe.Stop();
}
