#include "database/PgPlantDatabase.h"

#include "database/DatabaseSchema.h"

namespace {

// The role may call these functions and nothing else; they check that it sends its own station's
// lines, and refuse a number held by another line.
constexpr const char* kPublishLines =
    "SELECT tallion.publish_lines($1, $2::bigint, $3::bigint[], $4::text[], $5::bigint[])";
constexpr const char* kMarkDeleted = "SELECT tallion.mark_deleted($1, $2::bigint, $3::bigint[], $4::bigint[])";

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
    if (!batch.deletions.empty()) {
        return connection_.Exec(
            kMarkDeleted,
            {station, journal, NumbersLiteral(batch.deletions, [](const OutboxDeletion& d) { return d.lineSeq; }),
             NumbersLiteral(batch.deletions, [](const OutboxDeletion& d) { return d.deletedAtMs; })});
    }
    return {};
}
