#include "database/StationDatabase.h"

#include "database/PgPlantDatabase.h"
#include "probe/OperatorNotices.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QSysInfo>

namespace {

const QString kTitle = QStringLiteral("Database");

// Faults that do not pass by themselves: someone must put the station or the database right.
bool Refused(const DatabaseStatus& status)
{
    return status.state == DatabaseState::Offline
           && (status.fault == DatabaseFault::Conflict || status.fault == DatabaseFault::WrongStation
               || status.fault == DatabaseFault::NewerSchema || status.fault == DatabaseFault::ConnectionSetting);
}

} // namespace

StationDatabase* StationDatabase::FromSettings(SettingsStore& settings, const std::string& logPath,
                                               OperatorNotices& notices, QObject* parent)
{
    const std::string connection = settings.ReadSetting("Database", "Connection", "");
    if (connection.empty())
        return nullptr;
    // An empty name would lump the station's lines with every other nameless one.
    std::string station = settings.ReadSetting("Database", "StationName", "");
    if (station.empty())
        station = QSysInfo::machineHostName().toStdString();
    // A password here would be readable by anyone who may read the settings: it belongs in ~/.pgpass.
    auto database = std::make_unique<PgPlantDatabase>(connection, false);
    bool ok = false;
    const int seconds = QString::fromStdString(settings.ReadSetting("Database", "AnswerTimeout", "30")).toInt(&ok);
    database->SetAnswerDeadline(std::chrono::seconds(ok && seconds > 0 ? seconds : 30));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return new StationDatabase(std::move(database), station, logPath, notices, parent,
                               OwedJournals::PathFor(QFile::encodeName(folder).toStdString(),
                                                     QFile::encodeName(settings.FilePath()).toStdString()));
}

StationDatabase::StationDatabase(std::unique_ptr<PlantDatabase> database, const std::string& station,
                                 const std::string& logPath, OperatorNotices& notices, QObject* parent,
                                 const std::string& owedList)
    : QObject(parent)
    , journal_(std::make_unique<OutboxJournal>(station))
    , notices_(notices)
    , station_(station)
{
    // A log not chosen yet gets its journal with its first line.
    std::string error;
    journal_->KeepOwedList(std::make_shared<OwedJournals>(owedList));
    if (!logPath.empty())
        journal_->Open(logPath, &error); // a fault is told with the first state, below
    publisher_ = std::make_unique<DatabasePublisher>(std::move(database), *journal_, station_);
    journal_->onChange = [publisher = publisher_.get()] { publisher->Wake(); };
    connect(publisher_.get(), &DatabasePublisher::StatusChanged, this, &StationDatabase::OnStatus,
            Qt::QueuedConnection);
    // The waiting count changes with every line; once a second is often enough to show it, and
    // to see a line of this station's that another station deleted from a shared log.
    refresh_.setInterval(1000);
    connect(&refresh_, &QTimer::timeout, this, [this] {
        journal_->Recheck();
        TellState();
        emit panelChanged();
    });
    refresh_.start();
    publisher_->start();
}

StationDatabase::~StationDatabase()
{
    journal_->onChange = nullptr;
    // A server that answers nothing may keep the thread past the wait: it is then left to end
    // with the program rather than be destroyed under its feet.
    if (!publisher_->Stop()) {
        (void)publisher_.release();
        (void)journal_.release();
    }
}

QString StationDatabase::PanelText() const
{
    const size_t waiting = journal_->Waiting();
    if (journal_->HeldByOther())
        return QStringLiteral("Database: not sending (another station of this name)");
    if (!journal_->Fault().empty())
        return QStringLiteral("Database: journal fault (%1 waiting)").arg(waiting);
    if (journal_->ReconcileNeeded())
        return QStringLiteral("Database: reconciling");
    if (Refused(status_))
        return QStringLiteral("Database: refused, %1 waiting").arg(waiting);
    if (status_.state == DatabaseState::Offline && status_.fault == DatabaseFault::NotAnswering)
        return QStringLiteral("Database: not answering (%1 waiting)").arg(waiting);
    if (waiting > 0)
        return QStringLiteral("Database: %1 waiting").arg(waiting);
    switch (status_.state) {
    case DatabaseState::Connected: return QStringLiteral("Database: connected");
    case DatabaseState::Offline: return QStringLiteral("Database: not connected");
    case DatabaseState::Reconciling: return QStringLiteral("Database: reconciling");
    case DatabaseState::Connecting: break;
    }
    return QStringLiteral("Database: connecting");
}

QString StationDatabase::PanelTip() const
{
    QString tip;
    if (Refused(status_))
        tip = status_.reason + QStringLiteral("\nResults wait at the station until this is put right.");
    else if (status_.state == DatabaseState::Offline)
        tip = status_.reason + QStringLiteral("\nResults wait at the station and are sent when the database is back.");
    else if (status_.state == DatabaseState::Connected)
        tip =
            QStringLiteral("Results go to the plant database as station \"%1\".").arg(QString::fromStdString(station_));
    else
        tip = QStringLiteral("Connecting to the plant database.");
    const std::string fault = journal_->Fault();
    if (!fault.empty())
        tip += QStringLiteral("\nThe journal beside the log file: ") + QString::fromLocal8Bit(fault.c_str());
    return tip;
}

void StationDatabase::OnStatus(const DatabaseStatus& status)
{
    status_ = status;
    TellState();
    emit panelChanged();
}

void StationDatabase::TellJournal()
{
    // The journal beside the log is the database's outbox: a fault of it is the operator's to see.
    if (const std::string told = journal_->TakeNotice(); !told.empty())
        notices_.Post(Notice{QStringLiteral("database journal repaired"), QString::fromLocal8Bit(told.c_str()),
                             QString(), MessageIcon::Exclamation, kTitle});
    const QString fault = QString::fromLocal8Bit(journal_->Fault().c_str());
    const QString kind = QStringLiteral("database journal");
    if (fault == journalTold_)
        return;
    journalTold_ = fault;
    if (fault.isEmpty()) {
        notices_.Clear(kind);
        return;
    }
    const QString text = journal_->HeldByOther()
                             ? fault
                             : QStringLiteral("The plant database's journal beside the log file cannot be written; "
                                              "results are logged but not sent until this is put right.");
    notices_.Post(Notice{kind, text, journal_->HeldByOther() ? QString() : fault, MessageIcon::Exclamation, kTitle});
}

void StationDatabase::TellState()
{
    TellJournal();
    Notice notice{QString::fromLatin1(kDatabaseNoticeKind), QString(), QString(), MessageIcon::Information, kTitle};
    const size_t waiting = journal_->Waiting();
    if (Refused(status_)) {
        // Not an outage: nothing goes until somebody puts it right.
        notice.text = QStringLiteral("The plant database refuses the results; %1 wait at the station until this is "
                                     "put right (see Details).")
                          .arg(waiting);
        notice.details = status_.reason;
        notice.icon = MessageIcon::Exclamation;
    } else if (status_.state == DatabaseState::Offline && status_.fault == DatabaseFault::NotAnswering) {
        notice.text = QStringLiteral("The plant database does not answer; %1 results wait and will be sent once it "
                                     "does.")
                          .arg(waiting);
        notice.details = status_.reason;
        notice.icon = MessageIcon::Exclamation;
    } else if (status_.state == DatabaseState::Offline) {
        // The operator's words; the server's own text is for whoever mends it.
        if (waiting == 0)
            notice.text = QStringLiteral("The plant database is not reachable; results will wait and be sent.");
        else if (waiting == 1)
            notice.text = QStringLiteral("The plant database is not reachable; 1 result waits and will be sent.");
        else
            notice.text =
                QStringLiteral("The plant database is not reachable; %1 results wait and will be sent.").arg(waiting);
        notice.details = status_.reason;
        notice.icon = MessageIcon::Exclamation;
    } else if (status_.state == DatabaseState::Connected && !told_.text.isEmpty()) {
        if (told_.icon == MessageIcon::Information && waiting == 0) {
            // Back, and what waited is sent: nothing more to tell.
            told_ = Notice{};
            notices_.Clear(notice.kind);
            return;
        }
        notice.text = QStringLiteral("The plant database is back; the results that waited are being sent.");
    } else {
        return;
    }
    if (notice.text == told_.text && notice.details == told_.details)
        return;
    told_ = notice;
    notices_.Post(notice);
}
