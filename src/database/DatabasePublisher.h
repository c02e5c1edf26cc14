#pragma once
// Sends the outbox journal's events to the plant database from a thread of its own, so that
// the station's thread never waits on the network or the server: woken by each append, it
// sends what waits in batches, confirms them in the journal, and tries again, less and less
// often, while the server is away or refuses.

#include "database/OutboxJournal.h"
#include "database/PlantDatabase.h"

#include <QMetaType>
#include <QString>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

// Reconciling: the log is being compared with what the server holds of it (a journal set aside).
enum class DatabaseState { Connecting, Connected, Offline, Reconciling };

struct DatabaseStatus {
    DatabaseState state = DatabaseState::Connecting;
    DatabaseFault fault = DatabaseFault::None;
    QString reason; // why it is offline; empty while connected
};
Q_DECLARE_METATYPE(DatabaseStatus)

class DatabasePublisher : public QThread {
    Q_OBJECT
public:
    DatabasePublisher(std::unique_ptr<PlantDatabase> database, OutboxJournal& journal, std::string station,
                      QObject* parent = nullptr);
    // Stops the thread; see Stop.
    ~DatabasePublisher() override;

    // Ends the thread, interrupting a statement that waits on the server. False when it did not
    // end within `wait` (a server that answers nothing at all); the object must then be left
    // alone until the program ends.
    bool Stop(std::chrono::milliseconds wait = std::chrono::milliseconds(3000));
    // Something new waits in the journal.
    void Wake();
    DatabaseStatus Status() const;

    // First pause after a failure; it doubles up to `retryMost`.
    std::chrono::milliseconds retryFirst{1000};
    std::chrono::milliseconds retryMost{30000};
    size_t batchEvents = 5000;

signals:
    // From the publisher's thread, whenever the state or its reason changes.
    void StatusChanged(const DatabaseStatus& status);

protected:
    void run() override;

private:
    void SetStatus(DatabaseState state, const DatabaseResult& result);
    // Sleeps until woken, stopped, or `pause` has passed.
    void Pause(std::chrono::milliseconds pause);

    std::unique_ptr<PlantDatabase> database_;
    OutboxJournal& journal_;
    const std::string station_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
    bool stopping_ = false;
    DatabaseStatus status_;
};
