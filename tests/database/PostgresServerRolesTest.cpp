// The plant database guards each station's rows: a station's role reaches only its own rows, and
// only through the schema's functions; a number held with other text is refused; a version-1
// database with its lines is upgraded in place; the office's typed view reads any line.

#include "database/DatabaseSchema.h"
#include "database/PostgresServerFixture.h"
#include "log/LogRecordFormat.h"
#include "support/TestPaths.h"

namespace {

// What `statements` do as the role of `conninfo`: "" when they ran, else the first fault's message.
std::string AsRole(const std::string& conninfo, std::initializer_list<std::string> statements)
{
    PgConnection connection(conninfo);
    DatabaseResult result = connection.Open();
    for (const std::string& sql : statements)
        if (result.ok())
            result = connection.Exec(sql);
    return result.message;
}

const std::string kRows = "SELECT station, journal, seq, line, logged_at, received_at, deleted_at FROM tallion.lines"
                          " ORDER BY station, seq";

TEST_F(PostgresServerTest, AStationRoleReachesOnlyItsOwnRowsAndOnlyThroughTheFunctions)
{
    const std::string line1 = StationConninfo("Line 1");
    const std::string line2 = StationConninfo("Line 2");
    // Line 2 holds two rows, one deleted; Line 1 one row. The stations' clocks say 1970.
    ASSERT_EQ(AsRole(line2, {"SELECT tallion.publish_lines('Line 2', 5, '{1,2}', '{a,b}', '{0,0}')",
                             "SELECT tallion.mark_deleted('Line 2', 5, '{2}', '{1000}')"}),
              "");
    ASSERT_EQ(AsRole(line1, {"SELECT tallion.publish_lines('Line 1', 5, '{1}', '{mine}', '{0}')"}), "");
    // received_at is the server's time, whatever the station's clock says.
    EXPECT_EQ(Sql("SELECT count(*) FROM tallion.lines WHERE received_at > now() - interval '1 minute'"), "3\n");
    const std::string before = Sql(kRows);

    const std::string denied = "The station's database role lacks rights on the tables (the administrator gives "
                               "them with \"tallion db add-station\"): ERROR:  permission denied for ";
    const std::string notLine2 = "The database role \"line1_" + database_
                                 + "\" sends the lines of station \"Line 1\", not of \"Line 2\": set StationName to "
                                   "\"Line 1\", or have the administrator map the role to \"Line 2\" with \"tallion "
                                   "db add-station\".";
    const struct {
        std::string sql;
        std::string message;
    } attempts[] = {
        {"INSERT INTO tallion.lines (station, journal, seq, line, logged_at) VALUES ('Line 2', 5, 3, 'x', now())",
         denied + "table lines"},
        {"UPDATE tallion.lines SET deleted_at = now() WHERE station = 'Line 2'", denied + "table lines"},
        {"UPDATE tallion.lines SET deleted_at = NULL, received_at = now()", denied + "table lines"},
        {"DELETE FROM tallion.lines", denied + "table lines"},
        {"SELECT count(*) FROM tallion.lines", denied + "table lines"},
        {"SELECT count(*) FROM public.result_lines", denied + "view result_lines"},
        {"INSERT INTO tallion.stations VALUES ('x', 'Line 2')", denied + "table stations"},
        {"SELECT tallion.add_station(session_user, 'Line 2')", denied + "function add_station"},
        {"SELECT tallion.publish_lines('Line 2', 5, '{3}', '{forged}', '{0}')", notLine2},
        {"SELECT tallion.mark_deleted('Line 2', 5, '{1}', '{0}')", notLine2},
        // Its own rows: no other text under a number, no second deletion time, no undeleting.
        {"SELECT tallion.publish_lines('Line 1', 5, '{1}', '{changed}', '{99}')",
         "Line 1 of journal 5 of station \"Line 1\" was refused: the database holds another line under this "
         "number. Does another station log under the same StationName?"},
        {"SET ROLE " + std::string(PrivatePostgresServer::kAdmin),
         "The station's database role lacks rights on the tables (the administrator gives them with \"tallion db "
         "add-station\"): ERROR:  permission denied to set role \"tallion_admin\""},
    };
    for (const auto& a : attempts)
        EXPECT_EQ(AsRole(line1, {a.sql}), a.message) << a.sql;
    // Sending its own line again, or marking its own deleted line again, changes nothing.
    EXPECT_EQ(AsRole(line2, {"SELECT tallion.publish_lines('Line 2', 5, '{1}', '{a}', '{777}')",
                             "SELECT tallion.mark_deleted('Line 2', 5, '{2}', '{5000}')"}),
              "");
    EXPECT_EQ(Sql(kRows), before);
    EXPECT_EQ(Sql("SELECT station, seq, extract(epoch FROM deleted_at) FROM tallion.lines ORDER BY 1, 2"),
              "Line 1|1|NULL\nLine 2|1|NULL\nLine 2|2|1.000000\n");

    // A reporting role reads the views and nothing else.
    ASSERT_EQ(Sql("CREATE ROLE office_" + database_
                  + " LOGIN PASSWORD 'pw'; GRANT SELECT ON tallion.carcass_results,"
                    " public.result_lines TO office_"
                  + database_),
              "");
    const std::string office = server_->Conninfo(database_, "office_" + database_, "pw");
    EXPECT_EQ(AsRole(office, {"SELECT count(*) FROM tallion.carcass_results, public.result_lines"}), "");
    EXPECT_EQ(AsRole(office, {"SELECT count(*) FROM tallion.lines"}), denied + "table lines");
    EXPECT_EQ(AsRole(office, {"SELECT tallion.publish_lines('Line 1', 5, '{2}', '{x}', '{0}')"}),
              denied + "function publish_lines");
}

// Two stations under one StationName: the second one's line is refused, told once, and waits.
TEST_F(PostgresServerTest, ANumberHeldWithOtherTextIsRefusedAndTheSameTextIsHarmless)
{
    const std::string conninfo = StationConninfo("Line 1");
    OutboxBatch first{7, {{1, 0, "\tone\t"}, {2, 0, "\ttwo\t"}}, {}, 2, {}, {}};
    PgPlantDatabase database(conninfo);
    ASSERT_TRUE(database.Connect().ok());
    ASSERT_TRUE(database.Publish("Line 1", first).ok());
    ASSERT_TRUE(database.Publish("Line 1", first).ok());

    OutboxBatch other{7, {{2, 0, "\ttwo\t"}, {3, 0, "\tthree\t"}, {1, 0, "\tuno\t"}}, {}, 3, {}, {}};
    const DatabaseResult refused = database.Publish("Line 1", other);
    EXPECT_EQ(refused.fault, DatabaseFault::Conflict);
    EXPECT_EQ(refused.message, "Line 1 of journal 7 of station \"Line 1\" was refused: the database holds another "
                               "line under this number. Does another station log under the same StationName?");
    // Nothing of the refused batch is kept.
    EXPECT_EQ(Sql("SELECT seq, line FROM tallion.lines ORDER BY seq"), "1|\tone\t\n2|\ttwo\t\n");
}

TEST_F(PostgresServerTest, AStationNameThatIsNotItsRolesWaitsUntilTheRoleIsMappedToIt)
{
    const std::string conninfo = StationConninfo("Line 1");
    Station station(logPath, conninfo, "Line 9");
    station.Log("waits", logPath);
    const QString expected = QStringLiteral("The database role \"line1_%1\" sends the lines of station \"Line 1\", "
                                            "not of \"Line 9\": set StationName to \"Line 1\", or have the "
                                            "administrator map the role to \"Line 9\" with \"tallion db add-station\".")
                                 .arg(QString::fromStdString(database_));
    EXPECT_TRUE(QTest::qWaitFor([&] { return station.publisher->Status().reason == expected; }, 8000))
        << station.publisher->Status().reason.toStdString();
    EXPECT_EQ(station.publisher->Status().fault, DatabaseFault::WrongStation);
    EXPECT_EQ(station.journal.Waiting(), 1u);
    EXPECT_EQ(Sql("SELECT count(*) FROM tallion.lines"), "0\n");

    EXPECT_EQ(AddStation("Line 9", "line1_" + database_).first, 0);
    ExpectLines("Line 9|1|\twaits\t|f\n");
}

TEST_F(PostgresServerTest, VersionOneWithLinesAndDeletionsIsUpgradedInPlaceAndANewerVersionIsTold)
{
    // A version-1 database as its stations left it, with the grants its README gave.
    const std::string role = "line1_" + database_;
    ASSERT_EQ(Sql("ALTER DATABASE " + database_ + " SET timezone TO 'UTC'"), "");
    ASSERT_EQ(
        Sql("CREATE TABLE tallion_schema (version integer NOT NULL); INSERT INTO tallion_schema VALUES (1);"
            "CREATE TABLE tallion_lines (station text NOT NULL, journal bigint NOT NULL, seq bigint NOT NULL,"
            " line text NOT NULL, logged_at timestamptz NOT NULL, deleted_at timestamptz,"
            " received_at timestamptz NOT NULL DEFAULT now(), PRIMARY KEY (station, journal, seq));"
            "CREATE INDEX tallion_lines_logged ON tallion_lines (station, logged_at);"
            "CREATE VIEW result_lines AS SELECT station, line, logged_at, deleted_at, journal, seq"
            " FROM tallion_lines;"
            "INSERT INTO tallion_lines VALUES"
            " ('Line 1', 3, 1, E'\\t07:10:00  14-03-2024\\tSingle Site\\t01\\t000011\\t 14.2 A\\t\\t 55.0 B"
            "\\t\\t\\t\\t\\t\\t 55.0\\t\\tR\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t\\t 80.5\\t\\t',"
            "  '2024-03-14 07:10:01+00', NULL, '2024-03-14 07:10:02+00'),"
            " ('Line 1', 3, 2, E'\\tCancel      000012\\t', '2024-03-14 07:11:01+00', '2024-03-14 08:00:00+00',"
            "  '2024-03-14 07:11:02+00');"
            "CREATE ROLE "
            + role + " LOGIN PASSWORD 'pw'; GRANT SELECT ON tallion_schema TO " + role
            + "; GRANT INSERT ON tallion_lines TO " + role
            + "; GRANT SELECT (station, journal, seq, deleted_at), UPDATE (deleted_at) ON tallion_lines TO " + role),
        "");
    const QStringList init{"db", "init", "--connection", QString::fromStdString(Conninfo())};
    EXPECT_EQ(Capture(RunDbCommand, init),
              std::make_pair(0, std::string("The plant database holds the Tallion tables, version 3.\n")));

    EXPECT_EQ(Sql("SELECT station, seq, logged_at, deleted_at FROM result_lines ORDER BY seq"),
              "Line 1|1|2024-03-14 07:10:01+00|NULL\nLine 1|2|2024-03-14 07:11:01+00|2024-03-14 08:00:00+00\n");
    EXPECT_EQ(Sql("SELECT seq, kind, carcass, probe_time, class, lean_meat_pct, weight, received_at"
                  " FROM tallion.carcass_results ORDER BY seq"),
              "1|result|000011|2024-03-14 07:10:00|R|55.0|80.5|2024-03-14 07:10:02+00\n"
              "2|cancel|000012|NULL|NULL|NULL|NULL|2024-03-14 07:11:02+00\n");
    // The old grants are gone: the role may no longer undelete a row.
    EXPECT_EQ(AsRole(server_->Conninfo(database_, role, "pw"), {"UPDATE tallion.lines SET deleted_at = NULL"}),
              "The station's database role lacks rights on the tables (the administrator gives them with \"tallion "
              "db add-station\"): ERROR:  permission denied for table lines");

    PgPlantDatabase station(StationConninfo("Line 1"));
    // Not even the owner changes a row's history by mistake.
    EXPECT_EQ(Sql("UPDATE tallion.lines SET deleted_at = NULL"),
              "ERROR: ERROR:  A stored line and its times never change.\nCONTEXT:  PL/pgSQL function "
              "tallion.keep_history() line 1 at RAISE\n");
    ASSERT_EQ(Sql("UPDATE tallion_schema SET version = 4"), "");
    const DatabaseResult newer = station.Connect();
    EXPECT_EQ(newer.fault, DatabaseFault::NewerSchema);
    EXPECT_EQ(newer.message, "The plant database's Tallion tables are of version 4, newer than this station knows "
                             "(3): update the station");
    EXPECT_EQ(Capture(RunDbCommand, init).first, 1);
}

// However malformed, every line reads: the reference file's lines, one row each, as the office
// sees them. The column positions are the log's own: a line the writer makes reads back.
TEST_F(PostgresServerTest, CarcassResultsReadsEveryLineWhateverItHolds)
{
    QFile input(TestDataFile(QStringLiteral("hostile_lines.dif")));
    QFile expected(TestDataFile(QStringLiteral("hostile_lines_typed.txt")));
    ASSERT_TRUE(input.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = input.readAll().split('\n');
    lines.removeLast(); // after the last line end
    OutboxBatch batch{1, {}, {}, 0, {}, {}};
    for (const QByteArray& line : lines)
        batch.lines.push_back({++batch.lastEvent, 0, line.chopped(1).toStdString()});

    CarcassMeasurement r;
    r.kind = 'L';
    r.timeDate = "06:05:04  03-02-2025";
    r.carcassCount = "000777";
    r.fat1 = " 1.1";
    r.fat2 = " 2.2";
    r.meat = " 3.3";
    r.meat1 = " 4.4";
    r.meatPercent = " 5.5";
    r.carcassClass = "U";
    r.colour1 = "6";
    r.rz7Colour1 = "7";
    r.weight = " 8.8";
    const std::string written = LogLineFor(r);
    batch.lines.push_back({100, 0, written.substr(0, written.size() - 2)});

    PgPlantDatabase database(StationConninfo("Line 1"));
    ASSERT_TRUE(database.Connect().ok());
    ASSERT_TRUE(database.Publish("Line 1", batch).ok());
    const std::string typed = "SELECT seq, kind, carcass, probe_time, class, lean_meat_pct, fat1, fat2, meat, meat1,"
                              " quality, weight FROM tallion.carcass_results";
    EXPECT_EQ(Sql(typed + " WHERE seq < 100 ORDER BY seq"), expected.readAll().toStdString());
    EXPECT_EQ(Sql(typed + " WHERE seq = 100"), "100|result|000777|2025-02-03 06:05:04|U|5.5|1.1|2.2|3.3|4.4|7|8.8\n");
    // A NUL byte, which no text value may hold, is stored as SUB.
    EXPECT_EQ(Sql("SELECT line = E'\\tnul\\x1Abyte\\t' FROM result_lines WHERE seq = 14"), "t\n");
}

TEST_F(PostgresServerTest, InitRefusesAnEncodingWithoutLatin1AndAddStationAnUnknownRole)
{
    ASSERT_EQ(Sql("CREATE DATABASE " + database_
                  + "w ENCODING 'WIN1252' LC_COLLATE 'C' LC_CTYPE 'C'"
                    " TEMPLATE template0"),
              "");
    char* text = nullptr;
    size_t size = 0;
    FILE* err = open_memstream(&text, &size);
    EXPECT_EQ(RunDbCommand({"db", "init", "--connection", QString::fromStdString(server_->Conninfo(database_ + "w"))},
                           stdout, err),
              1);
    std::fclose(err);
    EXPECT_EQ(std::string(text, size), "tallion db init: The database's encoding is WIN1252, which cannot hold every "
                                       "Latin-1 character of a log line: make the database with ENCODING 'UTF8'\n");
    std::free(text);

    EXPECT_EQ(AddStation("Line 1", "nobody_here").first, 1);
    PgConnection admin(Conninfo());
    ASSERT_TRUE(admin.Open().ok());
    EXPECT_EQ(::AddStation(admin, "Line 1", "nobody_here").message,
              "The server has no role \"nobody_here\": create it first (CREATE ROLE nobody_here LOGIN) and put its "
              "password in the station's ~/.pgpass");
}

} // namespace
