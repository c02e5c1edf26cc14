#include "plant/PlantListener.h"

#include "database/PlantNotify.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string_view>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// More stations than any plant has: a flood of made-up names is a refresh of everything.
constexpr size_t kMostNamed = 256;

// Whether `db init` of this version has put the trigger on the table: without it no notice comes.
bool Notifying(PGconn* conn)
{
    PGresult* rows = PQexec(conn, "SELECT EXISTS (SELECT 1 FROM pg_trigger"
                                  " WHERE tgrelid = to_regclass('tallion.lines') AND tgname = 'lines_notify_insert')");
    const bool found = PQresultStatus(rows) == PGRES_TUPLES_OK && PQntuples(rows) == 1
                       && std::string_view(PQgetvalue(rows, 0, 0)) == "t";
    PQclear(rows);
    return found;
}

PGconn* Connect(const std::string& conninfo)
{
    // The names come as the pages read them (Latin-1); a server that has gone is noticed by the
    // keepalives even when it said nothing.
    const char* keywords[] = {"dbname",           "client_encoding",  "connect_timeout",
                              "keepalives",       "keepalives_idle",  "keepalives_interval",
                              "keepalives_count", "application_name", nullptr};
    const char* values[] = {conninfo.c_str(), "LATIN1", "5", "1", "10", "5", "3", "tallion-plant", nullptr};
    PGconn* conn = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(conn) == CONNECTION_OK) {
        PGresult* listen = PQexec(conn, (std::string("LISTEN ") + kPlantNotifyChannel).c_str());
        const bool ok = PQresultStatus(listen) == PGRES_COMMAND_OK;
        PQclear(listen);
        if (ok)
            return conn;
    }
    PQfinish(conn);
    return nullptr;
}

} // namespace

PlantListener::PlantListener(std::string conninfo, Changed changed)
    : conninfo_(std::move(conninfo))
    , changed_(std::move(changed))
{
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        wake_[0] = wake_[1] = -1;
}

PlantListener::~PlantListener()
{
    Stop();
    for (const int fd : wake_)
        if (fd >= 0)
            close(fd);
}

void PlantListener::Start()
{
    thread_ = std::thread([this] { Run(); });
}

void PlantListener::Stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    if (wake_[1] >= 0)
        (void)!write(wake_[1], "x", 1);
    if (thread_.joinable())
        thread_.join();
}

bool PlantListener::Wait(int socket, Clock::time_point deadline)
{
    pollfd fds[2] = {{wake_[0], POLLIN, 0}, {socket, POLLIN, 0}};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    poll(fds, socket >= 0 ? 2 : 1, static_cast<int>(std::max<long long>(left, 0)));
    std::lock_guard lock(mutex_);
    return !stopping_;
}

void PlantListener::Run()
{
    PGconn* conn = nullptr;
    std::set<std::string> named;
    bool all = false;
    bool pending = false;
    Clock::time_point due;                 // of the pending refresh
    Clock::time_point last = Clock::now(); // of the last refresh
    Clock::time_point retry = last;        // of the next try to connect
    bool warned = false;
    const auto hint = [&] {
        if (!pending)
            due = std::max(Clock::now() + kGather, last + kGap);
        pending = true;
    };
    for (;;) {
        if (!conn && Clock::now() >= retry) {
            conn = Connect(conninfo_);
            if (conn && !warned && !Notifying(conn)) {
                std::fputs("tallion-plant: the plant database sends no notice of new lines (its Tallion tables are "
                           "older than this program: run its `tallion db init`); open pages are brought up to date "
                           "once a minute only\n",
                           stderr);
                warned = true;
            }
            if (conn) {
                // Back: what the pages show may have changed unseen meanwhile.
                all = true;
                hint();
            } else {
                retry = Clock::now() + kRetry;
            }
        }
        Clock::time_point deadline = last + kEverything;
        if (pending)
            deadline = std::min(deadline, due);
        if (!conn)
            deadline = std::min(deadline, retry);
        if (!Wait(conn ? PQsocket(conn) : -1, deadline))
            break;
        if (conn && (PQconsumeInput(conn) == 0 || PQstatus(conn) == CONNECTION_BAD)) {
            // Gone: the pages say so at the next refresh (they cannot read the views either).
            PQfinish(conn);
            conn = nullptr;
            retry = Clock::now() + kRetry;
            all = true;
            hint();
        }
        while (PGnotify* notice = conn ? PQnotifies(conn) : nullptr) {
            if (named.size() < kMostNamed)
                named.insert(notice->extra);
            else
                all = true;
            PQfreemem(notice);
            hint();
        }
        const Clock::time_point now = Clock::now();
        if (!pending && now >= last + kEverything) {
            all = true;
            pending = true;
            due = now;
        }
        if (pending && now >= due) {
            changed_(named, all);
            named.clear();
            all = false;
            pending = false;
            last = Clock::now();
        }
    }
    if (conn)
        PQfinish(conn);
}
