#include "database/DatabaseSchema.h"

#include <string>
#include <vector>

namespace {

// Any number the plant's own applications do not use; the same in every station.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(7347066901)";

// Statements of each version, in order; version n is kUpgrades[n - 1]. One statement each:
// parameters and several statements do not go together.
const std::vector<std::vector<const char*>> kUpgrades = {
    // 1: one row per line a station appended to its log; the key makes a resent line harmless.
    {
        "CREATE TABLE tallion_lines ("
        " station text NOT NULL,"
        " journal bigint NOT NULL,"
        " seq bigint NOT NULL,"
        " line text NOT NULL,"
        " logged_at timestamptz NOT NULL,"
        " deleted_at timestamptz,"
        " received_at timestamptz NOT NULL DEFAULT now(),"
        " PRIMARY KEY (station, journal, seq))",
        "CREATE INDEX tallion_lines_logged ON tallion_lines (station, logged_at)",
        "CREATE VIEW result_lines AS"
        " SELECT station, line, logged_at, deleted_at, journal, seq FROM tallion_lines",
    },
};

} // namespace

DatabaseResult SchemaVersion(PgConnection& connection, int& version)
{
    version = 0;
    PgResultPtr rows;
    DatabaseResult result = connection.Exec("SELECT to_regclass('tallion_schema') IS NOT NULL", {}, &rows);
    if (!result.ok())
        return result;
    if (std::string(PQgetvalue(rows.get(), 0, 0)) != "t")
        return {};
    result = connection.Exec("SELECT coalesce(max(version), 0) FROM tallion_schema", {}, &rows);
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
    if (result = connection.Exec("CREATE TABLE IF NOT EXISTS tallion_schema (version integer NOT NULL)"); !result.ok())
        return fail(result);
    int version = 0;
    if (result = SchemaVersion(connection, version); !result.ok())
        return fail(result);
    for (int next = version + 1; next <= kSchemaVersion; ++next) {
        for (const char* statement : kUpgrades[static_cast<size_t>(next) - 1]) {
            if (result = connection.Exec(statement); !result.ok())
                return fail(result);
        }
    }
    if (version < kSchemaVersion) {
        result = connection.Exec("DELETE FROM tallion_schema");
        if (result.ok())
            result = connection.Exec("INSERT INTO tallion_schema (version) VALUES ($1::integer)",
                                     {std::to_string(kSchemaVersion)});
        if (!result.ok())
            return fail(result);
    }
    return connection.Exec("COMMIT");
}
