#include "support/StationProcess.h"

#include "settings/SettingsStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

#include <stdexcept>

#include "TestPaths.h"
#include <unistd.h>

StationProcess::StationProcess() = default;

StationProcess::~StationProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }
}

QString StationProcess::ProgramPath()
{
    return BuiltProgram("tallion");
}

void StationProcess::Setting(const std::string& key, const std::string& value)
{
    SettingsStore(SettingsPath()).WriteSetting("Properties", key, value);
}

bool StationProcess::Start(const QStringList& arguments)
{
    return StartProgram(QStringList{QStringLiteral("--settings"), SettingsPath()} + arguments);
}

bool StationProcess::StartProgram(const QStringList& arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), Path(QStringLiteral("data")));
    process_.setProcessEnvironment(env);
    process_.setProgram(ProgramPath());
    process_.setArguments(arguments);
    process_.start();
    return process_.waitForStarted(5000);
}

bool StationProcess::Terminate(int ms)
{
    process_.terminate();
    return process_.waitForFinished(ms);
}

double StationProcess::CpuSeconds() const
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process_.processId()));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = fields[11].toDouble() + fields[12].toDouble();
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

QStringList StationProcess::RecoveryFiles() const
{
    QStringList found;
    QDirIterator files(Path(QStringLiteral("data")), {QStringLiteral("*.dif")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        found << files.next();
    return found;
}

const std::string& StationProcess::Told()
{
    told_ += process_.readAllStandardError().toStdString();
    return told_;
}

bool StationProcess::WaitTold(const std::string& text, int ms)
{
    return QTest::qWaitFor([&] { return Told().find(text) != std::string::npos; }, ms);
}

int StationProcess::ScaleMessagesKept() const
{
    // After its first line (the file's kind and version), each entry: "<tag> <length hex>
    // <checksum hex>\n", that many bytes, "\n". A scale message is tagged W; the journal is only
    // compacted far above what a test writes.
    int kept = 0;
    QDirIterator files(Path(QStringLiteral("data")), {QStringLiteral("*.journal")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const std::string text = ReadFile(files.next());
        size_t at = text.find('\n') + 1; // npos + 1: an empty file
        while (at < text.size()) {
            const size_t headerEnd = text.find('\n', at);
            if (headerEnd == std::string::npos)
                break;
            const char tag = text[at];
            size_t length = 0;
            try {
                length = std::stoul(text.substr(at + 2, headerEnd - at - 2), nullptr, 16);
            } catch (const std::exception&) {
                break;
            }
            if (headerEnd + 1 + length >= text.size())
                break; // torn: still being written
            if (tag == 'W')
                ++kept;
            at = headerEnd + 1 + length + 1;
        }
    }
    return kept;
}

bool StationProcess::HoldsOpen(const QString& path) const
{
    const QString device = QFileInfo(path).canonicalFilePath();
    QDirIterator fds(QStringLiteral("/proc/%1/fd").arg(process_.processId()), QDir::System | QDir::NoDotAndDotDot);
    while (fds.hasNext()) {
        // A pseudo-terminal whose other end has gone reads as "/dev/pts/N (deleted)".
        const QString target = QFileInfo(fds.next()).symLinkTarget();
        if (target == device || target.startsWith(device + QStringLiteral(" (")))
            return true;
    }
    return false;
}

std::string StationProcess::ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

ProgramRun StationProcess::Run(const QStringList& arguments, const QString& folder, const QString& platform, int ms)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(ProgramPath(), arguments);
    ProgramRun run;
    if (!process.waitForFinished(ms))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}
