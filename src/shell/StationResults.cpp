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
#include "shell/PrintCommands.h"
#include "shell/SettingsStore.h"

#include <QAction>
#include <QPushButton>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

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
    , fileSystem_(fileSystem)
    , writer_(fileSystem)
{
    retryTimer_.setInterval(kRetryIntervalMs);
    connect(&retryTimer_, &QTimer::timeout, this, [this] {
        if (writer_.RetryPending(form_.state().logFilePath))
            retryTimer_.stop();
        ShowWaitingRecords();
    });
}

void StationResults::ShowWaitingRecords()
{
    form_.ShowLogFilePath();
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
        frmText_ = new FrmText(form_.dialogs(), &form_);
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
    // A cancel is never printed.
    if (record.kind != 'C')
        form_.printing().PrintResultLine(text);
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
    ShowWaitingRecords();
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

void StationResults::SaveUnwrittenRecords(bool quiet)
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
    const QString text = !path.empty()
        ? QStringLiteral("%1 results could not be written to the log file. They were saved to:\r\n%2")
              .arg(waiting)
              .arg(Latin1(path))
        : QStringLiteral("Results that could not be written to the log file are lost: %1").arg(Latin1(error));
    if (quiet) {
        std::fprintf(stderr, "tallion: %s\n", qPrintable(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
        return;
    }
    form_.dialogs().Message(text, kAppTitle, path.empty() ? MessageIcon::Exclamation : MessageIcon::Information,
                            MessageButtons::Ok);
}

void StationResults::ChooseLogFile()
{
    OperatorDialogs& dialogs = form_.dialogs();
    const std::optional<QString> chosen = dialogs.OpenFile(ResourceText(1123), ResourceText(1124), QString());
    if (!chosen || chosen->isEmpty())
        return;
    const std::string path = chosen->toLocal8Bit().toStdString();

    const int exists = fileSystem_.Exists(path);
    if (exists < 0) {
        dialogs.Message(QString::fromLocal8Bit(std::strerror(-exists)), kAppTitle, MessageIcon::Exclamation,
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
        // Created empty, its folder entry made durable like the writer's new files; the header
        // line comes with the first record.
        int result = fileSystem_.Open(path, O_WRONLY | O_CREAT);
        if (result >= 0) {
            fileSystem_.Close(result);
            result = fileSystem_.SyncFolder(FolderOf(path));
        }
        if (result < 0) {
            dialogs.Message(QString::fromLocal8Bit(std::strerror(-result)), kAppTitle, MessageIcon::Exclamation,
                            MessageButtons::Ok);
            state.logFilePath.clear();
            return;
        }
    }

    if (form_.link().probeLinkAlive() &&
        dialogs.Message(ResourceText(1239), ResourceText(1240), MessageIcon::Question, MessageButtons::YesNo) ==
            MessageAnswer::Yes) {
        form_.link().QueueProbeCommand("3000001");
    }
    form_.LeaveSummaryMode();
}
