// The log file's faults as a line meets them, with the station running: a full disk, a folder
// that turns read-only, the file deleted. Each is told, the station goes on answering the probe,
// and once the fault is cleared every record is in the file, in order; what still waits at
// shut-down is in the recovery file.

#include "log/LogRecordFormat.h"
#include "support/E2eDeadlines.h"
#include "support/StationLine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

// A small file system of its own, so that it can be filled or made read-only without touching
// anything else. Needs the right to mount (root in CI); the test is skipped otherwise.
class SmallDisk {
public:
    explicit SmallDisk(const QString& path)
        : path_(path)
    {
        QDir().mkpath(path);
        mounted_ = Run({"-t", "tmpfs", "-o", "size=256k", "tmpfs", path});
    }
    ~SmallDisk()
    {
        if (mounted_)
            QProcess::execute("umount", {"-l", path_});
    }
    bool Mounted() const { return mounted_; }
    bool SetReadOnly(bool readOnly) { return Run({"-o", readOnly ? "remount,ro" : "remount,rw", path_}); }

    // Takes every free byte; false if the disk would not fill.
    bool Fill()
    {
        QFile filler(path_ + "/filler");
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        // What is left is less than a block; take it byte by byte.
        while (filler.write("x", 1) == 1 && filler.flush()) {
        }
        return true;
    }
    void Empty() { QFile::remove(path_ + "/filler"); }

private:
    static bool Run(const QStringList& arguments)
    {
        QProcess mount;
        mount.start("mount", arguments);
        return mount.waitForFinished(5000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
    }

    QString path_;
    bool mounted_ = false;
};

} // namespace

using LogFaultsEndToEnd = StationLineTest;

// Each fault on a station of its own.
TEST_F(LogFaultsEndToEnd, EachFaultIsToldAndNothingIsLost)
{
    struct Case {
        const char* what;
        std::function<bool(SmallDisk&)> breakIt;
        std::function<void(SmallDisk&)> mend;
        const char* told; // part of the message on standard error
    } cases[] = {
        {"disk full", [](SmallDisk& disk) { return disk.Fill(); }, [](SmallDisk& disk) { disk.Empty(); },
         "No space left on device"},
        {"folder read-only", [](SmallDisk& disk) { return disk.SetReadOnly(true); },
         [](SmallDisk& disk) { disk.SetReadOnly(false); }, "Read-only file system"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StationLine line;
        SmallDisk disk(line.station.Path("disk"));
        if (!disk.Mounted())
            GTEST_SKIP() << "cannot mount a small file system here (needs root): faults of a full or read-only "
                            "disk not tried";
        line.log = line.station.Path("disk/shift.dif");
        SimulatedProbe& probe = line.Probe().probe;
        ASSERT_TRUE(c.breakIt(disk));
        ASSERT_TRUE(line.StartStation());
        for (const char* counter : {"000001", "000002"})
            probe.QueueMessage(BasicRecord(counter));
        probe.Start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return probe.FramesAcked() >= 2; }, kStartUpMs))
            << "the station stopped answering the probe";
        EXPECT_TRUE(line.station.WaitTold(c.told, kStepMs)) << line.station.Told();
        EXPECT_EQ(line.Log().find("\t000001\t"), std::string::npos);

        c.mend(disk);
        ::testing::AssertionResult logged = ::testing::AssertionFailure();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return bool(logged = LoggedOnceInOrder(line.Log(), {"000001", "000002"}));
            },
            kStepMs))
            << logged.message();

        // The fault again, and the station ends before it is cleared: the record is in the log
        // (a full disk may still have room in the file's last block) or in the recovery file.
        ASSERT_TRUE(c.breakIt(disk));
        probe.QueueMessage(BasicRecord("000003"));
        // The station hands a message on before its ACK leaves: the record has met the fault.
        ASSERT_TRUE(QTest::qWaitFor([&] { return probe.FramesAcked() >= 3; }, kStepMs));
        ASSERT_TRUE(line.station.Terminate(kStepMs));
        EXPECT_EQ(line.station.process().exitCode(), 0);
        const std::string& told = line.station.Told();
        EXPECT_NE(told.find(c.told), std::string::npos) << told;
        std::string kept = line.Log();
        for (const QString& file : line.station.RecoveryFiles())
            kept += StationProcess::ReadFile(file);
        EXPECT_TRUE(LoggedOnceInOrder(kept, {"000001", "000002", "000003"}));
        c.mend(disk);
    }
}

TEST_F(LogFaultsEndToEnd, ALogFileDeletedWhileRunningIsStartedAgain)
{
    ASSERT_TRUE(StartStation());
    ProbeDevice& device = Probe();
    device.probe.QueueMessage(BasicRecord("000001"));
    device.probe.Start();
    ASSERT_TRUE(WaitLogged("000001", kStartUpMs));
    ASSERT_TRUE(QFile::remove(log));
    device.probe.QueueMessage(BasicRecord("000002"));
    ASSERT_TRUE(WaitLogged("000002", kStepMs));
    const std::string again = Log();
    EXPECT_EQ(again.rfind(LogHeaderLine(), 0), 0u) << "a new file starts with its header line";
}
