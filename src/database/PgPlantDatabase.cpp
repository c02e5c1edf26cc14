#include "database/PgPlantDatabase.h"

#include "database/DatabaseSchema.h"

#include <map>

namespace {

// The role may call these functions and nothing else; they check that it sends its own station's
// lines, and refuse a number held by another line.
constexpr const char* kPublishLines =
    "SELECT tallion.publish_lines($1, $2::bigint, $3::bigint[], $4::text[], $5::bigint[])";
constexpr const char* kMarkDeleted = "SELECT tallion.mark_deleted($1, $2::bigint, $3::bigint[], $4::bigint[])";
constexpr const char* kRegisterJournal = "SELECT tallion.register_journal($1, $2::bigint, $3)";
constexpr const char* kLogRows = "SELECT station, journal, seq, line, deleted FROM tallion.log_rows($1, $2)";

template <class T, class F>
std::string NumbersLiteral(const std::vector<T>& items, F number)
{
    std::string text = "{";
    for (const T& item : items) {
        if (text.size() > 1)
            text += ',';
        text += std::to_string(number(item));
    }
    return text + "}";
}

} // namespace

std::string ArrayLiteral(const std::vector<std::string>& items)
{
    std::string text = "{";
    for (const std::string& item : items) {
        if (text.size() > 1)
            text += ',';
        text += '"';
        for (const char c : item) {
            if (c == '"' || c == '\\')
                text += '\\';
            text += c == '\0' ? '\x1a' : c;
        }
        text += '"';
    }
    return text + "}";
}

PgPlantDatabase::PgPlantDatabase(const std::string& conninfo, bool passwordAllowed)
    : connection_(conninfo, passwordAllowed)
{}

DatabaseResult PgPlantDatabase::Connect()
{
    DatabaseResult result = connection_.Open();
    if (!result.ok()) {
        connection_.Close();
        return result;
    }
    int version = 0;
    result = SchemaVersion(connection_, version);
    if (result.ok() && version > kSchemaVersion)
        result = NewerSchemaFault(version);
    if (result.ok() && version < kSchemaVersion) {
        result = CreateOrUpgradeSchema(connection_);
        if (result.fault == DatabaseFault::NoRights)
            result = {DatabaseFault::NoSchema, "The database has no Tallion tables (or older ones) and the station's "
                                               "role may not create them: run \"tallion db init\" as the "
                                               "database's owner. "
                                                   + result.message};
    }
    if (!result.ok())
        connection_.Close();
    return result;
}

bool PgPlantDatabase::Connected() const
{
    return connection_.IsOpen();
}

void PgPlantDatabase::Disconnect()
{
    connection_.Close();
}

void PgPlantDatabase::Interrupt()
{
    connection_.Interrupt();
}

DatabaseResult PgPlantDatabase::Publish(const std::string& station, const OutboxBatch& batch)
{
    DatabaseResult result = connection_.Exec("BEGIN");
    if (result.ok())
        result = Send(station, batch);
    if (result.ok())
        return connection_.Exec("COMMIT");
    if (connection_.IsOpen())
        connection_.Exec("ROLLBACK");
    return result;
}

DatabaseResult PgPlantDatabase::Send(const std::string& station, const OutboxBatch& batch)
{
    const std::string journal = std::to_string(batch.journal);
    if (!batch.logPath.empty()) {
        if (const DatabaseResult result = connection_.Exec(kRegisterJournal, {station, journal, batch.logPath});
            !result.ok())
            return result;
    }
    if (!batch.lines.empty()) {
        std::vector<std::string> texts;
        texts.reserve(batch.lines.size());
        for (const OutboxLine& l : batch.lines)
            texts.push_back(l.line);
        const DatabaseResult result = connection_.Exec(
            kPublishLines,
            {station, journal, NumbersLiteral(batch.lines, [](const OutboxLine& l) { return l.seq; }),
             ArrayLiteral(texts), NumbersLiteral(batch.lines, [](const OutboxLine& l) { return l.loggedAtMs; })});
        if (!result.ok())
            return result;
    }
    // Grouped by the journal that numbered each line (an earlier one after a comparison).
    std::map<std::int64_t, std::vector<OutboxDeletion>> byJournal;
    for (const OutboxDeletion& d : batch.deletions)
        byJournal[d.journal != 0 ? d.journal : batch.journal].push_back(d);
    for (const auto& [lineJournal, deletions] : byJournal) {
        const DatabaseResult result = connection_.Exec(
            kMarkDeleted, {station, std::to_string(lineJournal),
                           NumbersLiteral(deletions, [](const OutboxDeletion& d) { return d.lineSeq; }),
                           NumbersLiteral(deletions, [](const OutboxDeletion& d) { return d.deletedAtMs; })});
        if (!result.ok())
            return result;
    }
    return {};
}

DatabaseResult PgPlantDatabase::LogRows(const std::string& station, const std::string& logPath,
                                        std::vector<ServerLine>& rows)
{
    PgResultPtr result;
    const DatabaseResult done = connection_.Exec(kLogRows, {station, logPath}, &result);
    if (!done.ok())
        return done;
    const int count = PQntuples(result.get());
    rows.reserve(rows.size() + static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        rows.push_back({PQgetvalue(result.get(), i, 0), std::stoll(PQgetvalue(result.get(), i, 1)),
                        std::stoll(PQgetvalue(result.get(), i, 2)),
                        LogLineMap::HashOf(std::string_view(PQgetvalue(result.get(), i, 3),
                                                            static_cast<size_t>(PQgetlength(result.get(), i, 3)))),
                        std::string(PQgetvalue(result.get(), i, 4)) == "t"});
    }
    return {};
}
