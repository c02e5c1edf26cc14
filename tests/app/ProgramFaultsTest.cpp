// The station program against the faults a line meets: a device pulled and plugged in again, a
// log fault whose message nobody answers, a wrong settings file, a shut-down signal.

#include "support/E2eDeadlines.h"
#include "support/ProbeDevice.h"
#include "support/StationLine.h"
#include "support/StationProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using ProgramFaults = StationLineTest;

TEST_F(ProgramFaults, APulledDeviceIsReopenedWhenItComesBack)
{
    ASSERT_TRUE(StartStation());
    Probe().probe.QueueMessage(BasicRecord("000001"));
    Probe().probe.Start();
    ASSERT_TRUE(WaitLogged("000001", kStartUpMs));

    const QString pulled = QString::fromStdString(Probe().pty.slavePath());
    ASSERT_TRUE(station.HoldsOpen(pulled));
    PullProbe(); // the adapter is pulled
    ASSERT_TRUE(QTest::qWaitFor([&] { return !station.HoldsOpen(pulled); }, kStepMs))
        << "the station keeps the pulled device open";
    const double before = station.CpuSeconds();
    QElapsedTimer elapsed;
    elapsed.start();
    QTest::qWait(2000);
    const double share = (station.CpuSeconds() - before) / (static_cast<double>(elapsed.elapsed()) / 1000.0);
    EXPECT_LT(share, 0.05) << "the station spins while its device is gone";

    ProbeDevice& device = PlugProbe(); // plugged in again
    device.probe.QueueMessage(BasicRecord("000002"));
    device.probe.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return device.StartUpCommandsArrived(); }, kStartUpMs))
        << "the probe is configured again after its return";
    ASSERT_TRUE(WaitLogged("000002", kStepMs));
    EXPECT_TRUE(LoggedOnceInOrder(Log(), {"000001", "000002"}));
    EXPECT_EQ(station.process().state(), QProcess::Running);
}

TEST_F(ProgramFaults, ALogFaultLeftOnScreenDoesNotStopTheLink)
{
    const QString folder = station.Path("logs");
    log = folder + "/shift.dif";
    QDir().mkpath(folder);
    ASSERT_TRUE(StartStation());
    ProbeDevice& device = Probe();
    device.probe.QueueMessage(BasicRecord("000001"));
    device.probe.Start();
    ASSERT_TRUE(WaitLogged("000001", kStartUpMs));

    // The folder goes; the write fails and its message stays on screen: nobody presses OK.
    QDir(folder).removeRecursively();
    for (const char* counter : {"000002", "000003", "000004"})
        device.probe.QueueMessage(BasicRecord(counter));
    EXPECT_TRUE(QTest::qWaitFor([&] { return device.probe.FramesAcked() >= 4; }, kStepMs))
        << "measurements after the fault were not acknowledged: " << device.probe.FramesAcked();
    EXPECT_EQ(device.probe.MessagesGivenUp(), 0);

    QDir().mkpath(folder);
    ASSERT_TRUE(WaitLogged("000004", kStepMs));
    EXPECT_TRUE(LoggedOnceInOrder(Log(), {"000002", "000003", "000004"}));
}

TEST_F(ProgramFaults, SigtermSavesWaitingRecordsAndEndsCleanly)
{
    log = station.Path("gone/shift.dif");
    ASSERT_TRUE(StartStation());
    ProbeDevice& device = Probe();
    device.probe.QueueMessage(BasicRecord("000007"));
    device.probe.Start();
    // The station hands a message on before its ACK leaves: the record waits for its file.
    ASSERT_TRUE(QTest::qWaitFor([&] { return device.probe.FramesAcked() >= 1; }, kStartUpMs));

    ASSERT_TRUE(station.Terminate(kStepMs)) << "still running after SIGTERM";
    EXPECT_EQ(station.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(station.process().exitCode(), 0);

    const QStringList recovered = station.RecoveryFiles();
    ASSERT_EQ(recovered.size(), 1) << station.Told();
    EXPECT_NE(StationProcess::ReadFile(recovered[0]).find("\t000007\t"), std::string::npos);
    EXPECT_NE(station.Told().find(recovered[0].toStdString()), std::string::npos) << station.Told();
    EXPECT_NE(StationProcess::ReadFile(station.SettingsPath()).find("CCLeft="), std::string::npos)
        << "the window geometry is saved as at every shut-down";
}

TEST(ProgramCommandLine, AnsweredWithoutADisplayAndWrongSettingsFilesRefused)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("shift.dif");
    const QByteArray logBytes = "\tTime and date\tType\r\n\t14:05:33  08-12-2026\tSingle Site\t01\t000123\r\n";
    const QString noise = dir.filePath("noise.ini");
    QByteArray noiseBytes;
    for (int i = 0; i < 512; ++i)
        noiseBytes += static_cast<char>((i * 37 + 11) % 256);
    for (const auto& [path, bytes] : {std::pair{log, logBytes}, std::pair{noise, noiseBytes}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const QString missingFolder = dir.filePath("no/such/dir/x.ini");

    struct Case {
        const char* what;
        QStringList arguments;
        int exitCode;
        QString out; // standard output starts with this (empty: nothing at all)
        QString err; // standard error contains this
    } cases[] = {
        {"help", {"--help"}, 0, "Usage: tallion", ""},
        {"version", {"--version"}, 0, "tallion 7.4.1\n", ""},
        {"wrong option", {"--frobnicate"}, 2, "", "Unknown argument \"--frobnicate\""},
        {"a result log as settings", {"--settings", log}, 1, "", "settings file refused"},
        {"random bytes as settings", {"--settings", noise}, 1, "", "settings file refused"},
        {"a folder as settings", {"--settings", dir.path()}, 1, "", "is a folder"},
        {"settings in a missing folder", {"--settings", missingFolder}, 1, "", "does not exist"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = StationProcess::Run(c.arguments, QString(), QString(), 10000);
        ASSERT_NE(run.exitCode, -1) << c.what << ": still running";
        EXPECT_NE(run.exitCode, -2) << c.what << ": crashed";
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what;
        const QString out = QString::fromStdString(run.out);
        EXPECT_TRUE(c.out.isEmpty() ? out.isEmpty() : out.startsWith(c.out)) << c.what << ": " << run.out;
        EXPECT_TRUE(QString::fromStdString(run.err).contains(c.err)) << c.what;
    }
    EXPECT_EQ(StationProcess::ReadFile(log), logBytes.toStdString()) << "the log named as settings is untouched";
    EXPECT_EQ(StationProcess::ReadFile(noise), noiseBytes.toStdString());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no"))) << "no folders are made for a settings file";
}
