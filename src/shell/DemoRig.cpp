#include "shell/DemoRig.h"

#include "tools/sim/MeasurementGenerator.h"
#include "tools/sim/PtyPair.h"
#include "tools/sim/SimulatedProbe.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <system_error>

DemoRig::DemoRig(int carcassIntervalMs)
    : dir_(QDir::tempPath() + "/tallion-demo-XXXXXX")
    , intervalMs_(carcassIntervalMs)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("Cannot create a temporary folder: %1").arg(dir_.errorString());
        return;
    }
    try {
        pty_ = std::make_unique<PtyPair>();
    } catch (const std::system_error& e) {
        error_ = QStringLiteral("Cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(e.what()));
        return;
    }
    // An empty log: the first carcass writes its header line.
    QFile log(LogPath());
    if (!log.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("Cannot create %1: %2").arg(LogPath(), log.errorString());
        return;
    }
    log.close();
    QSettings settings(SettingsPath(), QSettings::IniFormat);
    settings.setValue("Properties/LogFilePath", LogPath());
    settings.setValue("Properties/Banner", "3");
    settings.setValue("Properties/PortDevice1", ProbeDevicePath());
    settings.sync();
}

DemoRig::~DemoRig() = default;

QString DemoRig::SettingsPath() const
{
    return dir_.filePath("tallion-demo.ini");
}

QString DemoRig::LogPath() const
{
    return dir_.filePath("demo-log.dif");
}

QString DemoRig::ProbeDevicePath() const
{
    return pty_ ? QString::fromStdString(pty_->slavePath()) : QString();
}

void DemoRig::Start()
{
    if (!pty_ || probe_)
        return;
    pty_->DiscardUnread();
    generator_ = std::make_unique<MeasurementGenerator>(static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch()));
    const QDateTime now = QDateTime::currentDateTime();
    generator_->SetProbeClock(now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                              now.time().minute(), now.time().second());
    probe_ = std::make_unique<SimulatedProbe>(pty_->masterFd());
    probe_->SetPollInterval(250);
    probe_->ClaimSerialNumber("DEMO0417");
    // One carcass every interval; in between the probe only polls for commands.
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    const int interval = intervalMs_;
    MeasurementGenerator* generator = generator_.get();
    probe_->SetMessageStream([clock, interval, generator]() -> std::string {
        if (clock->elapsed() < interval)
            return {};
        clock->restart();
        return generator->Next();
    });
    probe_->Start();
}
