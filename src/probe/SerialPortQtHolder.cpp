#include "probe/SerialPortQtHolder.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <signal.h>

namespace {

// Where QSerialPort and the usual serial programs keep their lock files.
constexpr const char* kLockFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
                                        "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

bool IsRunning(long long pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// Line `line` (from 0) of a small file, trimmed; empty when there is none.
QByteArray LineOf(const QString& path, int line)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.read(4096).split('\n');
    return line < lines.size() ? lines[line].trimmed() : QByteArray();
}

} // namespace

QString ResolvedDevice(const QString& path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}

QString DeviceLockHolder(const QString& device)
{
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char* folder : kLockFolders) {
        const QString lock = QString::fromLatin1(folder) + QStringLiteral("/LCK..") + name;
        if (!QFileInfo::exists(lock))
            continue;
        // Qt writes "pid\nprogram\nhost"; other programs the process number alone.
        bool ok = false;
        const long long pid = LineOf(lock, 0).toLongLong(&ok);
        if (!ok || !IsRunning(pid))
            continue;
        QString program = QString::fromUtf8(LineOf(lock, 1));
        if (program.isEmpty())
            program = QString::fromUtf8(LineOf(QStringLiteral("/proc/%1/comm").arg(pid), 0));
        return program.isEmpty() ? QStringLiteral("process %1").arg(pid)
                                 : QStringLiteral("%1 (process %2)").arg(program).arg(pid);
    }
    return QString();
}

QString PortHeldText(const QString& given, const QString& device, const QString& holder)
{
    const QString named = given == device ? device : QStringLiteral("%1 (the device %2)").arg(given, device);
    return QStringLiteral("%1 is in use by %2; close it there or choose another port.")
        .arg(named, holder.isEmpty() ? QStringLiteral("another program or station") : holder);
}
