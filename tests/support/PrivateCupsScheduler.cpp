#include "support/PrivateCupsScheduler.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char* const kCupsd = "/usr/sbin/cupsd";
const char* const kLpadmin = "/usr/sbin/lpadmin";
const char* const kSystemServerBin = "/usr/lib/cups";

int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool Answers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

bool WriteFile(const QString& path, const QByteArray& text, QFile::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return false;
    file.close();
    return permissions == QFile::Permissions() || file.setPermissions(permissions);
}

// The test printer. Bounded waits: a backend left behind by a killed scheduler ends by itself.
QByteArray BackendScript(const QString& folder)
{
    return QStringLiteral(
               "#!/bin/sh\n"
               "dir='%1'\n"
               "if [ $# -eq 0 ]; then echo 'direct tallionsink \"Unknown\" \"Tallion test printer\"'; exit 0; fi\n"
               "mode=$(cat \"$dir/mode\" 2>/dev/null)\n"
               "case \"$mode\" in\n"
               "  media) echo 'STATE: +media-empty-error' >&2 ;;\n"
               "  offline) echo 'STATE: +offline-report' >&2 ;;\n"
               "esac\n"
               "i=0\n"
               "while [ -e \"$dir/hold\" ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n"
               "case \"$mode\" in media|offline) exit 1 ;; esac\n"
               "if [ -n \"$6\" ]; then cat \"$6\" >> \"$dir/printed\"; else cat >> \"$dir/printed\"; fi\n"
               "exit 0\n")
        .arg(folder)
        .toLocal8Bit();
}

} // namespace

PrivateCupsScheduler::~PrivateCupsScheduler()
{
    Stop();
}

std::string PrivateCupsScheduler::Server() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

bool PrivateCupsScheduler::Start(std::string* why)
{
    if (::access(kCupsd, X_OK) != 0 || ::access(kLpadmin, X_OK) != 0) {
        *why = "the CUPS scheduler is not installed (Debian packages cups-daemon and cups-client)";
        return false;
    }
    if (!process_.FolderValid()) {
        *why = "no temporary folder";
        return false;
    }
    port_ = FreeLoopbackPort();
    if (port_ == 0) {
        *why = "no free loopback port";
        return false;
    }
    const QDir root(process_.Folder());
    for (const char* sub : {"bin", "bin/backend", "spool", "tmp", "cache", "state", "log"})
        root.mkpath(QString::fromLatin1(sub));
    // The scheduler runs no backend from a folder others may write to, whatever the umask.
    const QFile::Permissions rwxr_xr_x = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                         | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(Path("bin"), rwxr_xr_x);
    QFile::setPermissions(Path("bin/backend"), rwxr_xr_x);
    for (const char* sub : {"daemon", "filter", "monitor", "notifier"})
        QFile::link(QStringLiteral("%1/%2").arg(QString::fromLatin1(kSystemServerBin), QString::fromLatin1(sub)),
                    Path("bin/") + QString::fromLatin1(sub));
    // Owner-only: the scheduler runs such a backend as the owner (root in CI), who may write here.
    if (!WriteFile(Path("bin/backend/tallionsink"), BackendScript(process_.Folder()),
                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        *why = "cannot write the test backend";
        return false;
    }
    const group* ownGroup = ::getgrgid(::getgid());
    const QString folder = process_.Folder();
    const QByteArray files = QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
                                            "StateDir %1/state\nServerBin %1/bin\nDataDir /usr/share/cups\n"
                                            "DocumentRoot /usr/share/cups/doc-root\nAccessLog %1/log/access_log\n"
                                            "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                                            "Printcap %1/printcap\nSystemGroup %2\n")
                                 .arg(folder, QString::fromLocal8Bit(ownGroup ? ownGroup->gr_name : "root"))
                                 .toLocal8Bit();
    const QByteArray conf = QStringLiteral("Listen 127.0.0.1:%1\nLogLevel debug\nBrowsing No\nWebInterface No\n"
                                           "DefaultAuthType None\n"
                                           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                           "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                           "</Policy>\n")
                                .arg(port_)
                                .toLocal8Bit();
    if (!WriteFile(Path("cups-files.conf"), files) || !WriteFile(Path("cupsd.conf"), conf)) {
        *why = "cannot write the scheduler's configuration";
        return false;
    }

    if (!process_.Spawn(
            kCupsd,
            {"cupsd", "-f", "-c", Path("cupsd.conf").toLocal8Bit(), "-s", Path("cups-files.conf").toLocal8Bit()},
            Path("log/cupsd.out").toLocal8Bit(), O_TRUNC)) {
        *why = "cannot start the scheduler";
        return false;
    }
    switch (process_.AwaitAnswer(std::chrono::seconds(10), [this] { return Answers(port_); })) {
    case ServerProcess::Wait::Answers: return true;
    case ServerProcess::Wait::Ended: {
        QFile out(Path("log/cupsd.out"));
        out.open(QIODevice::ReadOnly);
        *why = "the scheduler stopped at once: " + out.readAll().trimmed().toStdString() + " " + LogTail();
        return false;
    }
    case ServerProcess::Wait::TimedOut: break;
    }
    *why = "the scheduler did not answer within 10 s: " + LogTail();
    Stop();
    return false;
}

void PrivateCupsScheduler::Stop()
{
    if (process_.Pid() <= 0)
        return;
    HoldBackend(false);
    process_.Stop(SIGTERM, std::chrono::seconds(5));
}

void PrivateCupsScheduler::Freeze(bool frozen)
{
    if (process_.Pid() > 0)
        ::kill(process_.Pid(), frozen ? SIGSTOP : SIGCONT);
}

bool PrivateCupsScheduler::Run(const QStringList& arguments, std::string* why)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), QString::fromStdString(Server()));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(arguments.front(), arguments.mid(1));
    return ServerProcess::Finish(process, arguments, 10000, why);
}

bool PrivateCupsScheduler::AddRawQueueAsDefault(const std::string& name, std::string* why)
{
    const QString queue = QString::fromStdString(name);
    return Run({QString::fromLatin1(kLpadmin), QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("tallionsink:/") + queue, QStringLiteral("-m"), QStringLiteral("raw")},
               why)
           && Run({QString::fromLatin1(kLpadmin), QStringLiteral("-d"), queue}, why);
}

bool PrivateCupsScheduler::CancelAll()
{
    return Run({QStringLiteral("cancel"), QStringLiteral("-a")}, nullptr);
}

void PrivateCupsScheduler::SetBackendMode(const std::string& mode)
{
    WriteFile(Path("mode"), QByteArray::fromStdString(mode));
}

void PrivateCupsScheduler::HoldBackend(bool held)
{
    if (held)
        WriteFile(Path("hold"), QByteArray());
    else
        QFile::remove(Path("hold"));
}

std::string PrivateCupsScheduler::Printed() const
{
    QFile file(Path("printed"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

std::string PrivateCupsScheduler::LogTail() const
{
    return process_.Tail("log/error_log");
}
