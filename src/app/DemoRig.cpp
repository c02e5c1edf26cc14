#include "app/DemoRig.h"

#include "tools/sim/MeasurementGenerator.h"
#include "tools/sim/PtyPair.h"
#include "tools/sim/ScaleMessages.h"
#include "tools/sim/SimulatedProbe.h"
#include "tools/sim/SimulatedScale.h"

#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <array>
#include <system_error>

namespace {

// The scale the weighing demo's settings choose: Mettler-Toledo with STX and a checksum.
ScaleMessageFormat DemoScaleFormat()
{
    ScaleMessageFormat format;
    format.protocol = ScaleProtocol::MettlerToledo;
    format.stx = true;
    format.checksum = true;
    return format;
}

bool IsMeasurement(const std::string& message)
{
    // Every kind that reaches the pairing takes a weight.
    return !message.empty() && std::string("EJBHLMS").find(message[0]) != std::string::npos;
}

} // namespace

DemoRig::DemoRig(bool weighing, int carcassIntervalMs)
    : dir_(QDir::tempPath() + "/tallion-demo-XXXXXX")
    , intervalMs_(carcassIntervalMs)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("Cannot create a temporary folder: %1").arg(dir_.errorString());
        return;
    }
    try {
        probePty_ = std::make_unique<PtyPair>();
        scalePty_ = std::make_unique<PtyPair>();
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
    WriteSettings(weighing);
}

DemoRig::~DemoRig() = default;

void DemoRig::WriteSettings(bool weighing)
{
    QSettings settings(SettingsPath(), QSettings::IniFormat);
    settings.setValue("Properties/LogFilePath", LogPath());
    settings.setValue("Properties/Banner", "3");
    settings.setValue("Properties/PortDevice1", ProbeDevicePath());
    settings.setValue("Properties/PortDevice2", ScaleDevicePath());
    if (weighing) {
        settings.setValue("Properties/WgtScaleModel", "3");
        settings.setValue("Properties/STX", "1");
        settings.setValue("Properties/SISO", "0");
        settings.setValue("Properties/CheckSum", "1");
        settings.setValue("Properties/WeightPortNum", "2");
        settings.setValue("Properties/WeightPortSetting", "9600,e,7,1");
        settings.setValue("Properties/WgtPrbOrder", "1");
        settings.setValue("Properties/UseWgtInEqu", "True");
    }
    settings.sync();
}

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
    return probePty_ ? QString::fromStdString(probePty_->slavePath()) : QString();
}

QString DemoRig::ScaleDevicePath() const
{
    return scalePty_ ? QString::fromStdString(scalePty_->slavePath()) : QString();
}

void DemoRig::Start()
{
    if (!probePty_ || probe_)
        return;
    probePty_->DiscardUnread();
    const auto seed = static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
    generator_ = std::make_unique<MeasurementGenerator>(seed);
    weights_ = std::make_unique<CarcassWeights>(seed);
    const QDateTime now = QDateTime::currentDateTime();
    generator_->SetProbeClock(now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                              now.time().minute(), now.time().second());
    // The probe's clock is the station's: the times in its messages are the real ones.
    generator_->FollowClock([] {
        const QDateTime t = QDateTime::currentDateTime();
        return std::array<int, 6>{t.date().year(), t.date().month(),  t.date().day(),
                                  t.time().hour(), t.time().minute(), t.time().second()};
    });
    scale_ = std::make_unique<SimulatedScale>(scalePty_->masterFd());
    scale_->SetFormat(DemoScaleFormat());
    probe_ = std::make_unique<SimulatedProbe>(probePty_->masterFd());
    probe_->SetPollInterval(250);
    probe_->ClaimSerialNumber("DEMO0417");
    // The probe hands over the carcass's message once it is due; in between it only polls.
    probe_->SetMessageStream([this]() -> std::string {
        if (dueMessage_.empty() || sinceWeighing_.elapsed() < intervalMs_ / 2)
            return {};
        return std::exchange(dueMessage_, std::string());
    });
    QObject::connect(&carcassTimer_, &QTimer::timeout, [this] { NextCarcass(); });
    carcassTimer_.start(intervalMs_);
    // The probe answers the report commands of the Command-To-Probe menu, as a real one does.
    QObject::connect(probe_.get(), &SimulatedProbe::commandReceived, [this](const QString& command) {
        const std::string answer = generator_->AnswerTo(command.toStdString());
        if (!answer.empty())
            probe_->QueueMessage(answer);
    });
    probe_->Start();
}

void DemoRig::NextCarcass()
{
    if (!dueMessage_.empty())
        return; // the last one is not sent yet
    dueMessage_ = generator_->NextAnyKind();
    sinceWeighing_.restart();
    if (dueMessage_[0] == 'C')
        ++weightsGivenBack_;
    if (!IsMeasurement(dueMessage_))
        return;
    if (weightsGivenBack_ > 0) {
        --weightsGivenBack_;
        return;
    }
    // Without weighing nobody reads the scale line; what it sent before is dropped, as a line
    // keeps nothing while nobody listens.
    scalePty_->DiscardUnread();
    scale_->SendWeight(weights_->Next());
}
