// The station's lines in a real PostgreSQL server that the test starts on its own (skipped, with
// the reason, where it cannot run): published live from two stations, through a server restart
// with lines and deletions made meanwhile, a crash between the server's commit and the cursor,
// and with the role's faults told.

#include "database/PostgresServerFixture.h"
#include "log/SummaryCommand.h"

#include <QElapsedTimer>

#include "support/TestPaths.h"
#include <algorithm>

namespace {

// Two stations share one database, each numbering its own lines.
TEST_F(PostgresServerTest, LinesArePublishedAsWrittenEachByteAsItsLatin1Character)
{
    const std::string otherLog = LogFile("other.dif");
    Station station(logPath, StationConninfo("Line 1"), "Line 1");
    Station second(otherLog, StationConninfo("Line 2"), "Line 2");
    station.Log("Probe error 12 \xE9t\xE9", logPath);
    second.Log("b", otherLog);
    station.Log("Cancel      000012", logPath);
    station.Log("Cancel      000012", logPath);
    ExpectLines("Line 1|1|\tProbe error 12 \xE9t\xE9\t|f\n"
                "Line 1|2|\tCancel      000012\t|f\n"
                "Line 1|3|\tCancel      000012\t|f\n"
                "Line 2|1|\tb\t|f\n");
    // Stored as characters: the é is one character, two bytes in the server's UTF-8.
    EXPECT_EQ(Sql("SELECT length(line), octet_length(line) FROM result_lines WHERE seq = 1 AND station = 'Line 1'"),
              "20|22\n");
    EXPECT_EQ(Sql("SELECT count(*) FROM result_lines WHERE logged_at BETWEEN now() - interval '1 minute' AND now()"),
              "4\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return station.journal.Waiting() == 0; }, 3000));
}

// Two stations log into one file: each deletion marks exactly the row of the line deleted, whoever
// logged it and whoever deleted it.
TEST_F(PostgresServerTest, ASharedLogsDeletionsMarkTheRowsOfTheLinesDeleted)
{
    Station a(logPath, StationConninfo("A"), "A", "A");
    Station b(logPath, StationConninfo("B"), "B", "B");
    a.Log("a1", logPath);
    a.Log("a2", logPath);
    b.Log("b1", logPath);
    b.Log("b2", logPath);
    a.Log("c1", logPath);
    ExpectLines("A|1|\ta1\t|f\nA|2|\ta2\t|f\nA|3|\tc1\t|f\nB|1|\tb1\t|f\nB|2|\tb2\t|f\n");

    // Lines: 1 header, 2 a1, 3 a2, 4 b1, 5 b2, 6 c1.
    EXPECT_EQ(a.Delete(logPath, 2), LineDeletion::Deleted); // a1
    EXPECT_EQ(b.Delete(logPath, 4), LineDeletion::Deleted); // b2, now line 4
    EXPECT_EQ(a.Delete(logPath, 3), LineDeletion::Deleted); // b1, B's, deleted by A
    b.journal.Recheck();                                    // the station's once-a-second look at its log
    ExpectLines("A|1|\ta1\t|t\nA|2|\ta2\t|f\nA|3|\tc1\t|f\nB|1|\tb1\t|t\nB|2|\tb2\t|t\n");
}

// The log changed while a line waited for a server that was away, and the station restarted before
// it logged anything to the new log: the line still reaches the server.
TEST_F(PostgresServerTest, ALineLeftInTheJournalOfAnEarlierLogIsSentAfterARestart)
{
    const std::string owed = dir_.filePath(QStringLiteral("owed")).toStdString();
    {
        Station away(logPath, StationConninfo("Line 1") + " port=1", "Line 1", "", owed);
        away.Log("one", logPath);
        EXPECT_EQ(away.journal.Waiting(), 1u);
    }
    Station station(LogFile("next.dif"), StationConninfo("Line 1"), "Line 1", "", owed);
    ExpectLines("Line 1|1|\tone\t|f\n");
}

// A station ended while the server hangs ends at once; killed between the server's commit and
// its cursor, it sends those lines again, and the server keeps each once.
TEST_F(PostgresServerTest, HangingServerOrLostCursorNeitherHoldsNorDoublesALine)
{
    auto station = std::make_unique<Station>(logPath, StationConninfo("Line 1"), "Line 1");
    station->Log("one", logPath);
    station->Log("two", logPath);
    ASSERT_TRUE(QTest::qWaitFor([&] { return station->journal.Waiting() == 0; }, 8000));

    server_->Freeze(true);
    station->Log("three", logPath); // the publisher now waits on the server
    QTest::qWait(300);
    EXPECT_EQ(station->journal.Waiting(), 1u);
    QElapsedTimer ending;
    ending.start();
    station.reset();
    EXPECT_LT(ending.elapsed(), 2000);
    server_->Freeze(false);
    // The server committed "one" and "two", but the cursor on disk says it has none of them.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(OutboxJournal::CursorPath(logPath))));

    Station again(logPath, StationConninfo("Line 1"), "Line 1");
    ExpectLines("Line 1|1|\tone\t|f\nLine 1|2|\ttwo\t|f\nLine 1|3|\tthree\t|f\n");
}

// Lines logged and deleted while the server is down reach it, each once, when it is back; a
// deletion marks the right one of two identical lines.
TEST_F(PostgresServerTest, LinesAndDeletionsWhileTheServerIsUpAndDownReachItEachOnce)
{
    // A line from before the database was set is in the log too; it has no row.
    LogFileWriter plain;
    LogAlert(plain, "older", logPath);
    Station station(logPath, StationConninfo("Line 1"), "Line 1");
    station.Log("x", logPath);
    station.Log("same", logPath);
    station.Log("same", logPath);
    station.Log("y", logPath);
    ASSERT_EQ(Await("SELECT count(*) FROM result_lines", "4\n"), "4\n");

    // Log lines: 1 header, 2 older, 3 x, 4 same, 5 same, 6 y. The second "same" goes while up.
    ASSERT_EQ(station.Delete(logPath, 5), LineDeletion::Deleted);
    EXPECT_EQ(Await("SELECT seq FROM result_lines WHERE deleted_at IS NOT NULL", "3\n"), "3\n");

    server_->Stop();
    station.Log("during 1", logPath);
    station.Log("during 2", logPath);
    EXPECT_TRUE(QTest::qWaitFor([&] { return station.publisher->Status().state == DatabaseState::Offline; }, 8000));
    EXPECT_EQ(station.journal.Waiting(), 2u);
    // Now 1 header, 2 older, 3 x, 4 same, 5 y, 6 during 1, 7 during 2: "y" goes while down, then the
    // older line.
    ASSERT_EQ(station.Delete(logPath, 5), LineDeletion::Deleted);
    ASSERT_EQ(station.Delete(logPath, 2), LineDeletion::Deleted);
    std::string why;
    ASSERT_TRUE(server_->Start(&why)) << why;
    // Numbers are the journal's events: both deletions of the station's lines took one; the
    // older line has no row, and its deletion none.
    station.Log("after", logPath);

    ExpectLines("Line 1|1|\tx\t|f\nLine 1|2|\tsame\t|f\nLine 1|3|\tsame\t|t\nLine 1|4|\ty\t|t\n"
                "Line 1|6|\tduring 1\t|f\nLine 1|7|\tduring 2\t|f\nLine 1|9|\tafter\t|f\n");
}

// A wrong password, a role that may not make the tables and one not yet a station: each is told,
// the lines wait, and `tallion db add-station` is all the role needs.
TEST_F(PostgresServerTest, WrongPasswordAndMissingRightsAreToldAndTheLinesWaitForAddStation)
{
    const auto reasonBecomes = [](Station& station, DatabaseFault fault, const QString& start) {
        return QTest::qWaitFor(
            [&] {
                const DatabaseStatus status = station.publisher->Status();
                return status.fault == fault && status.reason.startsWith(start);
            },
            8000);
    };
    const std::string role = "line1_" + database_;
    ASSERT_EQ(Sql("CREATE ROLE " + role + " LOGIN PASSWORD 'pw1'"), "");
    {
        const std::string otherLog = LogFile("other.dif");
        Station wrong(otherLog, server_->Conninfo(database_, role, "wrong"), "Line 1");
        wrong.Log("waits", otherLog);
        EXPECT_TRUE(reasonBecomes(
            wrong, DatabaseFault::Authentication,
            QStringLiteral("Wrong password or unknown role (the password comes from the password file ~/.pgpass): ")));
        EXPECT_EQ(wrong.journal.Waiting(), 1u);
    }

    Station station(logPath, server_->Conninfo(database_, role, "pw1"), "Line 1");
    station.Log("waits", logPath);
    // No tables, and a role that may not make them.
    EXPECT_TRUE(reasonBecomes(station, DatabaseFault::NoSchema,
                              QStringLiteral("The database has no Tallion tables (or older ones) and the station's "
                                             "role may not create them: run \"tallion db init\"")));

    PgPlantDatabase owner(Conninfo());
    ASSERT_TRUE(owner.Connect().ok());
    EXPECT_TRUE(reasonBecomes(station, DatabaseFault::NoRights,
                              QStringLiteral("The station's database role lacks rights on the tables (the "
                                             "administrator gives them with \"tallion db add-station\"): ERROR:  "
                                             "permission denied for function register_journal")));

    EXPECT_EQ(AddStation("Line 1", role),
              std::make_pair(0, "The role " + role + " sends the lines of station \"Line 1\", and those only.\n"));
    ExpectLines("Line 1|1|\twaits\t|f\n");
    ASSERT_EQ(station.Delete(logPath, 2), LineDeletion::Deleted);
    ExpectLines("Line 1|1|\twaits\t|t\n");
}

TEST_F(PostgresServerTest, DbInitTwiceAndSummaryFromTheDatabaseAsFromTheLog)
{
    const QString conninfo = QString::fromStdString(Conninfo());
    const QStringList init{QStringLiteral("db"), QStringLiteral("init"), QStringLiteral("--connection"), conninfo};
    EXPECT_EQ(Capture(RunDbCommand, init),
              std::make_pair(0, std::string("The plant database holds the Tallion tables, version 3.\n")));
    EXPECT_EQ(Capture(RunDbCommand, init).first, 0);
    EXPECT_EQ(Sql("SELECT version FROM tallion_schema"), "3\n");

    // The reference log's lines go into the database as a station would send them.
    QFile log(TestDataFile(QStringLiteral("summary_weighed.dif")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    OutboxBatch batch;
    batch.journal = 7;
    constexpr std::int64_t kNoonOfDecember6 = 1765022400000; // 2025-12-06 12:00 UTC
    for (qsizetype i = 1; i < lines.size(); ++i) {           // the header is never a row
        if (lines[i].isEmpty())
            continue;
        batch.lines.push_back({i, kNoonOfDecember6 + i, lines[i].chopped(1).toStdString()});
    }
    // One line more, deleted at the station: it does not count.
    batch.lines.push_back({1000, kNoonOfDecember6, batch.lines.front().line});
    batch.deletions.push_back({1000, kNoonOfDecember6 + 1000});
    batch.lastEvent = 1000;
    PgPlantDatabase database(StationConninfo("Line 1"));
    ASSERT_TRUE(database.Connect().ok());
    ASSERT_TRUE(database.Publish("Line 1", batch).ok());
    ASSERT_TRUE(database.Publish("Line 1", batch).ok()); // sent twice, stored once
    EXPECT_EQ(Sql("SELECT count(*), count(deleted_at) FROM result_lines"), std::to_string(batch.lines.size()) + "|1\n");

    QFile expectedFile(TestDataFile(QStringLiteral("summary_weighed_with_weight.txt")));
    ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly));
    const std::string reference = expectedFile.readAll().toStdString();
    const size_t path = reference.find("summary_weighed.dif");
    ASSERT_NE(path, std::string::npos);

    const QStringList summary{QStringLiteral("summary"),   QStringLiteral("--db"),   conninfo,
                              QStringLiteral("--station"), QStringLiteral("Line 1"), QStringLiteral("--with-weight")};
    std::string expected = reference;
    expected.replace(path, std::strlen("summary_weighed.dif"), "Line 1");
    EXPECT_EQ(Capture(RunDbSummaryCommand, summary), std::make_pair(0, expected));

    expected = reference;
    expected.replace(path, std::strlen("summary_weighed.dif"), "Line 1 2025-12-06");
    EXPECT_EQ(
        Capture(RunDbSummaryCommand, summary + QStringList{QStringLiteral("--date"), QStringLiteral("2025-12-06")}),
        std::make_pair(0, expected));
}

} // namespace

// A server stopped (SIGSTOP) answers nothing and ends no statement itself: the publisher gives up
// at its own deadline, says the server does not answer, and sends the line once it is back.
TEST_F(PostgresServerTest, AStoppedServerIsSeenWithinTheDeadlineAndTheLinesFollowItsReturn)
{
    OutboxJournal journal;
    journal.Open(logPath);
    auto database = std::make_unique<PgPlantDatabase>(StationConninfo("Line 1"));
    database->SetAnswerDeadline(std::chrono::milliseconds(1500));
    DatabasePublisher publisher(std::move(database), journal, "Line 1");
    publisher.retryFirst = std::chrono::milliseconds(100);
    publisher.retryMost = std::chrono::milliseconds(300);
    std::vector<DatabaseFault> faults;
    QObject::connect(&publisher, &DatabasePublisher::StatusChanged,
                     [&](const DatabaseStatus& status) { faults.push_back(status.fault); });
    journal.onChange = [&] { publisher.Wake(); };
    LogFileWriter writer;
    writer.SetChangeObserver(&journal);
    publisher.start();
    LogAlert(writer, "one", logPath);
    ASSERT_TRUE(QTest::qWaitFor([&] { return journal.Waiting() == 0; }, 8000));

    server_->Freeze(true);
    LogAlert(writer, "two", logPath);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return std::count(faults.begin(), faults.end(), DatabaseFault::NotAnswering) > 0; }, 8000));
    EXPECT_EQ(journal.Waiting(), 1u);
    server_->Freeze(false);
    ExpectLines("Line 1|1|\tone\t|f\nLine 1|2|\ttwo\t|f\n");
    publisher.Stop();
}
