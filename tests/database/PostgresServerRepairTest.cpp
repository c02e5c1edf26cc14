// A journal beside the log damaged, emptied, lost or replaced while the station was down: it is
// set aside, and the log is compared with the server, so that every line is there once and a
// line deleted meanwhile is marked. And `tallion db resync` after rows went missing on the server.

#include "database/PostgresServerFixture.h"

#include "support/TestPaths.h"
#include <QDir>
#include <QProcess>

namespace {

const std::string kByLine = "SELECT line, deleted_at IS NOT NULL FROM result_lines ORDER BY line, journal, seq";

void RewriteFile(const std::string& path, const std::function<void(std::string&)>& change)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::string bytes = file.readAll().toStdString();
    file.close();
    change(bytes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

TEST_F(PostgresServerTest, ADamagedOrLostJournalIsSetAsideAndTheLogComparedWithTheServer)
{
    const struct {
        const char* name;
        std::function<void(const std::string& journal)> damage;
        bool setAside; // there was a file to set aside
    } cases[] = {
        {"a bad header",
         [](const std::string& j) { RewriteFile(j, [](std::string& b) { b.replace(0, 7, "RUBBISH"); }); }, true},
        {"a bad byte in an early record",
         [](const std::string& j) { RewriteFile(j, [](std::string& b) { b[b.find("\nA ") + 3] = 'z'; }); }, true},
        {"cut to nothing", [](const std::string& j) { RewriteFile(j, [](std::string& b) { b.clear(); }); }, true},
        {"gone", [](const std::string& j) { QFile::remove(QString::fromStdString(j)); }, false},
        {"a folder in its place",
         [](const std::string& j) {
             QFile::remove(QString::fromStdString(j));
             QDir().mkpath(QString::fromStdString(j));
         },
         true},
    };
    const std::string conninfo = StationConninfo("Line 1");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Sql("DELETE FROM tallion.lines"), "");
        const std::string log = LogFile((std::string(c.name) + ".dif").c_str());
        {
            Station station(log, conninfo, "Line 1");
            for (const char* line : {"1", "2", "3"})
                station.Log(line, log);
            ASSERT_EQ(Await("SELECT count(*) FROM result_lines", "3\n"), "3\n");
        }
        {
            Station away(log, conninfo + " port=1", "Line 1");
            away.Log("4", log);
            away.Log("5", log);
        }
        // While the station is down: line "2" is deleted from the log, and the journal damaged.
        RewriteFile(log, [](std::string& b) { b.erase(b.find("\t2\t\r\n"), 5); });
        c.damage(OutboxJournal::JournalPath(log));

        Station station(log, conninfo, "Line 1");
        EXPECT_NE(station.journal.TakeNotice(), "");
        EXPECT_EQ(Await(kByLine, "\t1\t|f\n\t2\t|t\n\t3\t|f\n\t4\t|f\n\t5\t|f\n"),
                  "\t1\t|f\n\t2\t|t\n\t3\t|f\n\t4\t|f\n\t5\t|f\n");
        const QStringList aside =
            QDir(dir_.path())
                .entryList({QString::fromStdString(std::string(c.name) + ".dif.dbjournal.damaged-*")},
                           QDir::AllEntries | QDir::NoDotAndDotDot);
        EXPECT_EQ(aside.size(), c.setAside ? 1 : 0);
    }
}

TEST_F(PostgresServerTest, ResyncSendsWhatTheServerLostAndRefusesWhileAStationHoldsTheLog)
{
    // Run with the station's own role, as the station would send.
    const std::string conninfo = StationConninfo("Line 1");
    const QStringList resync{"db",
                             "resync",
                             "--connection",
                             QString::fromStdString(conninfo),
                             "--station",
                             "Line 1",
                             QString::fromStdString(logPath)};
    {
        Station station(logPath, conninfo, "Line 1", "Line 1");
        for (const char* line : {"1", "2", "3"})
            station.Log(line, logPath);
        ASSERT_EQ(Await("SELECT count(*) FROM result_lines", "3\n"), "3\n");
        // Another process: the running station holds the journal.
        QProcess other;
        other.start(BuiltProgram("tallion"), resync);
        ASSERT_TRUE(other.waitForFinished(30000));
        EXPECT_EQ(other.exitCode(), 1);
        EXPECT_TRUE(other.readAllStandardError().contains("a running station named \"Line 1\" holds the journal"));
    }
    // A server restored from an older backup: the last line is gone.
    ASSERT_EQ(Sql("DELETE FROM tallion.lines WHERE line = E'\\t3\\t'"), "");
    EXPECT_EQ(Capture(RunDbCommand, resync),
              std::make_pair(0, logPath
                                    + ": sent 1 lines the plant database lacked and marked 0 deleted for station "
                                      "\"Line 1\".\n"));
    EXPECT_EQ(Sql(kByLine), "\t1\t|f\n\t2\t|f\n\t3\t|f\n");
    EXPECT_EQ(Capture(RunDbCommand, resync).first, 0); // nothing more to do
    EXPECT_EQ(Sql(kByLine), "\t1\t|f\n\t2\t|f\n\t3\t|f\n");
}

} // namespace
