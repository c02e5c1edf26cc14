#include "database/ResyncCommand.h"

#include "database/OutboxJournal.h"
#include "database/PgPlantDatabase.h"

#include <QFileInfo>

namespace {

constexpr const char* kUsage = "Usage: tallion db resync --connection CONNINFO --station NAME LOG\n"
                               "  Compares the log file LOG with the station's lines in the plant database: sends\n"
                               "  the lines the database lacks and marks deleted those the log no longer has.\n"
                               "  CONNINFO names the station's own role, as in its settings.\n";

} // namespace

int RunResyncCommand(const QStringList& arguments, FILE* out, FILE* err)
{
    QString connection;
    QString station;
    QString log;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if ((word == QLatin1String("--connection") || word == QLatin1String("--station")) && i + 1 < arguments.size())
            (word == QLatin1String("--station") ? station : connection) = arguments[++i];
        else if (!word.startsWith(QLatin1String("--")) && log.isEmpty())
            log = word;
        else {
            std::fprintf(err, "tallion db resync: unexpected argument \"%s\"\n%s", word.toLocal8Bit().constData(),
                         kUsage);
            return 2;
        }
    }
    if (connection.isEmpty() || station.isEmpty() || log.isEmpty()) {
        std::fprintf(err, "tallion db resync: needs --connection, --station and the log file\n%s", kUsage);
        return 2;
    }
    const std::string logPath = QFileInfo(log).absoluteFilePath().toLocal8Bit().toStdString();
    if (!QFileInfo(log).isFile()) {
        std::fprintf(err, "tallion db resync: there is no log file %s\n", logPath.c_str());
        return 1;
    }

    OutboxJournal journal(station.toStdString());
    std::string error;
    if (!journal.Open(logPath, &error)) {
        if (journal.HeldByOther())
            std::fprintf(err,
                         "tallion db resync: a running station named \"%s\" holds the journal of %s; end it "
                         "first (it compares the log itself when its journal is damaged).\n",
                         station.toLocal8Bit().constData(), logPath.c_str());
        else
            std::fprintf(err, "tallion db resync: %s\n", error.c_str());
        return 1;
    }
    journal.RequestReconciliation();
    PgPlantDatabase database(connection.toStdString());
    DatabaseResult result = database.Connect();
    size_t sent = 0;
    size_t marked = 0;
    // An earlier log's journal, still owed, is compared first when it needs it; then this one.
    std::string needStation;
    std::string needLog;
    while (result.ok() && journal.ReconcileNeeded(&needStation, &needLog)) {
        std::vector<ServerLine> rows;
        result = database.LogRows(needStation, needLog, rows);
        size_t s = 0;
        size_t m = 0;
        if (result.ok() && !journal.ReconcileWith(rows, needStation, &s, &m))
            result = {DatabaseFault::Other, "cannot read " + needLog};
        sent += s;
        marked += m;
    }
    while (result.ok()) {
        const OutboxBatch batch = journal.Unconfirmed(1000);
        if (batch.lastEvent == 0)
            break;
        result = database.Publish(batch.station.empty() ? station.toStdString() : batch.station, batch);
        if (result.ok() && !journal.Confirm(batch.journal, batch.lastEvent))
            result = {DatabaseFault::Other, journal.Fault()};
    }
    if (!result.ok()) {
        std::fprintf(err, "tallion db resync: %s\n", result.message.c_str());
        return 1;
    }
    std::fprintf(out, "%s: sent %zu lines the plant database lacked and marked %zu deleted for station \"%s\".\n",
                 logPath.c_str(), sent, marked, station.toLocal8Bit().constData());
    return 0;
}
