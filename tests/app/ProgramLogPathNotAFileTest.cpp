// The station program with a log path that names no regular file: a FIFO, a device, a folder.
// It never blocks on it: the probe stays answered, the records wait, and SIGTERM ends the
// station, saving them to a recovery file.

#include "support/ProbeDevice.h"
#include "support/StationProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(ProgramLogPathNotAFile, TheLinkStaysAnsweredAndSigtermEndsTheStation)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.dif")); // a FIFO nobody reads
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.dif"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& logPath : {fifo, QStringLiteral("/dev/full"), folder}) {
        SCOPED_TRACE(logPath.toStdString());
        StationProcess station;
        station.Setting("LogFilePath", logPath.toStdString());
        const QString link = station.Path("probe");
        ProbeDevice device(link);
        ASSERT_TRUE(station.Start({"--port", "1=" + link}));
        for (const char* counter : {"000001", "000002", "000003"})
            device.probe.QueueMessage(BasicRecord(counter));
        device.probe.Start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return device.probe.FramesAcked() >= 3; }, 20000))
            << "acknowledged: " << device.probe.FramesAcked();
        EXPECT_EQ(device.probe.MessagesGivenUp(), 0);

        ASSERT_TRUE(station.Terminate(5000)) << "still running after SIGTERM";
        EXPECT_EQ(station.process().exitCode(), 0);
        QStringList recovered;
        QDirIterator files(station.Path("data"), {"*.dif"}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            recovered << files.next();
        ASSERT_EQ(recovered.size(), 1);
        std::string why;
        EXPECT_TRUE(LoggedOnceInOrder(StationProcess::ReadFile(recovered[0]), {"000001", "000002", "000003"}, &why))
            << why;
    }
}
