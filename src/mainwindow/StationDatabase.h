#pragma once
// The station's side of the plant database, when the `[Database]` `Connection` setting names
// one: the journal beside the log, the publisher's thread, the "Database: ..." panel in the
// status bar with the reason on hover, and one notice when the server goes away and one when it
// is back (through the non-blocking notice path: the receive tick never waits for the server).

#include "database/DatabasePublisher.h"
#include "database/OutboxJournal.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <string>

class OperatorNotices;
class QLabel;
class QStatusBar;
class SettingsStore;

class StationDatabase : public QObject {
    Q_OBJECT
public:
    // Nothing (no thread, no journal, no panel) when the settings name no database.
    static StationDatabase* FromSettings(SettingsStore& settings, const std::string& logPath, OperatorNotices& notices,
                                         QStatusBar* bar, QObject* parent);

    StationDatabase(std::unique_ptr<PlantDatabase> database, const std::string& station, const std::string& logPath,
                    OperatorNotices& notices, QStatusBar* bar, QObject* parent = nullptr);
    ~StationDatabase() override;

    // Told of every change to the log (the writer and the row deletion).
    LogChangeObserver* Observer() { return journal_.get(); }
    OutboxJournal& Journal() { return *journal_; }
    DatabasePublisher& Publisher() { return *publisher_; }

    // "Database: connected", "Database: 42 waiting", ...; and the tooltip with the reason.
    QString PanelText() const;
    QString PanelTip() const;

private:
    void OnStatus(const DatabaseStatus& status);
    void ShowPanel();

    std::unique_ptr<OutboxJournal> journal_;
    std::unique_ptr<DatabasePublisher> publisher_;
    OperatorNotices& notices_;
    std::string station_;
    DatabaseStatus status_;
    bool outageTold_ = false;
    QPointer<QLabel> panel_;
    QTimer refresh_;
};
