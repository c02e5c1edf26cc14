#include "database/DatabasePublisher.h"

#include <algorithm>
#include <utility>

DatabasePublisher::DatabasePublisher(std::unique_ptr<PlantDatabase> database, OutboxJournal& journal,
                                     std::string station, QObject* parent)
    : QThread(parent)
    , database_(std::move(database))
    , journal_(journal)
    , station_(std::move(station))
{
    qRegisterMetaType<DatabaseStatus>();
}

DatabasePublisher::~DatabasePublisher()
{
    Stop();
}

bool DatabasePublisher::Stop(std::chrono::milliseconds wait)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    database_->Interrupt();
    return QThread::wait(static_cast<unsigned long>(wait.count()));
}

void DatabasePublisher::Wake()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

DatabaseStatus DatabasePublisher::Status() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return status_;
}

void DatabasePublisher::Pause(std::chrono::milliseconds pause)
{
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, pause, [this] { return woken_ || stopping_; });
    woken_ = false;
}

void DatabasePublisher::SetStatus(DatabaseState state, const DatabaseResult& result)
{
    DatabaseStatus status;
    status.state = state;
    status.fault = result.fault;
    status.reason = QString::fromLocal8Bit(result.message.c_str());
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (status_.state == status.state && status_.fault == status.fault && status_.reason == status.reason)
            return;
        status_ = status;
    }
    emit StatusChanged(status);
}

void DatabasePublisher::run()
{
    std::chrono::milliseconds retry = retryFirst;
    auto stopping = [this] {
        const std::lock_guard<std::mutex> lock(mutex_);
        return stopping_;
    };
    auto failed = [&](const DatabaseResult& result) {
        // Whatever went wrong, the next attempt starts from a fresh connection.
        database_->Disconnect();
        SetStatus(DatabaseState::Offline, result);
        Pause(retry);
        retry = std::min(retry * 2, retryMost);
    };
    while (!stopping()) {
        if (!database_->Connected()) {
            const DatabaseResult connected = database_->Connect();
            if (!connected.ok()) {
                failed(connected);
                continue;
            }
            // Connected is told once the lines are taken (or none wait): a server that takes the
            // connection but refuses the lines stays refusing, rather than coming and going.
        }
        // A journal set aside: the log is compared with what the server holds of it first.
        std::string station;
        std::string logPath;
        if (journal_.ReconcileNeeded(&station, &logPath)) {
            SetStatus(DatabaseState::Reconciling, {});
            if (station.empty())
                station = station_;
            std::vector<ServerLine> rows;
            const DatabaseResult read = database_->LogRows(station, logPath, rows);
            if (!read.ok()) {
                if (!stopping())
                    failed(read);
                continue;
            }
            if (!journal_.ReconcileWith(rows, station))
                Pause(retryMost); // the log cannot be read just now
            continue;
        }
        const OutboxBatch batch = journal_.Unconfirmed(batchEvents);
        if (batch.lastEvent == 0) {
            SetStatus(DatabaseState::Connected, {});
            Pause(std::chrono::seconds(5));
            continue;
        }
        const DatabaseResult published = database_->Publish(batch.station.empty() ? station_ : batch.station, batch);
        if (published.fault == DatabaseFault::WrongStation && !batch.station.empty()) {
            // Lines logged under an earlier StationName, which this station's role may not send:
            // they wait for the administrator, and today's lines go on.
            SetStatus(DatabaseState::Offline, published);
            journal_.PutOff(batch.journal);
            continue;
        }
        if (!published.ok()) {
            if (!stopping())
                failed(published);
            continue;
        }
        retry = retryFirst;
        SetStatus(DatabaseState::Connected, {});
        // A cursor that could not be written only means the batch goes again, which is
        // harmless; but not at once and for ever.
        if (!journal_.Confirm(batch.journal, batch.lastEvent))
            Pause(retryMost);
    }
    database_->Disconnect();
}
