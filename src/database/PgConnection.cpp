#include "database/PgConnection.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <utility>

namespace {

// libpq's texts run over several lines; the first says what happened.
std::string FirstLine(const std::string& text)
{
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
        line.pop_back();
    return line;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

DatabaseResult EncodingFault(const std::string& encoding)
{
    return {DatabaseFault::Other, "The database's encoding is " + encoding
                                      + ", which cannot hold every Latin-1 character of a log line: make the "
                                        "database with ENCODING 'UTF8'"};
}

DatabaseResult ConnectFailure(const std::string& message, const std::string& host, const std::string& port)
{
    const std::string said = FirstLine(message);
    if (Contains(message, "password authentication failed") || Contains(message, "no password supplied")
        || (Contains(message, "role \"") && Contains(message, "does not exist")))
        return {DatabaseFault::Authentication,
                "Wrong password or unknown role (the password comes from the password file ~/.pgpass): " + said};
    if (Contains(message, "could not translate host name"))
        return {DatabaseFault::UnknownHost, "Unknown database host: " + said};
    if (Contains(message, "database \"") && Contains(message, "does not exist"))
        return {DatabaseFault::Other, "No such database on the server: " + said};
    // The server cannot turn Latin-1 into its own encoding at all (WIN1252, for one).
    if (const size_t at = message.find("conversion between LATIN1 and "); at != std::string::npos) {
        const size_t from = at + std::strlen("conversion between LATIN1 and ");
        return EncodingFault(message.substr(from, message.find(' ', from) - from));
    }
    if (Contains(message, "SSL") || Contains(message, "certificate"))
        return {DatabaseFault::Tls, "The encrypted (TLS) link to the database server failed; check sslmode and the "
                                    "certificates (~/.postgresql/root.crt) in Connection: "
                                        + said};
    if (Contains(message, "invalid ") && Contains(message, "value"))
        return {DatabaseFault::ConnectionSetting, "The database connection string holds a wrong value: " + said};
    // Nothing listens there: a port that is not the server's, or a server that is down.
    if (Contains(message, "Connection refused") || Contains(message, "No such file or directory"))
        return {DatabaseFault::Unreachable, "Nothing answers at port " + port + " of " + host
                                                + ": is the port in Connection the server's, and is the server "
                                                  "running? "
                                                + said};
    // Connected, then nothing: a server stopped or frozen (or a network that drops everything).
    if (Contains(message, "timeout expired"))
        return {DatabaseFault::NotAnswering, "The database server at port " + port + " of " + host
                                                 + " does not answer (stopped or frozen?): " + said};
    return {DatabaseFault::Unreachable, "The database server cannot be reached: " + said};
}

DatabaseResult StatementFailure(const std::string& state, const std::string& message, bool connectionLost)
{
    const std::string said = FirstLine(message);
    if (connectionLost)
        return {DatabaseFault::Unreachable, "The connection to the database server was lost: " + said};
    // The schema's own refusals say in full what to do.
    if (state == "TL001")
        return {DatabaseFault::NoRights, said};
    if (state == "TL002")
        return {DatabaseFault::WrongStation, said};
    if (state == "TL003")
        return {DatabaseFault::Conflict, said};
    if (state == "42501")
        return {DatabaseFault::NoRights, "The station's database role lacks rights on the tables (the administrator "
                                         "gives them with \"tallion db add-station\"): "
                                             + said};
    if (state == "42P01" || state == "3F000" || state == "42883")
        return {DatabaseFault::NoSchema, "The database has no Tallion tables: run \"tallion db init\": " + said};
    return {DatabaseFault::Other, "The database refused the lines: " + said};
}

DatabaseResult ReadConninfo(const std::string& conninfo, bool passwordAllowed)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &error);
    if (!options) {
        const std::string said = error ? FirstLine(error) : "out of memory";
        PQfreemem(error);
        return {DatabaseFault::ConnectionSetting, "The database connection string cannot be read: " + said};
    }
    bool password = false;
    for (const PQconninfoOption* o = options; o->keyword; ++o)
        password = password || (std::string(o->keyword) == "password" && o->val);
    PQconninfoFree(options);
    if (password && !passwordAllowed)
        return {DatabaseFault::ConnectionSetting,
                "The Connection setting holds a password, which anyone who may read the settings file can read: "
                "take out password= and put the password in the password file ~/.pgpass (or the file PGPASSFILE "
                "names), readable by the station's account only"};
    return {};
}

PgConnection::PgConnection(std::string conninfo, bool passwordAllowed)
    : conninfo_(std::move(conninfo))
    , passwordAllowed_(passwordAllowed)
{}

PgConnection::~PgConnection()
{
    Close();
}

DatabaseResult PgConnection::Open()
{
    Close();
    if (DatabaseResult read = ReadConninfo(conninfo_, passwordAllowed_); !read.ok())
        return read;
    // The defaults come first so that the connection string may change them; the encoding comes
    // last because every line is sent and read back as Latin-1.
    const char* keys[] = {"connect_timeout",  "keepalives_idle", "keepalives_interval", "keepalives_count",
                          "application_name", "dbname",          "client_encoding",     nullptr};
    const char* values[] = {"10", "30", "10", "3", "tallion", conninfo_.c_str(), "LATIN1", nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 1);
    if (!conn)
        return {DatabaseFault::Other, "Out of memory for the database connection"};
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(conn);
        const char* host = PQhost(conn);
        const char* port = PQport(conn);
        const DatabaseResult failure =
            ConnectFailure(message, host && *host ? host : "the local server", port && *port ? port : "5432");
        PQfinish(conn);
        return failure;
    }
    conn_ = conn;
    // The server's notices ("already exists, skipping") are no news to anyone.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    {
        const std::lock_guard<std::mutex> lock(socketMutex_);
        socket_ = PQsocket(conn_);
    }
    // A table locked by someone else must not hold the lines back for ever: the statement ends
    // and the batch is sent again.
    return Exec("SET statement_timeout = 30000");
}

void PgConnection::Close()
{
    {
        const std::lock_guard<std::mutex> lock(socketMutex_);
        socket_ = -1;
    }
    if (conn_)
        PQfinish(conn_);
    conn_ = nullptr;
}

bool PgConnection::IsOpen() const
{
    return conn_ && PQstatus(conn_) == CONNECTION_OK;
}

PgResultPtr PgConnection::AwaitResult(bool& late)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + deadline;
    PgResultPtr last;
    for (;;) {
        while (PQisBusy(conn_)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0) {
                late = true;
                return nullptr;
            }
            pollfd p{PQsocket(conn_), POLLIN, 0};
            if (p.fd < 0 || (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR))
                return last;
            if (PQconsumeInput(conn_) == 0)
                break; // the link went: PQgetResult tells the error
        }
        PgResultPtr next(PQgetResult(conn_));
        if (!next)
            return last;
        // The last result of a statement is the one that tells; an error wins over what came before.
        if (!last || PQresultStatus(next.get()) == PGRES_FATAL_ERROR || PQresultStatus(last.get()) != PGRES_FATAL_ERROR)
            last = std::move(next);
    }
}

void PgConnection::Interrupt()
{
    const std::lock_guard<std::mutex> lock(socketMutex_);
    if (socket_ >= 0)
        ::shutdown(socket_, SHUT_RDWR);
}

DatabaseResult PgConnection::Exec(const std::string& sql, const std::vector<std::string>& parameters,
                                  PgResultPtr* result)
{
    if (!conn_)
        return {DatabaseFault::Unreachable, "Not connected to the database server"};
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const std::string& p : parameters)
        values.push_back(p.c_str());
    bool late = false;
    PgResultPtr res;
    if (PQsendQueryParams(conn_, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(), nullptr, nullptr,
                          0)
        == 1)
        res = AwaitResult(late);
    if (late) {
        Close();
        return {DatabaseFault::NotAnswering, "The database server took the connection but has not answered for "
                                                 + std::to_string(deadline.count() / 1000)
                                                 + " s (a server stopped or frozen)"};
    }
    const ExecStatusType status = res ? PQresultStatus(res.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
        if (result)
            *result = std::move(res);
        return {};
    }
    const char* state = res ? PQresultErrorField(res.get(), PG_DIAG_SQLSTATE) : nullptr;
    const char* primary = res ? PQresultErrorField(res.get(), PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const bool own = state && state[0] == 'T' && state[1] == 'L';
    return StatementFailure(state ? state : "", own && primary ? primary : PQerrorMessage(conn_),
                            PQstatus(conn_) != CONNECTION_OK);
}
