// The station and its plant database through the fake server: lines wait while the server is
// away, the operator is told once when it goes and once when it is back, and the panel's text
// says how many results wait.

#include "database/StationDatabase.h"
#include "log/LogFileWriter.h"
#include "station/NoticeBoard.h"
#include "support/FakePlantDatabase.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(StationDatabaseTest, ResultsWaitWhileTheServerIsAwayAndTheOperatorIsToldOnceEachWay)
{
    QTemporaryDir dir;
    const std::string log = dir.filePath(QStringLiteral("shift.dif")).toStdString();
    ASSERT_TRUE(QFile(QString::fromStdString(log)).open(QIODevice::WriteOnly));
    auto server = std::make_shared<FakeDatabaseState>();
    server->Refuse({DatabaseFault::Unreachable, "The database server cannot be reached: no route to host"});
    ScriptedDialogs dialogs;
    StationDatabase database(std::make_unique<FakePlantDatabase>(server), "Line 1", log, dialogs);
    LogFileWriter writer;
    writer.SetChangeObserver(database.Observer());
    auto logAlert = [&](const char* text) {
        CarcassMeasurement record;
        record.kind = 'Z';
        record.alertText = text;
        writer.WriteLogRecord(record, log);
    };

    logAlert("one");
    logAlert("two");
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Count(QStringLiteral("Notice")) == 1; }, 5000));
    EXPECT_EQ(dialogs.Last(QStringLiteral("Notice"))->text,
              QStringLiteral("The plant database is not reachable; 2 results wait and will be sent.\r\nThe database "
                             "server cannot be reached: no route to host"));
    EXPECT_EQ(database.PanelText(), QStringLiteral("Database: 2 waiting"));
    EXPECT_EQ(database.PanelTip(), QStringLiteral("The database server cannot be reached: no route to host\nResults "
                                                  "wait at the station and are sent when the database is back."));
    // Failing again and again is no news.
    QTest::qWait(1500);
    EXPECT_EQ(dialogs.Count(QStringLiteral("Notice")), 1);

    server->Refuse({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Count(QStringLiteral("Notice")) == 2; }, 8000));
    EXPECT_EQ(dialogs.Last(QStringLiteral("Notice"))->text,
              QStringLiteral("The plant database is back; the results that waited are being sent."));
    logAlert("three");
    ASSERT_TRUE(QTest::qWaitFor([&] { return database.Journal().Waiting() == 0; }, 5000));
    EXPECT_EQ(server->Rows(), "Line 1 1 \tone\t\nLine 1 2 \ttwo\t\nLine 1 3 \tthree\t\n");
    EXPECT_EQ(database.PanelText(), QStringLiteral("Database: connected"));
}

// Where the main window's strip shows them: one notice of the database at a time, replaced as the
// server goes and comes, and gone once what waited is sent.
TEST(StationDatabaseTest, ThreeOutagesInARowShowOneNoticeAtATime)
{
    QTemporaryDir dir;
    const std::string log = dir.filePath(QStringLiteral("shift.dif")).toStdString();
    ASSERT_TRUE(QFile(QString::fromStdString(log)).open(QIODevice::WriteOnly));
    auto server = std::make_shared<FakeDatabaseState>();
    NoticeBoard board;
    StationDatabase database(std::make_unique<FakePlantDatabase>(server), "Line 1", log, board);
    database.Publisher().retryFirst = std::chrono::milliseconds(50);
    database.Publisher().retryMost = std::chrono::milliseconds(100);
    size_t most = 0;
    QObject::connect(&board, &NoticeBoard::changed, [&] { most = std::max(most, board.notices().size()); });
    LogFileWriter writer;
    writer.SetChangeObserver(database.Observer());
    CarcassMeasurement record;
    record.kind = 'Z';
    record.alertText = "No Meat";

    for (int outage = 1; outage <= 3; ++outage) {
        SCOPED_TRACE(outage);
        server->Refuse({DatabaseFault::Unreachable, "FATAL: terminating connection due to administrator command"});
        writer.WriteLogRecord(record, log);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return board.Find("database") && board.Find("database")->icon == MessageIcon::Exclamation; }, 5000));
        EXPECT_EQ(board.Find("database")->text,
                  QStringLiteral("The plant database is not reachable; 1 result waits and will be sent."));
        EXPECT_EQ(board.Find("database")->details,
                  QStringLiteral("FATAL: terminating connection due to administrator command"));
        server->Refuse({});
        ASSERT_TRUE(QTest::qWaitFor([&] { return board.notices().empty(); }, 8000));
    }
    EXPECT_EQ(most, 1u);
}

// A refusal that does not pass by itself (here two stations under one name) is told once, and the
// panel says the results are refused.
TEST(StationDatabaseTest, ALineNumberHeldByAnotherLineIsToldOnceAndThePanelSaysRefused)
{
    QTemporaryDir dir;
    const std::string log = dir.filePath(QStringLiteral("shift.dif")).toStdString();
    ASSERT_TRUE(QFile(QString::fromStdString(log)).open(QIODevice::WriteOnly));
    auto server = std::make_shared<FakeDatabaseState>();
    const std::string clash = "Line 1 of journal 7 of station \"Line 1\" was refused: the database holds another line "
                              "under this number. Does another station log under the same StationName?";
    server->Refuse({DatabaseFault::Conflict, clash});
    server->connectAnyway = true;
    ScriptedDialogs dialogs;
    StationDatabase database(std::make_unique<FakePlantDatabase>(server), "Line 1", log, dialogs);
    LogFileWriter writer;
    writer.SetChangeObserver(database.Observer());
    CarcassMeasurement record;
    record.kind = 'Z';
    record.alertText = "one";
    writer.WriteLogRecord(record, log);

    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Count(QStringLiteral("Notice")) == 1; }, 5000));
    EXPECT_EQ(dialogs.Last(QStringLiteral("Notice"))->text,
              QStringLiteral("The plant database refuses the results; 1 wait at the station until this is put right "
                             "(see Details).\r\n%1")
                  .arg(QString::fromStdString(clash)));
    EXPECT_EQ(database.PanelText(), QStringLiteral("Database: refused, 1 waiting"));
    EXPECT_EQ(database.PanelTip(),
              QString::fromStdString(clash) + QStringLiteral("\nResults wait at the station until this is put right."));
    // Connecting again and being refused again is no news.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const std::lock_guard<std::mutex> lock(server->mutex);
            return server->publishes >= 3;
        },
        15000));
    EXPECT_EQ(dialogs.Count(QStringLiteral("Notice")), 1);
}

// Two stations under one name on one log would number their lines on top of each other's: the
// second does not publish, and says so.
TEST(StationDatabaseTest, ASecondStationOfTheSameNameOnALogDoesNotPublishAndSaysSo)
{
    QTemporaryDir dir;
    const std::string log = dir.filePath(QStringLiteral("shift.dif")).toStdString();
    ASSERT_TRUE(QFile(QString::fromStdString(log)).open(QIODevice::WriteOnly));
    // The first station is another program, holding its journal's lock (flock itself, not the
    // sleep it runs, so that ending it ends the lock).
    QProcess first;
    first.start(QStringLiteral("flock"), {QStringLiteral("-x"), QStringLiteral("-o"),
                                          QString::fromStdString(OutboxJournal::LockPath(log, "Line 1")),
                                          QStringLiteral("sleep"), QStringLiteral("30")});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(QString::fromStdString(OutboxJournal::LockPath(log, "Line 1"))); }, 5000));
    auto server = std::make_shared<FakeDatabaseState>();
    ScriptedDialogs dialogs;
    StationDatabase second(std::make_unique<FakePlantDatabase>(server), "Line 1", log, dialogs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Count(QStringLiteral("Notice")) == 1; }, 5000));
    EXPECT_EQ(dialogs.Last(QStringLiteral("Notice"))->text.toStdString(),
              "Another station named \"Line 1\" publishes this log (" + log
                  + "); this one logs its results but does not send them. Give each station its own StationName.");
    EXPECT_EQ(second.PanelText(), QStringLiteral("Database: not sending (another station of this name)"));

    // Its results are logged meanwhile; once the first one ends, it takes over and sends them.
    QFile file(QString::fromStdString(log));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("H\r\nx\r\n");
    file.close();
    second.Observer()->LinesAppended(log, {"x"});
    first.kill();
    first.waitForFinished();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->Rows() == "Line 1 1 x\n"; }, 10000)) << server->Rows();
}

// Lines left under an earlier StationName that this station's role may not send wait for the
// administrator; today's lines go on.
TEST(StationDatabaseTest, LinesOfAnEarlierNameTheServerRefusesDoNotHoldUpTodaysLines)
{
    QTemporaryDir dir;
    const std::string owed = dir.filePath(QStringLiteral("owed")).toStdString();
    const std::string log = dir.filePath(QStringLiteral("shift.dif")).toStdString();
    QFile file(QString::fromStdString(log));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("H\r\nold\r\n");
    file.close();
    {
        OutboxJournal before("Old");
        before.KeepOwedList(std::make_shared<OwedJournals>(owed));
        ASSERT_TRUE(before.Open(log));
        before.LinesAppended(log, {"old"});
    }
    auto server = std::make_shared<FakeDatabaseState>();
    server->refusedStation = "Old";
    ScriptedDialogs dialogs;
    StationDatabase renamed(std::make_unique<FakePlantDatabase>(server), "New", log, dialogs, nullptr, owed);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("new\r\n");
    file.close();
    renamed.Observer()->LinesAppended(log, {"new"});
    // Sent and confirmed; the earlier name's line still waits.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return server->Rows() == "New 1 new\n" && renamed.Journal().Waiting() == 1u; }, 10000))
        << server->Rows();
    EXPECT_EQ(OwedJournals(owed).Read(), (std::vector<OwedJournal>{{"Old", log}, {"New", log}}));
}

} // namespace
