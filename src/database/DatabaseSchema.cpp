#include "database/DatabaseSchema.h"

#include "database/GuardedSchema.h"
#include "database/JournalSchema.h"

#include <string>
#include <vector>

namespace {

// Any number the plant's own applications do not use; the same in every station.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(7347066901)";

// Statements of each version, in order; version n is Upgrades()[n - 1]. One statement each:
// parameters and several statements do not go together.
std::vector<std::vector<std::string>> Upgrades()
{
    return {
        // 1: one row per line a station appended to its log; the key makes a resent line harmless.
        {
            "CREATE TABLE public.tallion_lines ("
            " station text NOT NULL,"
            " journal bigint NOT NULL,"
            " seq bigint NOT NULL,"
            " line text NOT NULL,"
            " logged_at timestamptz NOT NULL,"
            " deleted_at timestamptz,"
            " received_at timestamptz NOT NULL DEFAULT now(),"
            " PRIMARY KEY (station, journal, seq))",
            "CREATE INDEX tallion_lines_logged ON public.tallion_lines (station, logged_at)",
            "CREATE VIEW public.result_lines AS"
            " SELECT station, line, logged_at, deleted_at, journal, seq FROM public.tallion_lines",
        },
        GuardedSchemaStatements(),
        JournalSchemaStatements(),
    };
}

// Every byte of a log line is a Latin-1 character; a database that cannot hold each of them
// would refuse lines for ever (WIN1252 has no 0x81, for one).
DatabaseResult CheckEncoding(PgConnection& connection)
{
    PgResultPtr rows;
    DatabaseResult result = connection.Exec("SELECT pg_encoding_to_char(encoding) FROM pg_database"
                                            " WHERE datname = current_database()",
                                            {}, &rows);
    if (!result.ok())
        return result;
    const std::string encoding = PQgetvalue(rows.get(), 0, 0);
    if (encoding == "UTF8" || encoding == "LATIN1")
        return {};
    return EncodingFault(encoding);
}

} // namespace

DatabaseResult NewerSchemaFault(int version)
{
    return {DatabaseFault::NewerSchema, "The plant database's Tallion tables are of version " + std::to_string(version)
                                            + ", newer than this station knows (" + std::to_string(kSchemaVersion)
                                            + "): update the station"};
}

DatabaseResult SchemaVersion(PgConnection& connection, int& version)
{
    version = 0;
    PgResultPtr rows;
    DatabaseResult result = connection.Exec("SELECT to_regprocedure('tallion.schema_version()') IS NOT NULL,"
                                            " to_regclass('public.tallion_schema') IS NOT NULL",
                                            {}, &rows);
    if (!result.ok())
        return result;
    const char* query = nullptr;
    if (std::string(PQgetvalue(rows.get(), 0, 0)) == "t")
        query = "SELECT tallion.schema_version()";
    else if (std::string(PQgetvalue(rows.get(), 0, 1)) == "t")
        query = "SELECT coalesce(max(version), 0) FROM public.tallion_schema"; // version 1
    else
        return {};
    result = connection.Exec(query, {}, &rows);
    if (result.ok())
        version = std::stoi(PQgetvalue(rows.get(), 0, 0));
    return result;
}

DatabaseResult CreateOrUpgradeSchema(PgConnection& connection)
{
    DatabaseResult result = connection.Exec("BEGIN");
    auto fail = [&connection](DatabaseResult failure) {
        connection.Exec("ROLLBACK");
        return failure;
    };
    if (!result.ok())
        return result;
    if (result = connection.Exec(kSchemaLock); !result.ok())
        return fail(result);
    int version = 0;
    if (result = SchemaVersion(connection, version); !result.ok())
        return fail(result);
    if (version > kSchemaVersion)
        return fail(NewerSchemaFault(version));
    if (version == kSchemaVersion)
        return connection.Exec("COMMIT");
    if (result = CheckEncoding(connection); !result.ok())
        return fail(result);
    if (result = connection.Exec("CREATE TABLE IF NOT EXISTS public.tallion_schema (version integer NOT NULL)");
        !result.ok())
        return fail(result);
    const std::vector<std::vector<std::string>> upgrades = Upgrades();
    for (int next = version + 1; next <= kSchemaVersion; ++next) {
        for (const std::string& statement : upgrades[static_cast<size_t>(next) - 1]) {
            if (result = connection.Exec(statement); !result.ok())
                return fail(result);
        }
    }
    result = connection.Exec("DELETE FROM public.tallion_schema");
    if (result.ok())
        result = connection.Exec("INSERT INTO public.tallion_schema (version) VALUES ($1::integer)",
                                 {std::to_string(kSchemaVersion)});
    if (!result.ok())
        return fail(result);
    return connection.Exec("COMMIT");
}

DatabaseResult AddStation(PgConnection& connection, const std::string& station, const std::string& role)
{
    int version = 0;
    DatabaseResult result = SchemaVersion(connection, version);
    if (!result.ok())
        return result;
    if (version > kSchemaVersion)
        return NewerSchemaFault(version);
    if (version < kSchemaVersion)
        return {DatabaseFault::NoSchema, "The plant database has no Tallion tables of version "
                                             + std::to_string(kSchemaVersion) + " yet: run \"tallion db init\" first"};
    PgResultPtr rows;
    result = connection.Exec("SELECT 1 FROM pg_roles WHERE rolname = $1", {role}, &rows);
    if (result.ok() && PQntuples(rows.get()) == 0)
        return {DatabaseFault::Other, "The server has no role \"" + role + "\": create it first (CREATE ROLE " + role
                                          + " LOGIN) and put its password in the station's ~/.pgpass"};
    if (result.ok())
        result = connection.Exec("SELECT tallion.add_station($1, $2)", {role, station});
    return result;
}
