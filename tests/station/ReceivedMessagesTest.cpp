// What the station does with each acknowledged probe message when it cannot go on at once: a
// pause holds it, a log file that cannot take it keeps it in the journal across a restart.

#include "probe/ProbeFraming.h"
#include "station/StationCore.h"
#include "support/FakeSerialPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace ProbeBytes;

std::string Record(const std::string& counter)
{
    return "E01" + counter + "01250530001203000450612ABS140533X";
}

// A core logging to `log`, its journal in `folder`.
struct Station {
    FakeSerialPort* probe = new FakeSerialPort;
    StationCore core{std::unique_ptr<SerialPort>(probe), std::make_unique<FakeSerialPort>()};
    std::vector<std::string> notices;

    Station(const QString& folder, const QString& log)
    {
        QObject::connect(&core, &StationCore::notice, [this](const QString& text, const QString&, MessageIcon) {
            notices.push_back(text.toStdString());
        });
        core.parts().resultLog.SetLogFilePath(QFile::encodeName(log).toStdString());
        core.OpenReceivedJournal(QFile::encodeName(folder + "/received.journal").toStdString());
        probe->SetPortOpen(true);
        core.parts().link.RunLinkStep("H"); // out of the start state
    }

    // One delivery as the probe makes it; the station's answer to the frame.
    std::string Deliver(const std::string& message)
    {
        core.parts().link.RunLinkStep(kDataPoll);
        probe->TakeWritten();
        core.parts().link.RunLinkStep(std::string{SOH, message[0], STX} + message.substr(1) + ETX);
        return probe->TakeWritten();
    }
};

std::string Counters(const QString& log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return "<no log>";
    std::string counters;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith('\t'))
            counters += line.split('\t').value(4).toStdString() + ' ';
    return counters;
}

TEST(ReceivedMessages, APauseHoldsEveryResultAndItsEndLogsThemInOrder)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("shift.dif");
    Station station(dir.path(), log);
    std::vector<std::pair<bool, int>> pause;
    QObject::connect(&station.core, &StationCore::pauseChanged,
                     [&pause](bool paused, int held) { pause.emplace_back(paused, held); });

    station.core.SetPaused(true);
    EXPECT_EQ(station.Deliver(Record("000001")), std::string{ACK});
    EXPECT_EQ(station.Deliver(Record("000002")), std::string{ACK});
    EXPECT_EQ(Counters(log), "<no log>");
    EXPECT_EQ(station.core.HeldMessages(), 2);
    EXPECT_EQ(pause, (std::vector<std::pair<bool, int>>{{true, 0}, {true, 1}, {true, 2}}));

    station.core.SetPaused(false);
    EXPECT_EQ(Counters(log), "000001 000002 ");
    EXPECT_EQ(pause.back(), (std::pair<bool, int>{false, 0}));
}

TEST(ReceivedMessages, ResultsTheLogCouldNotTakeOutliveTheStationAndReachItOnce)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("gone/shift.dif");
    {
        Station station(dir.path(), log);
        station.core.SetPaused(true);
        station.Deliver(Record("000001"));
        station.Deliver(Record("000002"));
        station.core.SetPaused(false); // neither can be written: the folder is missing
        station.Deliver(Record("000003"));
        station.core.SetPaused(true);
        station.Deliver(Record("000004")); // held when the station dies
        EXPECT_EQ(station.core.resultLog().UnwrittenRecords(), 3u);
        QCoreApplication::processEvents();
        // Killed: nothing closes the journal or saves a recovery file.
    }
    ASSERT_TRUE(QDir().mkpath(dir.filePath("gone")));
    Station restarted(dir.path(), log);
    QCoreApplication::processEvents(); // the first retry of what waited
    EXPECT_EQ(Counters(log), "000001 000002 000003 000004 ");
    ASSERT_EQ(restarted.notices.size(), 1u);
    EXPECT_NE(restarted.notices[0].find("had finished 1 messages"), std::string::npos) << restarted.notices[0];

    // Started a third time, nothing comes back twice.
    restarted.core.CloseReceivedJournal();
    Station third(dir.path(), log);
    QCoreApplication::processEvents();
    EXPECT_EQ(Counters(log), "000001 000002 000003 000004 ");
    EXPECT_TRUE(third.notices.empty());
}

} // namespace
