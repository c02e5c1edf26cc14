#include "database/StationDatabase.h"

#include "database/PgPlantDatabase.h"
#include "probe/OperatorNotices.h"
#include "settings/SettingsStore.h"

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
    return new StationDatabase(std::make_unique<PgPlantDatabase>(connection, false), station, logPath, notices, parent);
}

StationDatabase::StationDatabase(std::unique_ptr<PlantDatabase> database, const std::string& station,
                                 const std::string& logPath, OperatorNotices& notices, QObject* parent)
    : QObject(parent)
    , journal_(std::make_unique<OutboxJournal>(station))
    , notices_(notices)
    , station_(station)
{
    // A log not chosen yet gets its journal with its first line.
    std::string error;
    if (!logPath.empty() && !journal_->Open(logPath, &error))
        qWarning("Database journal: %s", error.c_str());
    publisher_ = std::make_unique<DatabasePublisher>(std::move(database), *journal_, station_);
    journal_->onChange = [publisher = publisher_.get()] { publisher->Wake(); };
    connect(publisher_.get(), &DatabasePublisher::StatusChanged, this, &StationDatabase::OnStatus,
            Qt::QueuedConnection);
    // The waiting count changes with every line; once a second is often enough to show it.
    refresh_.setInterval(1000);
    connect(&refresh_, &QTimer::timeout, this, &StationDatabase::panelChanged);
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
    if (Refused(status_))
        return QStringLiteral("Database: refused, %1 waiting").arg(waiting);
    if (waiting > 0)
        return QStringLiteral("Database: %1 waiting").arg(waiting);
    switch (status_.state) {
    case DatabaseState::Connected: return QStringLiteral("Database: connected");
    case DatabaseState::Offline: return QStringLiteral("Database: not connected");
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
    if (Refused(status) && !outageTold_) {
        outageTold_ = true;
        notices_.Notify(QStringLiteral("The plant database refuses the results:\r\n%1\r\nThey wait at the station "
                                       "until this is put right.")
                            .arg(status.reason),
                        kTitle, MessageIcon::Exclamation);
    } else if (status.state == DatabaseState::Offline && !outageTold_) {
        outageTold_ = true;
        notices_.Notify(QStringLiteral("The plant database cannot take the results now:\r\n%1\r\nThey wait at the "
                                       "station and are sent when it is back.")
                            .arg(status.reason),
                        kTitle, MessageIcon::Exclamation);
    } else if (status.state == DatabaseState::Connected && outageTold_) {
        outageTold_ = false;
        notices_.Notify(QStringLiteral("The plant database is back; the results that waited are being sent."), kTitle,
                        MessageIcon::Information);
    }
    emit panelChanged();
}
