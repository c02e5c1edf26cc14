// Timing of tallion-plant's pages against a private PostgreSQL server on a local socket, over 20
// stations x DAYS days x 10,000 lines (`plant_bench [DAYS]`, 30 days by default: 6,000,000 rows),
// today the last of them: the plant today (`/`), a station's day (first page of its 10,000 lines)
// and the day's CSV. Prints figures; passes or fails nothing.

#include "database/DatabaseCommands.h"
#include "log/LogRecordFormat.h"
#include "support/FreePort.h"
#include "support/PrivatePostgresServer.h"

#include <QCoreApplication>
#include <QProcess>
#include <httplib.h>
#include <libpq-fe.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The median of `runs` requests of `path`, in ms; `bytes` the size of the last answer.
double Median(httplib::Client& http, const std::string& path, int runs, size_t* bytes)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const httplib::Result got = http.Get(path);
        times.push_back(MsSince(start));
        if (!got || got->status != 200) {
            std::printf("%s: no answer (%d)\n", path.c_str(), got ? got->status : -1);
            return -1;
        }
        *bytes = got->body.size();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int days = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    PrivatePostgresServer server;
    std::string why;
    if (!server.Start(&why)) {
        std::printf("no PostgreSQL server: %s\n", why.c_str());
        return 1;
    }
    server.Sql("CREATE DATABASE plant");
    const QString owner = QString::fromStdString(server.Conninfo("plant"));
    RunDbCommand({"db", "init", "--connection", owner}, stdout, stderr);
    server.Sql("CREATE ROLE office LOGIN PASSWORD 'pw';"
               "GRANT SELECT ON tallion.carcass_results, public.result_lines, tallion.stations TO office",
               "plant");

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
    PGconn* conn = PQconnectdb(owner.toStdString().c_str());
    auto start = Clock::now();
    // Each day from 06:00 of the server's day: 20 stations, 10,000 lines each, in time order.
    for (int day = days - 1; day >= 0; --day) {
        const std::string insert = "INSERT INTO tallion.lines (station, journal, seq, line, logged_at)"
                                   " SELECT 'Line ' || s, 1, "
                                   + std::to_string(day)
                                   + " * 10000 + i,"
                                     " format($1, to_char(t, 'HH24:MI:SS  DD-MM-YYYY'), lpad(i::text, 6, '0'),"
                                     "  (ARRAY['S','E','U','R','O','P'])[1 + (i * 7 + s) % 6]), t"
                                     " FROM generate_series(1, 10000) AS i, generate_series(1, 20) AS s,"
                                     " LATERAL (SELECT date_trunc('day', now()) - interval '1 day' * "
                                   + std::to_string(day)
                                   + " + interval '6 hours' + interval '2.88 s' * i AS t) AS l ORDER BY t, s";
        PGresult* result = PQexecParams(conn, insert.c_str(), 1, nullptr, values, nullptr, nullptr, 0);
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            std::printf("insert: %s", PQresultErrorMessage(result));
        PQclear(result);
    }
    PQclear(PQexec(conn, "UPDATE tallion.lines SET deleted_at = logged_at + interval '1 minute' WHERE seq % 200 = 0"));
    PQclear(PQexec(conn, "VACUUM ANALYZE tallion.lines"));
    PQfinish(conn);
    std::printf("%d rows stored in %.1f s\n", days * 200000, MsSince(start) / 1000);

    const int port = FreePort();
    QProcess plant;
    plant.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    plant.start(QStringLiteral(TALLION_BUILD_DIR "/tallion-plant"),
                {"--db", QString::fromStdString(server.Conninfo("plant", "office", "pw")), "--listen",
                 "127.0.0.1:" + QString::number(port)});
    if (!plant.waitForReadyRead(20000)) {
        std::printf("tallion-plant did not start\n");
        return 1;
    }
    httplib::Client http("127.0.0.1", port);
    size_t bytes = 0;
    double ms = Median(http, "/", 20, &bytes);
    std::printf("/ (20 stations today): median %.1f ms (target < 100 ms), %zu bytes\n", ms, bytes);
    ms = Median(http, "/station/Line%201", 20, &bytes);
    std::printf("a station's day, first page of 10,000 lines: median %.1f ms (target < 150 ms), %zu bytes\n", ms,
                bytes);
    ms = Median(http, "/station/Line%201/charts.svg", 5, &bytes);
    std::printf("its charts (SVG): median %.1f ms, %zu bytes\n", ms, bytes);
    ms = Median(http, "/station/Line%201/day.csv", 5, &bytes);
    std::printf("the day's CSV: median %.1f ms for 10,000 records, %.0f records/s (target > 50,000), %zu bytes\n", ms,
                10000 / (ms / 1000), bytes);
    plant.terminate();
    plant.waitForFinished(20000);
    return 0;
}
