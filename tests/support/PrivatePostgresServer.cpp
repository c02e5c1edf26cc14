#include "support/PrivatePostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
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

QString PrivatePostgresServer::Path(const char* name) const
{
    return dir_.filePath(QString::fromLatin1(name));
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
    const bool finished = process.waitForFinished(60000);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    *why = command.join(QLatin1Char(' ')).toStdString() + ": " + process.readAll().trimmed().toStdString();
    if (!finished)
        process.kill();
    return false;
}

bool PrivatePostgresServer::Start(std::string* why)
{
    if (::access((kBin + QStringLiteral("initdb")).toLocal8Bit().constData(), X_OK) != 0) {
        *why = "the PostgreSQL server is not installed (Debian package postgresql-15)";
        return false;
    }
    const passwd* user = ServerUser();
    if (!dir_.isValid() || !user) {
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
        if (::chown(dir_.path().toLocal8Bit().constData(), uid, gid) != 0
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

    const QByteArray postgres = (kBin + QStringLiteral("postgres")).toLocal8Bit();
    const QByteArray data = Path("data").toLocal8Bit();
    const QByteArray socketDir = dir_.path().toLocal8Bit();
    const QByteArray logPath = Path("server.log").toLocal8Bit();
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        *why = "cannot start the server";
        return false;
    }
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(126);
        // After the change of user, which clears it: the server dies with the test.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        const int out = ::open(logPath.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
        ::execl(postgres.constData(), "postgres", "-D", data.constData(), "-k", socketDir.constData(), "-c",
                "listen_addresses=", "-c", "fsync=off", "-c", "max_connections=40", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    pid_ = child;

    const std::string conninfo = Conninfo();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            *why = "the server stopped at once: " + LogTail();
            return false;
        }
        if (PQping(conninfo.c_str()) == PQPING_OK)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    *why = "the server did not answer within 20 s: " + LogTail();
    Stop();
    return false;
}

void PrivatePostgresServer::Stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGCONT);
    ::kill(pid_, SIGINT); // fast shutdown: sessions end, nothing committed is lost
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
}

void PrivatePostgresServer::Freeze(bool frozen)
{
    if (pid_ <= 0)
        return;
    // The server and every process it started (one per connection).
    ::kill(pid_, frozen ? SIGSTOP : SIGCONT);
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
        if (fields.size() > 1 && fields[1].toInt() == pid_)
            ::kill(pid, frozen ? SIGSTOP : SIGCONT);
    }
}

std::string PrivatePostgresServer::Conninfo(const std::string& database, const std::string& user,
                                            const std::string& password) const
{
    std::string text = "host=" + dir_.path().toStdString() + " dbname=" + database + " user=" + user;
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
    QFile file(Path("server.log"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().right(2000).toStdString();
}
