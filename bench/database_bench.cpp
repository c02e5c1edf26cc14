// Timing of the plant database's publisher against a private PostgreSQL server on a local
// socket: a backlog of 100,000 lines (a day offline for a busy plant) reaching the server, the
// lag from a line's append to its commit while the server is up, and what journalling costs the
// station's thread while the server hangs. Prints figures; passes or fails nothing.

#include "database/DatabasePublisher.h"
#include "database/OutboxJournal.h"
#include "database/PgPlantDatabase.h"
#include "log/LogFileWriter.h"
#include "log/LogRecordFormat.h"
#include "support/PrivatePostgresServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

} // namespace

int main()
{
    PrivatePostgresServer server;
    std::string why;
    if (!server.Start(&why)) {
        std::printf("database_bench: no private PostgreSQL server: %s\n", why.c_str());
        return 0;
    }
    QTemporaryDir dir;

    // 1. The backlog: 100,000 lines journalled while the server was away, then sent.
    {
        server.Sql("CREATE DATABASE backlog");
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
        server.Sql("CREATE DATABASE live");
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
        PQclear(PQexec(locker, "LOCK TABLE tallion_lines IN ACCESS EXCLUSIVE MODE"));
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
    return 0;
}
