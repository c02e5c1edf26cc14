#pragma once
// A PostgreSQL server of the test's own: a cluster made by initdb in a temporary folder, listening
// only on a Unix socket in that folder, with password logins. Run as root, the folder belongs to
// `nobody` and the server runs as that user (initdb refuses root). The server is the test's child
// and dies with it; Stop and Start again keep the cluster, as a server restarted mid-shift does.

#include "support/ServerProcess.h"

#include <string>

class PrivatePostgresServer {
public:
    static constexpr const char* kAdmin = "tallion_admin";
    static constexpr const char* kAdminPassword = "admin-secret";

    PrivatePostgresServer() = default;
    ~PrivatePostgresServer();
    PrivatePostgresServer(const PrivatePostgresServer&) = delete;
    PrivatePostgresServer& operator=(const PrivatePostgresServer&) = delete;

    // Makes the cluster on the first call, then starts the server and waits until it answers.
    // False, with the reason, when it cannot run here.
    bool Start(std::string* why);
    // Stops it at once (fast shutdown) and waits for it to end.
    void Stop();
    // A server that hangs: it and its sessions stop answering until thawed.
    void Freeze(bool frozen);

    // A connection string for `database` as `user` with `password` (none: libpq's own sources).
    std::string Conninfo(const std::string& database = "postgres", const std::string& user = kAdmin,
                         const std::string& password = kAdminPassword) const;
    // Runs SQL as the administrator through psql; its output, or "ERROR: ..." on failure.
    std::string Sql(const std::string& sql, const std::string& database = "postgres") const;
    std::string LogTail() const;

private:
    bool RunAsServerUser(const QStringList& command, std::string* why) const;
    QString Path(const char* name) const { return process_.Path(name); }

    ServerProcess process_;
    bool made_ = false;
};
