#include "database/GuardedSchema.h"

#include "log/LogRecordFormat.h"

#include <QByteArray>
#include <QList>

namespace {

std::string Column(const char* title)
{
    return std::to_string(LogColumnTitled(title));
}

// Replaces each "{Title}" in `sql` by the log's column of that title.
std::string WithColumns(std::string sql)
{
    for (size_t open = sql.find("{{"); open != std::string::npos; open = sql.find("{{", open)) {
        const size_t close = sql.find("}}", open);
        sql.replace(open, close + 2 - open, Column(sql.substr(open + 2, close - open - 2).c_str()));
    }
    return sql;
}

// Every cast is guarded: a line, however malformed, gives NULL where it holds no value, never an
// error. A value that no TAB closes is empty, as the station's own readers take it.
const char* const kStatements[] = {
    "CREATE SCHEMA tallion",
    "GRANT USAGE ON SCHEMA tallion TO PUBLIC",
    "ALTER TABLE public.tallion_lines SET SCHEMA tallion",
    "ALTER TABLE tallion.tallion_lines RENAME TO lines",
    "ALTER INDEX tallion.tallion_lines_logged RENAME TO lines_station_logged",
    // The grants of version 1 let any station change any row; stations now write only through
    // the functions below.
    "DO $$ DECLARE r regrole; BEGIN"
    " FOR r IN SELECT DISTINCT a.grantee::regrole FROM pg_class c, aclexplode(c.relacl) a"
    "  WHERE c.oid = 'tallion.lines'::regclass AND a.grantee NOT IN (0, c.relowner)"
    " UNION SELECT DISTINCT a.grantee::regrole FROM pg_class c JOIN pg_attribute t ON t.attrelid = c.oid,"
    "  aclexplode(t.attacl) a WHERE c.oid = 'tallion.lines'::regclass AND a.grantee NOT IN (0, c.relowner)"
    " LOOP EXECUTE format('REVOKE ALL ON tallion.lines FROM %s', r); END LOOP;"
    " REVOKE ALL ON tallion.lines FROM PUBLIC; END $$",
    "CREATE TABLE tallion.stations (role text PRIMARY KEY, station text NOT NULL)",

    "CREATE FUNCTION tallion.tab_count(line text) RETURNS integer LANGUAGE sql IMMUTABLE PARALLEL SAFE AS"
    " $$ SELECT length(line) - length(replace(line, E'\\t', '')) $$",
    "CREATE FUNCTION tallion.log_field(line text, n integer) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS"
    " $$ SELECT CASE WHEN n >= 0 AND tallion.tab_count(line) > n THEN nullif(split_part(line, E'\\t', n + 1), '') END "
    "$$",
    "CREATE FUNCTION tallion.line_kind(line text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT CASE"
    " WHEN left(line, 1) IS DISTINCT FROM E'\\t' THEN 'other'"
    " WHEN strpos(substr(line, 2), E'\\t') > 0"
    "  AND split_part(split_part(split_part(substr(line, 2), E'\\t', 1), ',', 1), '  ', 1) = 'Cancel' THEN 'cancel'"
    " WHEN tallion.tab_count(line) >= {{Weight}} + 2 THEN 'result'"
    " WHEN tallion.tab_count(line) = 2 THEN 'probing error'"
    " ELSE 'other' END $$",
    "CREATE FUNCTION tallion.result_field(line text, n integer) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS"
    " $$ SELECT CASE WHEN tallion.line_kind(line) = 'result' THEN tallion.log_field(line, n) END $$",
    // " 14.2 A": the depth before its grade letter; "__._" and anything else: NULL.
    "CREATE FUNCTION tallion.to_number(value text) RETURNS numeric LANGUAGE sql IMMUTABLE PARALLEL SAFE AS"
    " $$ SELECT substring(value FROM '^ *(-?[0-9]{1,9}(?:\\.[0-9]{1,9})?)(?: .*)?$')::numeric $$",
    // "07:10:00  14-03-2024"; a time or day that does not exist gives NULL.
    "CREATE FUNCTION tallion.probe_time(value text) RETURNS timestamp LANGUAGE sql IMMUTABLE PARALLEL SAFE AS"
    " $$ SELECT CASE WHEN m IS NULL THEN NULL"
    " WHEN m[1]::int > 23 OR m[2]::int > 59 OR m[3]::int > 59 OR m[4]::int NOT BETWEEN 1 AND 31"
    "  OR m[5]::int NOT BETWEEN 1 AND 12 OR m[6]::int < 1 THEN NULL"
    " WHEN extract(month FROM make_date(m[6]::int, m[5]::int, 1) + (m[4]::int - 1)) <> m[5]::int THEN NULL"
    " ELSE make_timestamp(m[6]::int, m[5]::int, m[4]::int, m[1]::int, m[2]::int, m[3]::int) END"
    " FROM (SELECT regexp_match(value, '^([0-9]{2}):([0-9]{2}):([0-9]{2})  ([0-9]{2})-([0-9]{2})-([0-9]{4})$')"
    " AS m) AS s $$",
    // A cancel's text ends in the carcass counter.
    "CREATE FUNCTION tallion.carcass_number(line text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS"
    " $$ SELECT CASE tallion.line_kind(line) WHEN 'result' THEN tallion.log_field(line, {{Carcass Count}})"
    " WHEN 'cancel' THEN substring(tallion.log_field(line, {{Time & Date}}) FROM '([0-9]+) *$') END $$",

    // Typed values are stored with the line, so that a day's query reads them as they are.
    "ALTER TABLE tallion.lines"
    " ADD COLUMN kind text GENERATED ALWAYS AS (tallion.line_kind(line)) STORED,"
    " ADD COLUMN carcass text GENERATED ALWAYS AS (tallion.carcass_number(line)) STORED,"
    " ADD COLUMN probe_time timestamp GENERATED ALWAYS AS"
    "  (tallion.probe_time(tallion.result_field(line, {{Time & Date}}))) STORED,"
    " ADD COLUMN class text GENERATED ALWAYS AS (tallion.result_field(line, {{Class}})) STORED,"
    " ADD COLUMN lean_meat_pct numeric GENERATED ALWAYS AS"
    "  (tallion.to_number(tallion.result_field(line, {{Meat %}}))) STORED,"
    " ADD COLUMN fat1 numeric GENERATED ALWAYS AS (tallion.to_number(tallion.result_field(line, {{Fat 1}}))) STORED,"
    " ADD COLUMN fat2 numeric GENERATED ALWAYS AS (tallion.to_number(tallion.result_field(line, {{Fat 2}}))) STORED,"
    " ADD COLUMN meat numeric GENERATED ALWAYS AS (tallion.to_number(tallion.result_field(line, {{Meat (2)}}))) STORED,"
    " ADD COLUMN meat1 numeric GENERATED ALWAYS AS (tallion.to_number(tallion.result_field(line, {{Meat 1}}))) STORED,"
    " ADD COLUMN quality text GENERATED ALWAYS AS (coalesce(tallion.result_field(line, {{RZ7 Colour 1}}),"
    "  tallion.result_field(line, {{RZ4 Colour 1}}))) STORED,"
    " ADD COLUMN weight numeric GENERATED ALWAYS AS (tallion.to_number(tallion.result_field(line, {{Weight}}))) STORED",
    // One day of every station, read from the index alone; the deletions of a day.
    "CREATE INDEX lines_logged ON tallion.lines (logged_at) INCLUDE (station, class, deleted_at)",
    "CREATE INDEX lines_deleted ON tallion.lines (deleted_at) WHERE deleted_at IS NOT NULL",

    // A row's history holds even against a fault in the functions: its line and times never change,
    // and a deletion once marked stays as it was.
    "CREATE FUNCTION tallion.keep_history() RETURNS trigger LANGUAGE plpgsql SET search_path = pg_catalog, pg_temp AS"
    " $$ BEGIN IF (NEW.station, NEW.journal, NEW.seq, NEW.line, NEW.logged_at, NEW.received_at)"
    "  IS DISTINCT FROM (OLD.station, OLD.journal, OLD.seq, OLD.line, OLD.logged_at, OLD.received_at)"
    "  OR (OLD.deleted_at IS NOT NULL AND NEW.deleted_at IS DISTINCT FROM OLD.deleted_at) THEN"
    " RAISE EXCEPTION USING ERRCODE = 'TL004', MESSAGE = 'A stored line and its times never change.'; END IF;"
    " RETURN NEW; END $$",
    "CREATE TRIGGER lines_keep_history BEFORE UPDATE ON tallion.lines FOR EACH ROW"
    " EXECUTE FUNCTION tallion.keep_history()",

    "CREATE VIEW tallion.carcass_results AS SELECT station, journal, seq, kind, carcass, probe_time, class,"
    " lean_meat_pct, fat1, fat2, meat, meat1, quality, weight, logged_at, received_at, deleted_at FROM tallion.lines",

    "CREATE FUNCTION tallion.schema_version() RETURNS integer LANGUAGE sql STABLE SECURITY DEFINER"
    " SET search_path = pg_catalog, pg_temp AS $$ SELECT coalesce(max(version), 0) FROM public.tallion_schema $$",
    "GRANT EXECUTE ON FUNCTION tallion.schema_version() TO PUBLIC",

    // The login role (session_user: SET ROLE does not change it) decides the station.
    "CREATE FUNCTION tallion.check_station(p_station text) RETURNS void LANGUAGE plpgsql STABLE"
    " SET search_path = pg_catalog, pg_temp AS $$ DECLARE mine text; BEGIN"
    " SELECT s.station INTO mine FROM tallion.stations AS s WHERE s.role = session_user;"
    " IF NOT FOUND THEN RAISE EXCEPTION USING ERRCODE = 'TL001', MESSAGE = format('The database role \"%s\" belongs"
    " to no station: the administrator maps it with \"tallion db add-station --station NAME --role %s\".',"
    " session_user, session_user); END IF;"
    " IF mine IS DISTINCT FROM p_station THEN RAISE EXCEPTION USING ERRCODE = 'TL002', MESSAGE = format("
    "'The database role \"%s\" sends the lines of station \"%s\", not of \"%s\": set StationName to \"%s\", or have"
    " the administrator map the role to \"%s\" with \"tallion db add-station\".',"
    " session_user, mine, p_station, mine, p_station); END IF; END $$",
    "REVOKE ALL ON FUNCTION tallion.check_station(text) FROM PUBLIC",

    "CREATE FUNCTION tallion.publish_lines(p_station text, p_journal bigint, p_seqs bigint[], p_lines text[],"
    " p_logged_ms bigint[]) RETURNS void LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS"
    " $$ DECLARE clash bigint; BEGIN PERFORM tallion.check_station(p_station);"
    " INSERT INTO tallion.lines (station, journal, seq, line, logged_at)"
    "  SELECT p_station, p_journal, u.seq, u.line, to_timestamp(u.ms / 1000.0)"
    "  FROM unnest(p_seqs, p_lines, p_logged_ms) AS u(seq, line, ms) ON CONFLICT (station, journal, seq) DO NOTHING;"
    " SELECT u.seq INTO clash FROM unnest(p_seqs, p_lines) AS u(seq, line) JOIN tallion.lines AS t"
    "  ON t.station = p_station AND t.journal = p_journal AND t.seq = u.seq"
    "  WHERE t.line IS DISTINCT FROM u.line ORDER BY u.seq LIMIT 1;"
    " IF clash IS NOT NULL THEN RAISE EXCEPTION USING ERRCODE = 'TL003', MESSAGE = format('Line %s of journal %s of"
    " station \"%s\" was refused: the database holds another line under this number. Does another station log under"
    " the same StationName?', clash, p_journal, p_station); END IF; END $$",
    // A deletion marked once keeps its first time when sent again.
    "CREATE FUNCTION tallion.mark_deleted(p_station text, p_journal bigint, p_seqs bigint[], p_deleted_ms bigint[])"
    " RETURNS void LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS"
    " $$ BEGIN PERFORM tallion.check_station(p_station);"
    " UPDATE tallion.lines AS t SET deleted_at = to_timestamp(u.ms / 1000.0)"
    "  FROM unnest(p_seqs, p_deleted_ms) AS u(seq, ms)"
    "  WHERE t.station = p_station AND t.journal = p_journal AND t.seq = u.seq AND t.deleted_at IS NULL; END $$",
    "REVOKE ALL ON FUNCTION tallion.publish_lines(text, bigint, bigint[], text[], bigint[]),"
    " tallion.mark_deleted(text, bigint, bigint[], bigint[]) FROM PUBLIC",

    // Run by the administrator: the caller's own rights decide whether it may.
    "CREATE FUNCTION tallion.add_station(p_role text, p_station text) RETURNS void LANGUAGE plpgsql"
    " SET search_path = pg_catalog, pg_temp AS $$ BEGIN"
    " INSERT INTO tallion.stations (role, station) VALUES (p_role, p_station)"
    "  ON CONFLICT (role) DO UPDATE SET station = EXCLUDED.station;"
    " EXECUTE format('GRANT EXECUTE ON FUNCTION tallion.publish_lines(text, bigint, bigint[], text[], bigint[]),"
    " tallion.mark_deleted(text, bigint, bigint[], bigint[]) TO %I', p_role); END $$",
    "REVOKE ALL ON FUNCTION tallion.add_station(text, text) FROM PUBLIC",
};

} // namespace

int LogColumnTitled(const std::string& title)
{
    const QList<QByteArray> titles = QByteArray::fromStdString(LogHeaderLine()).split('\t');
    return static_cast<int>(titles.indexOf(QByteArray::fromStdString(title)));
}

std::vector<std::string> GuardedSchemaStatements()
{
    std::vector<std::string> statements;
    for (const char* statement : kStatements)
        statements.push_back(WithColumns(statement));
    return statements;
}
