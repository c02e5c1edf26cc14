// Timing of the plant database's publisher against a private PostgreSQL server on a local
// socket: a backlog of 100,000 lines (a day offline for a busy plant) reaching the server, the
// lag from a line's append to its commit while the server is up, what journalling costs the
// station's thread while the server hangs, and the office's queries on the typed view over
// 20 stations x DAYS days x 10,000 lines (`database_bench [--office-only] [DAYS]`, 30 days by
// default: 6,000,000 rows). Prints figures; passes or fails nothing.

#include "database/DatabasePublisher.h"
#include "database/DatabaseSchema.h"
#include "database/OutboxJournal.h"
#include "database/PgPlantDatabase.h"
#include "database/ResyncCommand.h"
#include "log/LogFileWriter.h"
#include "log/LogRecordFormat.h"
#include "support/PrivatePostgresServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Line(int n)
{
    CarcassMeasurement r;
    char counter[8];
    std::snprintf(counter, sizeof counter, "%06d", n % 1000000);
    r.kind = n % 3 == 0 ? 'L' : 'E';
    r.timeDate = "08:15:02  14-03-2024";
    r.carcassType = "1";
    r.carcassCount = counter;
    r.fat1 = " 14.2";
    r.fat2 = " 16.0";
    r.meat = " 55.0";
    r.meatPercent = " 58.3";
    r.carcassClass = "E";
    r.weight = " 92.4";
    std::string line = LogLineFor(r);
    return line.substr(0, line.size() - 2);
}

// Appends lines to the log file and tells the journal, as the writer does.
void Append(const std::string& log, OutboxJournal& journal, const std::vector<std::string>& lines)
{
    QFile file(QString::fromStdString(log));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    if (file.size() == 0)
        file.write("header\r\n");
    for (const std::string& l : lines)
        file.write((l + "\r\n").c_str());
    file.close();
    journal.LinesAppended(log, lines);
}

// A database with the tables, the administrator sending as station "Bench 1".
void Prepare(const PrivatePostgresServer& server, const std::string& database)
{
    server.Sql("CREATE DATABASE " + database);
    PgConnection connection(server.Conninfo(database));
    DatabaseResult result = connection.Open();
    if (result.ok())
        result = CreateOrUpgradeSchema(connection);
    if (result.ok())
        result = AddStation(connection, "Bench 1", PrivatePostgresServer::kAdmin);
    if (!result.ok())
        std::printf("database_bench: %s\n", result.message.c_str());
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

} // namespace

// Median time of `sql` over five runs, in ms.
double QueryMs(PGconn* conn, const std::string& sql, std::string* firstRow)
{
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        PGresult* result = PQexec(conn, sql.c_str());
        times.push_back(MsSince(start));
        if (PQresultStatus(result) != PGRES_TUPLES_OK)
            *firstRow = PQresultErrorMessage(result);
        else if (PQntuples(result) > 0)
            *firstRow = std::to_string(PQntuples(result)) + " rows, first: " + PQgetvalue(result, 0, 0) + " "
                        + PQgetvalue(result, 0, 1) + " " + PQgetvalue(result, 0, 2);
        PQclear(result);
    }
    return Percentile(times, 0.5);
}

// 4. The office: one day's classes of every station, and the day's deletions.
void Office(const PrivatePostgresServer& server, int days)
{
    Prepare(server, "office");
    PGconn* conn = PQconnectdb(server.Conninfo("office").c_str());
    CarcassMeasurement r;
    r.kind = 'E';
    r.timeDate = "%s";
    r.carcassType = "01";
    r.carcassCount = "%s";
    r.fat1 = " 14.2 A";
    r.meat = " 55.0 B";
    r.meatPercent = " 58.3";
    r.carcassClass = "%s";
    r.weight = " 92.4";
    const std::string line = LogLineFor(r);
    const std::string text = line.substr(0, line.size() - 2);
    const char* values[] = {text.c_str()};
    auto start = Clock::now();
    // Each day: 20 stations, 10,000 lines each through a shift from 06:00, in time order.
    for (int day = 0; day < days; ++day) {
        const std::string insert =
            "INSERT INTO tallion.lines (station, journal, seq, line, logged_at)"
            " SELECT 'Line ' || s, 1, "
            + std::to_string(day)
            + " * 10000 + i,"
              " format($1, to_char(t, 'HH24:MI:SS  DD-MM-YYYY'), lpad((i % 1000000)::text, 6, '0'),"
              "  (ARRAY['S','E','U','R','O','P'])[1 + (i * 7 + s) % 6]), t"
              " FROM generate_series(1, 10000) AS i, generate_series(1, 20) AS s,"
              " LATERAL (SELECT timestamptz '2026-01-01 06:00+00' + interval '1 day' * "
            + std::to_string(day) + " + interval '2.88 s' * i AS t) AS l ORDER BY t, s";
        PGresult* result = PQexecParams(conn, insert.c_str(), 1, nullptr, values, nullptr, nullptr, 0);
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            std::printf("office: %s", PQresultErrorMessage(result));
        PQclear(result);
    }
    // One line in 200 deleted a minute after it was logged.
    PQclear(PQexec(conn, "UPDATE tallion.lines SET deleted_at = logged_at + interval '1 minute' WHERE seq % 200 = 0"));
    std::printf("office: %d rows stored (typed columns computed at insert) in %.1f s\n", days * 200000,
                MsSince(start) / 1000);
    start = Clock::now();
    PQclear(PQexec(conn, "VACUUM ANALYZE tallion.lines"));
    std::printf("office: VACUUM ANALYZE in %.1f s\n", MsSince(start) / 1000);

    char dayText[16];
    std::snprintf(dayText, sizeof dayText, "%02d", days / 2 + 1);
    const std::string day = dayText;
    const std::string from = "timestamptz '2026-01-" + day + " 00:00+00'";
    const std::string classes = "SELECT station, class, count(*) FROM tallion.carcass_results WHERE logged_at >= "
                                + from + " AND logged_at < " + from + " + interval '1 day'"
                                + " AND deleted_at IS NULL AND class IS NOT NULL GROUP BY station, class"
                                  " ORDER BY station, class";
    const std::string deletions = "SELECT station, carcass, deleted_at FROM tallion.carcass_results"
                                  " WHERE deleted_at >= "
                                  + from + " AND deleted_at < " + from + " + interval '1 day' ORDER BY deleted_at";
    std::string row;
    double ms = QueryMs(conn, classes, &row);
    std::printf("office: one day's classes of every station: median %.1f ms (target < 200 ms); %s\n", ms, row.c_str());
    // Parallel workers cost more to start than they save on a small, busy machine.
    PQclear(PQexec(conn, "SET max_parallel_workers_per_gather = 0"));
    ms = QueryMs(conn, classes, &row);
    std::printf("office: the same without parallel workers: median %.1f ms\n", ms);
    ms = QueryMs(conn, deletions, &row);
    std::printf("office: the day's deletions: median %.1f ms (target < 50 ms); %s\n", ms, row.c_str());
    // How the server reads the day, for the record.
    PGresult* plan = PQexec(conn, ("EXPLAIN ANALYZE " + classes).c_str());
    for (int n = 0; n < PQntuples(plan); ++n)
        std::printf("office:   %s\n", PQgetvalue(plan, n, 0));
    PQclear(plan);
    PQfinish(conn);
}

int main(int argc, char** argv)
{
    bool officeOnly = false;
    int days = 30;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--office-only")
            officeOnly = true;
        else
            days = std::max(1, std::min(31, std::atoi(argv[i])));
    }
    PrivatePostgresServer server;
    std::string why;
    if (!server.Start(&why)) {
        std::printf("database_bench: no private PostgreSQL server: %s\n", why.c_str());
        return 0;
    }
    if (officeOnly) {
        Office(server, days);
        return 0;
    }
    QTemporaryDir dir;

    // 1. The backlog: 100,000 lines journalled while the server was away, then sent.
    {
        Prepare(server, "backlog");
        const std::string log = dir.filePath(QStringLiteral("backlog.dif")).toStdString();
        OutboxJournal journal;
        journal.Open(log);
        std::vector<std::string> chunk;
        for (int n = 1; n <= 100000; ++n) {
            chunk.push_back(Line(n));
            if (chunk.size() == 1000) {
                Append(log, journal, chunk);
                chunk.clear();
            }
        }
        // The station restarts with the backlog: its journal is read back first.
        const auto start = Clock::now();
        OutboxJournal reopened;
        reopened.Open(log);
        std::printf("backlog: journal of %zu waiting lines read back at start-up in %.0f ms\n", reopened.Waiting(),
                    MsSince(start));
        DatabasePublisher publisher(std::make_unique<PgPlantDatabase>(server.Conninfo("backlog")), reopened, "Bench 1");
        publisher.start();
        while (reopened.Waiting() > 0 && MsSince(start) < 120000)
            std::this_thread::sleep_for(5ms);
        const double ms = MsSince(start);
        publisher.Stop();
        std::printf("backlog: 100000 lines reached the server in %.2f s (target < 20 s); rows in the view: %s",
                    ms / 1000, server.Sql("SELECT count(*) FROM result_lines", "backlog").c_str());
    }

    // 2. Lag from append to commit (confirmed by the cursor), one line every 100 ms.
    {
        Prepare(server, "live");
        const std::string log = dir.filePath(QStringLiteral("live.dif")).toStdString();
        OutboxJournal journal;
        journal.Open(log);
        DatabasePublisher publisher(std::make_unique<PgPlantDatabase>(server.Conninfo("live")), journal, "Bench 1");
        journal.onChange = [&publisher] { publisher.Wake(); };
        publisher.start();
        std::vector<double> lags;
        std::vector<double> appends;
        for (int n = 1; n <= 200; ++n) {
            const auto start = Clock::now();
            Append(log, journal, {Line(n)});
            appends.push_back(MsSince(start));
            while (journal.Waiting() > 0 && MsSince(start) < 10000)
                std::this_thread::sleep_for(200us);
            lags.push_back(MsSince(start));
            std::this_thread::sleep_for(100ms);
        }
        std::printf("lag from append to commit: median %.1f ms, p99 %.1f ms, max %.1f ms (target median < 1 s)\n",
                    Percentile(lags, 0.5), Percentile(lags, 0.99), Percentile(lags, 1.0));
        std::printf("journal append on the station's thread, server up: median %.2f ms, p99 %.2f ms\n",
                    Percentile(appends, 0.5), Percentile(appends, 0.99));

        // 3. The server hangs: another connection holds the table locked, so every insert waits.
        PGconn* locker = PQconnectdb(server.Conninfo("live").c_str());
        PQclear(PQexec(locker, "BEGIN"));
        PQclear(PQexec(locker, "LOCK TABLE tallion.lines IN ACCESS EXCLUSIVE MODE"));
        appends.clear();
        for (int n = 201; n <= 400; ++n) {
            const auto start = Clock::now();
            Append(log, journal, {Line(n)});
            appends.push_back(MsSince(start));
            std::this_thread::sleep_for(20ms);
        }
        std::printf("journal append on the station's thread, server hanging: median %.2f ms, p99 %.2f ms, "
                    "max %.2f ms (%zu lines waiting)\n",
                    Percentile(appends, 0.5), Percentile(appends, 0.99), Percentile(appends, 1.0), journal.Waiting());
        PQclear(PQexec(locker, "COMMIT"));
        PQfinish(locker);
        const auto start = Clock::now();
        while (journal.Waiting() > 0 && MsSince(start) < 60000)
            std::this_thread::sleep_for(5ms);
        std::printf("after the lock was released: every line sent in %.2f s; rows: %s", MsSince(start) / 1000,
                    server.Sql("SELECT count(*) FROM result_lines", "live").c_str());
        publisher.Stop(10s);
    }

    // 3. tallion db resync of a 1,000,000-line log against a server that lost 1,000 of its lines
    //    (restored from an older backup, say).
    if (!std::getenv("TALLION_BENCH_NO_RESYNC")) {
        Prepare(server, "resync");
        const std::string log = dir.filePath(QStringLiteral("resync.dif")).toStdString();
        const std::string conninfo = server.Conninfo("resync");
        {
            OutboxJournal journal("Bench 1");
            journal.compactAfter = 0;
            journal.Open(log);
            std::vector<std::string> chunk;
            for (int n = 1; n <= 1000000; ++n) {
                chunk.push_back(Line(n));
                if (chunk.size() == 1000) {
                    Append(log, journal, chunk);
                    chunk.clear();
                }
            }
            PgPlantDatabase database(conninfo);
            database.Connect();
            const auto filling = Clock::now();
            for (OutboxBatch batch = journal.Unconfirmed(5000); batch.lastEvent != 0;
                 batch = journal.Unconfirmed(5000)) {
                if (!database.Publish("Bench 1", batch).ok() || !journal.Confirm(batch.journal, batch.lastEvent))
                    break;
            }
            std::printf("resync: 1000000 lines sent to fill the server in %.1f s\n", MsSince(filling) / 1000);
        }
        server.Sql(
            "DELETE FROM tallion.lines WHERE ctid IN (SELECT ctid FROM tallion.lines ORDER BY random() LIMIT 1000)",
            "resync");
        const auto start = Clock::now();
        const int status = RunResyncCommand({"resync", "--connection", QString::fromStdString(conninfo), "--station",
                                             "Bench 1", QString::fromStdString(log)},
                                            stdout, stderr);
        std::printf("resync: exit %d after %.1f s (target < 30 s); rows now: %s", status, MsSince(start) / 1000,
                    server.Sql("SELECT count(*) FROM result_lines WHERE deleted_at IS NULL", "resync").c_str());
    }
    Office(server, days);
    return 0;
}
