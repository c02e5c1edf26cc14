// The station program with a log path that names no regular file, here a FIFO nobody reads (the
// writer's own tests cover devices and folders too). It never blocks on it: the probe stays
// answered, the records wait, and SIGTERM ends the station, saving them to a recovery file.

#include "support/StationLine.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(ProgramLogPathNotAFile, TheLinkStaysAnsweredAndSigtermEndsTheStation)
{
    QTemporaryDir dir;
    StationLine line;
    line.log = dir.filePath(QStringLiteral("pipe.dif"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(line.log).constData(), 0600), 0);
    ASSERT_TRUE(line.StartStation());
    SimulatedProbe& probe = line.Probe().probe;
    for (const char* counter : {"000001", "000002", "000003"})
        probe.QueueMessage(BasicRecord(counter));
    probe.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return probe.FramesAcked() >= 3; }, 20000))
        << "acknowledged: " << probe.FramesAcked();
    EXPECT_EQ(probe.MessagesGivenUp(), 0);

    ASSERT_TRUE(line.station.Terminate(5000)) << "still running after SIGTERM";
    EXPECT_EQ(line.station.process().exitCode(), 0);
    const QStringList recovered = line.station.RecoveryFiles();
    ASSERT_EQ(recovered.size(), 1);
    EXPECT_TRUE(LoggedOnceInOrder(StationProcess::ReadFile(recovered[0]), {"000001", "000002", "000003"}));
}
