#include "support/PrivatePostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <unistd.h>

namespace {

const QString kBin = QStringLiteral("/usr/lib/postgresql/15/bin/");

// The user the server runs as: `nobody` when the test runs as root, else the test's own.
const passwd* ServerUser()
{
    return ::geteuid() == 0 ? ::getpwnam("nobody") : ::getpwuid(::geteuid());
}

} // namespace

PrivatePostgresServer::~PrivatePostgresServer()
{
    Stop();
}

bool PrivatePostgresServer::RunAsServerUser(const QStringList& command, std::string* why) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments = command;
    QString program = arguments.takeFirst();
    if (::geteuid() == 0) {
        arguments =
            QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), program} + arguments;
        program = QStringLiteral("runuser");
    }
    process.start(program, arguments);
    return ServerProcess::Finish(process, command, 60000, why);
}

bool PrivatePostgresServer::Start(std::string* why)
{
    if (::access((kBin + QStringLiteral("initdb")).toLocal8Bit().constData(), X_OK) != 0) {
        *why = "the PostgreSQL server is not installed (Debian package postgresql-15)";
        return false;
    }
    const passwd* user = ServerUser();
    if (!process_.FolderValid() || !user) {
        *why = "no temporary folder or no user to run the server as";
        return false;
    }
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;
    if (!made_) {
        QFile password(Path("pwfile"));
        if (!password.open(QIODevice::WriteOnly) || password.write(kAdminPassword) < 0) {
            *why = "cannot write the password file";
            return false;
        }
        password.close();
        if (::chown(process_.Folder().toLocal8Bit().constData(), uid, gid) != 0
            || ::chown(Path("pwfile").toLocal8Bit().constData(), uid, gid) != 0) {
            *why = "cannot give the folder to the server's user";
            return false;
        }
        if (!RunAsServerUser({kBin + QStringLiteral("initdb"), QStringLiteral("-D"), Path("data"), QStringLiteral("-U"),
                              QString::fromLatin1(kAdmin), QStringLiteral("--pwfile"), Path("pwfile"),
                              QStringLiteral("--auth=scram-sha-256"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                              QStringLiteral("--no-locale"), QStringLiteral("-N")},
                             why))
            return false;
        made_ = true;
    }

    const QByteArray data = Path("data").toLocal8Bit();
    const QByteArray socketDir = process_.Folder().toLocal8Bit();
    if (!process_.Spawn((kBin + QStringLiteral("postgres")).toLocal8Bit(),
                        {"postgres", "-D", data, "-k", socketDir, "-c", "listen_addresses=", "-c", "fsync=off", "-c",
                         "max_connections=40"},
                        Path("server.log").toLocal8Bit(), O_APPEND, ServerProcess::User{uid, gid})) {
        *why = "cannot start the server";
        return false;
    }
    const std::string conninfo = Conninfo();
    switch (process_.AwaitAnswer(std::chrono::seconds(20), [&] { return PQping(conninfo.c_str()) == PQPING_OK; })) {
    case ServerProcess::Wait::Answers: return true;
    case ServerProcess::Wait::Ended: *why = "the server stopped at once: " + LogTail(); return false;
    case ServerProcess::Wait::TimedOut: break;
    }
    *why = "the server did not answer within 20 s: " + LogTail();
    Stop();
    return false;
}

void PrivatePostgresServer::Stop()
{
    process_.Stop(SIGINT, std::chrono::seconds(10)); // fast shutdown: sessions end, nothing committed is lost
}

void PrivatePostgresServer::Freeze(bool frozen)
{
    const pid_t server = process_.Pid();
    if (server <= 0)
        return;
    // The server and every process it started (one per connection).
    ::kill(server, frozen ? SIGSTOP : SIGCONT);
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        // "pid (name) state ppid ...": the name may hold spaces, so count from its closing bracket.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == server)
            ::kill(pid, frozen ? SIGSTOP : SIGCONT);
    }
}

std::string PrivatePostgresServer::Conninfo(const std::string& database, const std::string& user,
                                            const std::string& password) const
{
    std::string text = "host=" + process_.Folder().toStdString() + " dbname=" + database + " user=" + user;
    if (!password.empty())
        text += " password=" + password;
    return text;
}

std::string PrivatePostgresServer::Sql(const std::string& sql, const std::string& database) const
{
    PGconn* conn = PQconnectdb(Conninfo(database).c_str());
    std::string out;
    if (PQstatus(conn) != CONNECTION_OK) {
        out = std::string("ERROR: ") + PQerrorMessage(conn);
        PQfinish(conn);
        return out;
    }
    PQsetClientEncoding(conn, "LATIN1");
    PGresult* result = PQexec(conn, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    if (status == PGRES_TUPLES_OK) {
        // One row a line, values separated by "|".
        for (int r = 0; r < PQntuples(result); ++r) {
            for (int c = 0; c < PQnfields(result); ++c) {
                if (c > 0)
                    out += '|';
                out += PQgetisnull(result, r, c) ? "NULL" : PQgetvalue(result, r, c);
            }
            out += '\n';
        }
    } else if (status != PGRES_COMMAND_OK) {
        out = std::string("ERROR: ") + PQresultErrorMessage(result);
    }
    PQclear(result);
    PQfinish(conn);
    return out;
}

std::string PrivatePostgresServer::LogTail() const
{
    return process_.Tail("server.log");
}
