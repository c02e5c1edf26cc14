#include "station/StationCore.h"
#include "support/FakeSerialPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A core over two fake ports, with what it says written down in order.
struct CoreRig {
    FakeSerialPort* probe = new FakeSerialPort;
    FakeSerialPort* scale = new FakeSerialPort;
    StationCore core{std::unique_ptr<SerialPort>(probe), std::unique_ptr<SerialPort>(scale)};
    std::vector<std::string> said;

    CoreRig()
    {
        scale->SetCommPort(2);
        auto note = [this](const char* what) { return [this, what] { said.emplace_back(what); }; };
        ReceiveTick& tick = core.parts().receiveTick;
        QObject::connect(&tick, &ReceiveTick::probeHalf, note("probe half"));
        QObject::connect(&core, &StationCore::weightArrived, note("weight"));
        QObject::connect(&core, &StationCore::linkLost, note("link lost"));
        QObject::connect(&core, &StationCore::linkBack, note("link back"));
        QObject::connect(&core, &StationCore::probePortBack, note("probe port back"));
        QObject::connect(&core, &StationCore::scalePortBack, note("scale port back"));
        auto lost = [this](const char* port) {
            return [this, port](const QString& reason, bool hungUp) {
                said.push_back(std::string(port) + " port lost: " + reason.toStdString()
                               + (hungUp ? " (hung up)" : ""));
            };
        };
        QObject::connect(&core, &StationCore::probePortLost, lost("probe"));
        QObject::connect(&core, &StationCore::scalePortLost, lost("scale"));
        QObject::connect(&core, &StationCore::pendingCountChanged,
                         [this](int count) { said.push_back("pending " + std::to_string(count)); });
        QObject::connect(&core, &StationCore::notice, [this](const QString& text, const QString& title, MessageIcon) {
            said.push_back("notice: " + title.toStdString() + ": " + text.toStdString());
        });
    }

    int TicksWithin(int milliseconds)
    {
        const size_t before = said.size();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        int ticks = 0;
        for (size_t i = before; i < said.size(); ++i)
            ticks += said[i] == "probe half";
        return ticks;
    }
};

TEST(StationCore, EachTickRunsTheScaleHalfBeforeTheProbeHalf)
{
    CoreRig rig;
    ASSERT_TRUE(rig.core.parts().scalePortWatch.Open());
    rig.scale->Feed("ST,GS,  101.5 kg\r\n");
    rig.core.parts().receiveTick.RunTick(); // the bytes are counted
    rig.core.parts().receiveTick.RunTick(); // unchanged: the message is taken
    // The weight is taken in the scale half, before the probe half of the same tick.
    const std::vector<std::string> expected{"probe half", "weight", "probe half", "link back"};
    EXPECT_EQ(rig.said, expected);
    EXPECT_EQ(rig.core.parts().scaleCollector.scaleMessage(), "ST,GS,  101.5 kg\r\n");
    EXPECT_TRUE(rig.core.link().probeLinkAlive()) << "traffic on the scale line counts as a live link";
}

TEST(StationCore, PauseStopsTheTickAndResumeStartsItAgain)
{
    CoreRig rig;
    ReceiveTick& tick = rig.core.parts().receiveTick;
    EXPECT_FALSE(tick.isRunning());
    tick.resume();
    EXPECT_TRUE(tick.isRunning());
    EXPECT_EQ(tick.interval(), 50);
    EXPECT_GT(rig.TicksWithin(300), 0);
    tick.pause();
    EXPECT_FALSE(tick.isRunning());
    EXPECT_EQ(rig.TicksWithin(200), 0);
}

TEST(StationCore, APortsLossAndReturnAreToldOnce)
{
    struct Case {
        const char* name;
        bool probe;
        bool linkAlive;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"probe port, live link", true, true, {"link lost", "probe port lost: pulled (hung up)", "probe port back"}},
        // A pulled probe port shows as a lost link even before the first poll.
        {"probe port, no link yet", true, false, {"link lost", "probe port lost: pulled (hung up)", "probe port back"}},
        {"scale port", false, true, {"scale port lost: pulled (hung up)", "scale port back"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CoreRig rig;
        FakeSerialPort& port = c.probe ? *rig.probe : *rig.scale;
        PortWatch& watch = c.probe ? rig.core.parts().probePortWatch : rig.core.parts().scalePortWatch;
        ASSERT_TRUE(watch.Open());
        rig.core.parts().link.setProbeLinkAlive(c.linkAlive);
        port.HangUp("pulled");
        watch.Retry(); // still gone: nothing more is told
        port.ComeBack();
        watch.Retry();
        EXPECT_EQ(rig.said, c.expected);
        EXPECT_TRUE(port.PortOpen());
    }
}

TEST(StationCore, APendingCountIsToldOnlyWhenItChanges)
{
    CoreRig rig;
    int next = 0;
    QObject::connect(&rig.core.parts().receiveTick, &ReceiveTick::scaleHalf,
                     [&] { rig.core.parts().pendingQueue.count = next; });
    for (int count : {0, 1, 1, 2, 0}) {
        next = count;
        rig.core.parts().receiveTick.RunTick();
    }
    rig.said.erase(std::remove(rig.said.begin(), rig.said.end(), "probe half"), rig.said.end());
    EXPECT_EQ(rig.said, (std::vector<std::string>{"pending 1", "pending 2", "pending 0"}));
}

// The result log under the core's notices: what it tells while the log's folder is missing, and
// how the waiting records reach the file once it is back.
TEST(StationCore, RecordsForAMissingFolderWaitAndAreToldOnce)
{
    CoreRig rig;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("shift"));
    rig.core.parts().resultLog.SetLogFilePath(QFile::encodeName(folder + QStringLiteral("/line1.dif")).toStdString());
    int logged = 0;
    QObject::connect(&rig.core.resultLog(), &ResultLog::recordLogged, [&] { ++logged; });

    CarcassMeasurement record;
    record.kind = 'M';
    record.carcassCount = "17";
    rig.core.parts().resultLog.WriteRecord(record);
    rig.core.parts().resultLog.WriteRecord(record);
    ASSERT_EQ(rig.said.size(), 1u) << "one notice for the whole fault";
    EXPECT_EQ(rig.said[0].rfind("notice: Tallion: ", 0), 0u) << rig.said[0];
    EXPECT_EQ(rig.core.resultLog().UnwrittenRecords(), 2u);
    EXPECT_EQ(logged, 2) << "a waiting record is still told as logged";

    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_FALSE(rig.core.parts().resultLog.SaveUnwrittenRecords()) << "the last try reached the log itself";
    EXPECT_EQ(rig.core.resultLog().UnwrittenRecords(), 0u);
    QFile log(folder + QStringLiteral("/line1.dif"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().count('\n'), 3) << "the header line, then both records";
}

} // namespace

TEST(StationCore, EachOperationQueuesItsProbeCommandSomeOnlyWhileTheLinkIsUp)
{
    struct Case {
        const char* what;
        std::function<void(StationCore&)> operation;
        bool linkUp;
        std::vector<std::string> queued;
    } cases[] = {
        {"log view paused", [](StationCore& core) { core.pauseForLogView(); }, false, {"6$AAA Locked"}},
        {"resumed", [](StationCore& core) { core.resume(); }, false, {"7"}},
        {"prompt ended", [](StationCore& core) { core.endProbePrompt(); }, true, {"7"}},
        {"prompt ended, link down", [](StationCore& core) { core.endProbePrompt(); }, false, {}},
        {"display blanked", [](StationCore& core) { core.blankProbeDisplay(); }, true, {"6"}},
        {"display blanked, link down", [](StationCore& core) { core.blankProbeDisplay(); }, false, {}},
        {"link held for a download", [](StationCore& core) { core.holdLinkForDownload(); }, true, {"F"}},
        {"link held for a download, link down", [](StationCore& core) { core.holdLinkForDownload(); }, false, {}},
        {"told the probe", [](StationCore& core) { core.tellProbe("M0"); }, true, {"M0"}},
        {"told the probe, link down", [](StationCore& core) { core.tellProbe("M0"); }, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CoreRig rig;
        rig.core.parts().link.setProbeLinkAlive(c.linkUp);
        const CommandQueue& queue = rig.core.link().Queue();
        const int before = queue.count;
        c.operation(rig.core);
        std::vector<std::string> queued;
        for (int i = before; i < queue.count; ++i)
            queued.push_back(queue.slotTexts[(queue.readIndex + i) % CommandQueue::kSlots]);
        EXPECT_EQ(queued, c.queued);
    }
    // The log view's pause lasts until the station resumes.
    CoreRig rig;
    rig.core.pauseForLogView();
    EXPECT_TRUE(rig.core.Paused());
    rig.core.resume();
    EXPECT_FALSE(rig.core.Paused());
}
