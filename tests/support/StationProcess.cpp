#include "support/StationProcess.h"

#include "settings/SettingsStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

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
    return QStringLiteral(TALLION_BUILD_DIR "/tallion");
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
