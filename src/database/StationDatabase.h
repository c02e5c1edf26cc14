#pragma once
// The station's side of the plant database, when the `[Database]` `Connection` setting names
// one: the journal beside the log, the publisher's thread, the "Database: ..." text of its panel
// with the reason on hover, and its notice: the server away (with the waiting count), back and
// catching up, then gone (through the non-blocking notice path: the receive tick never waits
// for the server). It needs
// no window; the main window shows the panel (DatabasePanel).

#include "database/DatabasePublisher.h"
#include "database/OutboxJournal.h"
#include "probe/OperatorNotices.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>

class SettingsStore;

// The kind of the database's notice: whether the server is away, or back and catching up.
inline constexpr const char* kDatabaseNoticeKind = "database";

class StationDatabase : public QObject {
    Q_OBJECT
public:
    // Nothing (no thread, no journal, no panel) when the settings name no database.
    static StationDatabase* FromSettings(SettingsStore& settings, const std::string& logPath, OperatorNotices& notices,
                                         QObject* parent);

    // `owedList`: where the journals still owed to the server are listed (none kept when empty).
    StationDatabase(std::unique_ptr<PlantDatabase> database, const std::string& station, const std::string& logPath,
                    OperatorNotices& notices, QObject* parent = nullptr, const std::string& owedList = {});
    ~StationDatabase() override;

    // Told of every change to the log (the writer and the row deletion).
    LogChangeObserver* Observer() { return journal_.get(); }
    OutboxJournal& Journal() { return *journal_; }
    DatabasePublisher& Publisher() { return *publisher_; }

    // "Database: connected", "Database: 42 waiting", ...; and the tooltip with the reason.
    QString PanelText() const;
    QString PanelTip() const;

signals:
    // The panel's text or tip may have changed (the server's state, once a second the count).
    void panelChanged();

private:
    void OnStatus(const DatabaseStatus& status);
    // Posts the notice that fits the server's state and the waiting count, or clears it.
    void TellState();
    void TellJournal();

    std::unique_ptr<OutboxJournal> journal_;
    std::unique_ptr<DatabasePublisher> publisher_;
    OperatorNotices& notices_;
    std::string station_;
    DatabaseStatus status_;
    Notice told_;         // the notice last posted; empty text when none stands
    QString journalTold_; // the journal fault last told
    QTimer refresh_;
};
