#include "database/JournalSchema.h"

#include "database/PlantNotify.h"

namespace {

const char* const kStatements[] = {
    // A log's name without its folder: another station may see a shared log under another path.
    "CREATE TABLE tallion.journals (station text NOT NULL, journal bigint NOT NULL, log_path text NOT NULL,"
    " log_name text NOT NULL, PRIMARY KEY (station, journal))",
    "CREATE INDEX journals_log_name ON tallion.journals (log_name)",
    "CREATE FUNCTION tallion.register_journal(p_station text, p_journal bigint, p_log text) RETURNS void"
    " LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS"
    " $$ BEGIN PERFORM tallion.check_station(p_station);"
    " INSERT INTO tallion.journals (station, journal, log_path, log_name)"
    "  VALUES (p_station, p_journal, p_log, regexp_replace(p_log, '^.*/', ''))"
    "  ON CONFLICT (station, journal) DO NOTHING; END $$",
    // This station's rows of the log by its path; another station's by the log's name. Any role
    // may read the lines of a log it shares; it changes nothing.
    "CREATE FUNCTION tallion.log_rows(p_station text, p_log text)"
    " RETURNS TABLE (station text, journal bigint, seq bigint, line text, deleted boolean)"
    " LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS"
    " $$ BEGIN PERFORM tallion.check_station(p_station);"
    " RETURN QUERY SELECT l.station, l.journal, l.seq, l.line, l.deleted_at IS NOT NULL"
    "  FROM tallion.journals AS j JOIN tallion.lines AS l ON l.station = j.station AND l.journal = j.journal"
    "  WHERE (j.station = p_station AND j.log_path = p_log)"
    "   OR (j.station <> p_station AND j.log_name = regexp_replace(p_log, '^.*/', ''))"
    "  ORDER BY l.logged_at, l.journal, l.seq; END $$",
    "REVOKE ALL ON FUNCTION tallion.register_journal(text, bigint, text), tallion.log_rows(text, text) FROM PUBLIC",
    "CREATE OR REPLACE FUNCTION tallion.add_station(p_role text, p_station text) RETURNS void LANGUAGE plpgsql"
    " SET search_path = pg_catalog, pg_temp AS $$ BEGIN"
    " INSERT INTO tallion.stations (role, station) VALUES (p_role, p_station)"
    "  ON CONFLICT (role) DO UPDATE SET station = EXCLUDED.station;"
    " EXECUTE format('GRANT EXECUTE ON FUNCTION tallion.publish_lines(text, bigint, bigint[], text[], bigint[]),"
    " tallion.mark_deleted(text, bigint, bigint[], bigint[]), tallion.register_journal(text, bigint, text),"
    " tallion.log_rows(text, text) TO %I', p_role); END $$",
    // The stations mapped before keep their rights.
    "DO $$ DECLARE r text; BEGIN FOR r IN SELECT role FROM tallion.stations LOOP"
    " EXECUTE format('GRANT EXECUTE ON FUNCTION tallion.register_journal(text, bigint, text),"
    " tallion.log_rows(text, text) TO %I', r); END LOOP; END $$",
};

} // namespace

std::vector<std::string> JournalSchemaStatements()
{
    std::vector<std::string> statements(std::begin(kStatements), std::end(kStatements));
    // The plant page's live updates come in with the same version.
    for (std::string& statement : PlantNotifyStatements())
        statements.push_back(std::move(statement));
    return statements;
}
