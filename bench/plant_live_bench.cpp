// tallion-plant's live pages against a private PostgreSQL server: STREAMS browsers (200 by default)
// hold the plant today open while 5 stations each log a carcass every 2 s for SECONDS (60 by
// default), then a backlog of 100,000 lines is sent in batches of 1,000. Prints the time from each
// line's commit to its carcass on every open page (median, p99), the server's memory and its share
// of a core meanwhile, and how many pushes the backlog made. Passes or fails nothing.
//
//   plant_live_bench [SECONDS] [STREAMS]

#include "database/DatabaseCommands.h"
#include "log/LogRecordFormat.h"
#include "support/FreePort.h"
#include "support/PrivatePostgresServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <libpq-fe.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <deque>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A browser's stream of the plant today: a socket that asked for it.
int OpenStream(int port)
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(s);
        return -1;
    }
    const std::string ask = "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: text/event-stream\r\n\r\n";
    if (write(s, ask.data(), ask.size()) != static_cast<ssize_t>(ask.size())) {
        close(s);
        return -1;
    }
    return s;
}

// utime + stime of `pid` in seconds, and its resident memory now and at its peak in MiB.
double CpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

double MemoryMiB(qint64 pid, const char* field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ')[0].toDouble() / 1024;
    return 0;
}

struct Streams {
    std::vector<int> sockets;
    std::vector<std::string> tails; // the last bytes read, for a number split between reads
    std::vector<size_t> pushes;

    // Reads what came until `deadline`; `seen` is called with each socket and the text it got.
    template <class Seen>
    void Read(Clock::time_point deadline, Seen seen)
    {
        std::vector<pollfd> fds;
        for (const int s : sockets)
            fds.push_back({s, POLLIN, 0});
        char buffer[65536];
        while (Clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(left, 1))) <= 0)
                continue;
            for (size_t i = 0; i < fds.size(); ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP)))
                    continue;
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n <= 0) {
                    fds[i].fd = -1;
                    continue;
                }
                std::string text = tails[i] + std::string(buffer, static_cast<size_t>(n));
                for (size_t at = text.find("event: page"); at != std::string::npos;
                     at = text.find("event: page", at + 1))
                    if (at >= tails[i].size())
                        ++pushes[i];
                seen(i, text);
                tails[i] = text.substr(text.size() > 32 ? text.size() - 32 : 0);
            }
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 60;
    const int browsers = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
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
               "GRANT SELECT ON tallion.carcass_results, public.result_lines, tallion.stations TO office;"
               "INSERT INTO tallion.stations SELECT 'line' || s, 'Line ' || s FROM generate_series(1, 5) s",
               "plant");

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
    const qint64 pid = plant.processId();

    Streams streams;
    for (int b = 0; b < browsers; ++b) {
        const int s = OpenStream(port);
        if (s < 0) {
            std::printf("stream %d could not be opened\n", b);
            return 1;
        }
        streams.sockets.push_back(s);
    }
    streams.tails.resize(streams.sockets.size());
    streams.pushes.resize(streams.sockets.size());
    // Each stream's first page.
    streams.Read(Clock::now() + std::chrono::seconds(5), [](size_t, const std::string&) {});
    const size_t opened =
        size_t(std::count_if(streams.pushes.begin(), streams.pushes.end(), [](size_t p) { return p > 0; }));
    std::printf("%zu of %d streams open, each with its first page\n", opened, browsers);

    // Line k of station s is carcass "s0000k"; each station logs every 2 s, the stations 400 ms apart.
    CarcassMeasurement r;
    r.kind = 'E';
    r.timeDate = "%s";
    r.carcassType = "01";
    r.carcassCount = "%s";
    r.fat1 = " 14.2 A";
    r.meat = " 55.0 B";
    r.meatPercent = " 58.3";
    r.carcassClass = "E";
    r.weight = " 92.4";
    std::string line = LogLineFor(r);
    line.resize(line.size() - 2);
    PGconn* conn = PQconnectdb(owner.toStdString().c_str());
    std::deque<std::pair<std::string, Clock::time_point>> committed; // oldest first
    std::map<std::pair<size_t, std::string>, bool> arrived;
    std::vector<double> latencies;
    const auto arrival = [&](size_t i, const std::string& text) {
        for (const auto& [carcass, at] : committed)
            if (text.find("no. " + carcass) != std::string::npos && !arrived[{i, carcass}]) {
                arrived[{i, carcass}] = true;
                latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - at).count());
            }
    };
    const double cpuBefore = CpuSeconds(pid);
    const auto start = Clock::now();
    int seq = 0;
    for (auto next = start; next < start + std::chrono::seconds(seconds); next += std::chrono::milliseconds(400)) {
        streams.Read(next, arrival);
        const int station = 1 + seq % 5;
        char carcass[16];
        std::snprintf(carcass, sizeof carcass, "%d%05d", station, seq / 5 + 1);
        const std::string number = std::to_string(++seq);
        const std::string stationText = std::to_string(station);
        const char* values[] = {stationText.c_str(), number.c_str(), carcass, line.c_str()};
        const auto before = Clock::now();
        PGresult* result = PQexecParams(
            conn,
            "INSERT INTO tallion.lines (station, journal, seq, line, logged_at) SELECT 'Line ' || $1, 1, $2::bigint,"
            " format($4, to_char(now(), 'HH24:MI:SS  DD-MM-YYYY'), $3::text), now()",
            4, nullptr, values, nullptr, nullptr, 0);
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            std::printf("insert: %s", PQresultErrorMessage(result));
        PQclear(result);
        committed.emplace_back(carcass, before);
        // Only the last few can still be on their way.
        while (committed.size() > 10)
            committed.pop_front();
    }
    streams.Read(Clock::now() + std::chrono::seconds(3), arrival);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = CpuSeconds(pid) - cpuBefore;
    std::sort(latencies.begin(), latencies.end());
    const size_t expected = size_t(seq) * opened;
    if (!latencies.empty())
        std::printf("append -> carcass on the page: %zu of %zu arrivals, median %.0f ms (target < 1000), p99 %.0f ms "
                    "(target < 2000), max %.0f ms\n",
                    latencies.size(), expected, latencies[latencies.size() / 2],
                    latencies[std::min(latencies.size() - 1, latencies.size() * 99 / 100)], latencies.back());
    std::printf("%zu streams, 5 stations logging every 2 s for %.0f s: tallion-plant %.1f %% of a core (target < 5), "
                "%.1f MiB resident, peak %.1f MiB (target < 100)\n",
                opened, wall, 100 * cpu / wall, MemoryMiB(pid, "VmRSS:"), MemoryMiB(pid, "VmHWM:"));

    // A backlog drained: 100,000 lines in 100 transactions of 1,000, as fast as the server takes them.
    const size_t pushesBefore = streams.pushes[0];
    const auto drain = Clock::now();
    for (int batch = 0; batch < 100; ++batch) {
        const std::string first = std::to_string(100000 + batch * 1000);
        const char* values[] = {first.c_str()};
        PQclear(PQexecParams(conn,
                             "INSERT INTO tallion.lines (station, journal, seq, line, logged_at)"
                             " SELECT 'Line 1', 2, $1::bigint + i, E'\\tbacklog\\t', now()"
                             " FROM generate_series(1, 1000) i",
                             1, nullptr, values, nullptr, nullptr, 0));
    }
    const double drainMs = std::chrono::duration<double, std::milli>(Clock::now() - drain).count();
    streams.Read(Clock::now() + std::chrono::seconds(3), [](size_t, const std::string&) {});
    std::printf("a 100,000-line backlog committed in %.0f ms: %zu pushes to each page\n", drainMs,
                streams.pushes[0] - pushesBefore);
    PQfinish(conn);
    for (const int s : streams.sockets)
        close(s);
    plant.terminate();
    plant.waitForFinished(20000);
    return 0;
}
