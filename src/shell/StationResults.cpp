#include "shell/StationResults.h"

#include "carcass/FrmLED.h"
#include "log/LogRecordFormat.h"
#include "log/LogView.h"
#include "log/ResultGridModel.h"
#include "log/TerminalPane.h"
#include "resources/StringTable.h"
#include "shell/Form1.h"
#include "shell/FrmText.h"
#include "shell/OperatorDialogs.h"
#include "shell/SettingsStore.h"

#include <QAction>
#include <QPushButton>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

const QString kAppTitle = QStringLiteral("Tallion");

// Waiting records are tried again this often, so they reach the file soon after it can be
// written again even when no new carcass comes.
constexpr int kRetryIntervalMs = 5000;

} // namespace

StationResults::StationResults(Form1& form, LogFileSystem& fileSystem)
    : QObject(&form)
    , form_(form)
    , writer_(fileSystem)
{
    retryTimer_.setInterval(kRetryIntervalMs);
    connect(&retryTimer_, &QTimer::timeout, this, [this] {
        if (writer_.RetryPending(form_.state().logFilePath))
            retryTimer_.stop();
    });
}

void StationResults::OnProbeMessage(const std::string& message)
{
    DispatchProbeMessage(message, form_.state(), *this, now());
}

FrmLED& StationResults::CurrentCarcassWindow()
{
    if (!frmLED_) {
        frmLED_ = new FrmLED(form_.state(), [this] { FinishCarcass(); }, &form_);
        if (form_.state().weightSource == WeightSource::NoWeight)
            frmLED_->HideWeighingFrames();
        form_.RegisterStationWindow(frmLED_);
    }
    return *frmLED_;
}

void StationResults::ShowCurrentCarcassWindow()
{
    FrmLED& window = CurrentCarcassWindow();
    if (form_.state().weightSource == WeightSource::NoWeight) {
        if (QAction* noWeight = form_.MenuAction(QStringLiteral("mnuWgtNon")))
            noWeight->setChecked(true);
        window.HideWeighingFrames();
    }
    window.show();
    window.raise();
}

FrmText* StationResults::TextWindow() const
{
    return frmText_;
}

void StationResults::SetCarcassError(const std::string& text)
{
    CurrentCarcassWindow().SetError(text);
}

void StationResults::ClearCarcassValues()
{
    CurrentCarcassWindow().ClearValues();
}

void StationResults::PressProbeButton()
{
    CurrentCarcassWindow().ProbeButton()->click();
}

void StationResults::SetStatusPanel1(const std::string& text)
{
    form_.SetStatusPanel(1, Latin1(text));
}

void StationResults::AppendToResultView(const std::string& text, bool isMeasurement)
{
    ::AppendToResultView(form_.views(), text, isMeasurement);
}

void StationResults::ShowProbeText(const std::string& text)
{
    if (!frmText_) {
        frmText_ = new FrmText(&form_);
        frmText_->setAttribute(Qt::WA_DeleteOnClose);
        form_.RegisterStationWindow(frmText_);
    }
    frmText_->SetText(text);
    frmText_->show();
    frmText_->raise();
}

void StationResults::ShowResult(const CarcassMeasurement& record)
{
    const std::string text =
        record.kind == 'C' ? record.alertText : FormatResultLine(record, form_.state().templateNumber);
    ::AppendToResultView(form_.views(), text + '\r', form_.state().lineIsMeasurement);
}

void StationResults::WriteLogRecord(const CarcassMeasurement& record)
{
    WriteRecord(record);
}

void StationResults::WriteRecord(const CarcassMeasurement& record)
{
    const LogWriteOutcome outcome = writer_.WriteLogRecord(record, form_.state().logFilePath);
    if (writer_.PendingCount() > 0 && !retryTimer_.isActive())
        retryTimer_.start();
    // Records are written from the receive tick: the operator is told without stopping the link.
    if (outcome.report) {
        form_.dialogs().Notify(Latin1(outcome.text), kAppTitle,
                               outcome.pathNotFound ? MessageIcon::Information : MessageIcon::Exclamation);
    }
}

void StationResults::FinishCarcass()
{
    ShowResult(form_.state().currentMeasurement);
    WriteRecord(form_.state().currentMeasurement);
}

void StationResults::SaveUnwrittenRecords()
{
    if (writer_.PendingCount() == 0)
        return;
    // One last try at the log file itself before falling back to a recovery file.
    if (writer_.RetryPending(form_.state().logFilePath))
        return;
    const size_t waiting = writer_.PendingCount();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    std::string error;
    const std::string path = writer_.SaveToRecoveryFile(folder, &error);
    if (!path.empty()) {
        form_.dialogs().Message(
            QStringLiteral("%1 results could not be written to the log file. They were saved to:\r\n%2")
                .arg(waiting)
                .arg(Latin1(path)),
            kAppTitle, MessageIcon::Information, MessageButtons::Ok);
    } else {
        form_.dialogs().Message(QStringLiteral("Results that could not be written to the log file are lost: %1")
                                    .arg(Latin1(error)),
                                kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void StationResults::ChooseLogFile()
{
    OperatorDialogs& dialogs = form_.dialogs();
    const std::optional<QString> chosen = dialogs.OpenFile(ResourceText(1123), ResourceText(1124), QString());
    if (!chosen || chosen->isEmpty())
        return;
    const std::string path = chosen->toLocal8Bit().toStdString();

    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        dialogs.Message(QString::fromLocal8Bit(std::strerror(errno)), kAppTitle, MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return;
    }

    StationState& state = form_.state();
    state.logFilePath = path;
    form_.ShowLogFilePath();
    form_.settings().WriteSetting("Properties", "LogFilePath", path);

    if (exists) {
        if (const auto error = LoadLogIntoView(form_.views(), path, state.templateNumber)) {
            dialogs.Message(*error, ResourceText(1257) + ' ' + *chosen, MessageIcon::Exclamation,
                            MessageButtons::Ok);
        }
    } else {
        form_.views().grid->SetRows(1);
        form_.views().terminal->ClearPane();
        // Created empty; the header line comes with the first record.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            dialogs.Message(QString::fromLocal8Bit(std::strerror(errno)), kAppTitle, MessageIcon::Exclamation,
                            MessageButtons::Ok);
            state.logFilePath.clear();
            return;
        }
        ::close(fd);
    }

    if (form_.link().probeLinkAlive() &&
        dialogs.Message(ResourceText(1239), ResourceText(1240), MessageIcon::Question, MessageButtons::YesNo) ==
            MessageAnswer::Yes) {
        form_.link().QueueProbeCommand("3000001");
    }
    form_.LeaveSummaryMode();
}
