#include "station/ResultLog.h"

#include "resources/AppTitle.h"

#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

// Waiting records are tried again this often, so they reach the file soon after it can be
// written again even when no new carcass comes.
constexpr int kRetryIntervalMs = 5000;
// While another station holds the log's lock, the records are tried again at the next tick.
constexpr int kLockRetryIntervalMs = 50;

QString TornLineNotice(const std::string& path)
{
    return QStringLiteral("The last line of the log file was incomplete (a power cut or an editor may have cut it "
                          "off). It was kept as it is, and the new results begin on a line of their own.\r\n%1")
        .arg(QFile::decodeName(QByteArray::fromStdString(path)));
}

} // namespace

ResultLog::ResultLog(LogFileSystem& fileSystem, OperatorNotices& notices, QObject* parent)
    : QObject(parent)
    , notices_(notices)
    , writer_(fileSystem)
{
    retryTimer_.setInterval(kRetryIntervalMs);
    connect(&retryTimer_, &QTimer::timeout, this, [this] {
        const LogWriteOutcome outcome = writer_.RetryWaiting(logFilePath_);
        if (outcome.written)
            retryTimer_.stop();
        else
            retryTimer_.setInterval(outcome.lockBusy ? kLockRetryIntervalMs : kRetryIntervalMs);
        emit logFileTouched();
        TellOutcome(outcome);
    });
}

void ResultLog::WriteRecord(const CarcassMeasurement& record)
{
    const LogWriteOutcome outcome = writer_.WriteLogRecord(record, logFilePath_);
    if (writer_.PendingCount() > 0) {
        retryTimer_.setInterval(outcome.lockBusy ? kLockRetryIntervalMs : kRetryIntervalMs);
        if (!retryTimer_.isActive())
            retryTimer_.start();
    }
    emit logFileTouched();
    TellOutcome(outcome);
}

void ResultLog::RestoreUnwritten(std::vector<LogFileWriter::WaitingLine> lines)
{
    if (lines.empty())
        return;
    writer_.RestoreWaiting(std::move(lines));
    retryTimer_.setInterval(0);
    retryTimer_.start();
}

long long ResultLog::LogFileSize() const
{
    struct stat st {};
    if (logFilePath_.empty() || ::stat(logFilePath_.c_str(), &st) != 0)
        return 0;
    return static_cast<long long>(st.st_size);
}

void ResultLog::TellOutcome(const LogWriteOutcome& outcome)
{
    if (outcome.report) {
        notices_.Notify(QFile::decodeName(QByteArray::fromStdString(outcome.text)), kAppTitle,
                        outcome.pathNotFound ? MessageIcon::Information : MessageIcon::Exclamation);
    }
    if (outcome.tornLineMended)
        notices_.Notify(TornLineNotice(logFilePath_), kAppTitle, MessageIcon::Information);
    emit recordLogged();
}

std::optional<ResultLog::Recovery> ResultLog::SaveUnwrittenRecords()
{
    if (writer_.PendingCount() == 0)
        return std::nullopt;
    if (writer_.RetryPending(logFilePath_))
        return std::nullopt;
    Recovery recovery;
    recovery.records = writer_.PendingCount();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    recovery.path = writer_.SaveToRecoveryFile(folder, &recovery.error);
    return recovery;
}
