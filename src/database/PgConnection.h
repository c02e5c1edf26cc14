#pragma once
// One libpq connection with the station's defaults: LATIN1 on the wire (a log line's bytes are
// Latin-1 characters), a bounded wait to connect, keepalives, and every value bound as a
// parameter. What the server says is turned into a fault the operator can act on.

#include "database/PlantDatabase.h"

#include <libpq-fe.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct PgResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgResultPtr = std::unique_ptr<PGresult, PgResultDeleter>;

class PgConnection {
public:
    // `passwordAllowed` false: a connection string that holds a password is refused (one from
    // the settings file, which others may read).
    explicit PgConnection(std::string conninfo, bool passwordAllowed = true);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    DatabaseResult Open();
    void Close();
    bool IsOpen() const;

    // Runs one statement with text parameters. `result` receives the rows when wanted. A server
    // that answers nothing within `deadline` (stopped, frozen: its own statement_timeout never
    // fires then) is given up: the connection is closed and the fault is NotAnswering.
    DatabaseResult Exec(const std::string& sql, const std::vector<std::string>& parameters = {},
                        PgResultPtr* result = nullptr);

    // From any thread: ends the statement that waits now, by closing the connection's socket
    // under it. Asking the server to cancel would itself wait on a server that hangs.
    void Interrupt();

    std::chrono::milliseconds deadline{30000};

private:
    // Waits for the statement's result until the deadline; null when it passed.
    PgResultPtr AwaitResult(bool& late);

    std::string conninfo_;
    bool passwordAllowed_;
    PGconn* conn_ = nullptr;
    std::mutex socketMutex_;
    int socket_ = -1;
};

// A database in `encoding`, which cannot hold every Latin-1 character.
DatabaseResult EncodingFault(const std::string& encoding);
// The fault and the operator's text for a connection to `host` and `port` that failed with
// libpq's `message`.
DatabaseResult ConnectFailure(const std::string& message, const std::string& host, const std::string& port);
// The same for a statement that failed with SQLSTATE `state` and the server's `message`.
DatabaseResult StatementFailure(const std::string& state, const std::string& message, bool connectionLost);
// A connection string that libpq cannot read, or that holds a password where none may be: the
// fault; otherwise none.
DatabaseResult ReadConninfo(const std::string& conninfo, bool passwordAllowed);
