#include "database/GuardedSchema.h"

#include "log/LogRecordFormat.h"

#include <QByteArray>
#include <QList>

namespace {

std::string Column(const char* title)
{
    return std::to_string(LogColumnTitled(title));
}

// Replaces each "{{Title}}" in `sql` by the log's column of that title.
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

    // " 14.2 A": the depth before its grade letter; "__._" and anything else: NULL.
    "CREATE FUNCTION tallion.to_number(value text) RETURNS numeric LANGUAGE sql IMMUTABLE PARALLEL SAFE AS"
    " $$ SELECT substring(value FROM '^ *(-?[0-9]{1,9}(?:\\.[0-9]{1,9})?)(?: .*)?$')::numeric $$",
    "ALTER TABLE tallion.lines ADD COLUMN kind text, ADD COLUMN carcass text, ADD COLUMN probe_time timestamp,"
    " ADD COLUMN class text, ADD COLUMN lean_meat_pct numeric, ADD COLUMN fat1 numeric, ADD COLUMN fat2 numeric,"
    " ADD COLUMN meat numeric, ADD COLUMN meat1 numeric, ADD COLUMN quality text, ADD COLUMN weight numeric",
    // The typed values are worked out once, as the line is stored, splitting it once; a day's
    // query then reads them as they are. Kinds as the station's own reader tells them: a TAB
    // first, then "Cancel" before any comma or double space; a result has every column up to its
    // comment closed; a probing error is TAB, text, TAB. A value is the column's only when a TAB
    // closes it. A time "07:10:00  14-03-2024" that does not exist gives NULL.
    "CREATE FUNCTION tallion.type_line() RETURNS trigger LANGUAGE plpgsql SET search_path = pg_catalog, pg_temp AS"
    " $$ DECLARE f text[] := string_to_array(NEW.line, E'\\t'); tabs integer := coalesce(array_length(f, 1), 1) - 1;"
    " m text[]; BEGIN"
    " NEW.kind := 'other'; NEW.carcass := NULL; NEW.probe_time := NULL; NEW.class := NULL;"
    " NEW.lean_meat_pct := NULL; NEW.fat1 := NULL; NEW.fat2 := NULL; NEW.meat := NULL; NEW.meat1 := NULL;"
    " NEW.quality := NULL; NEW.weight := NULL;"
    " IF left(NEW.line, 1) <> E'\\t' THEN RETURN NEW; END IF;"
    " IF tabs >= 2 AND split_part(split_part(f[{{Time & Date}} + 1], ',', 1), '  ', 1) = 'Cancel' THEN"
    "  NEW.kind := 'cancel'; NEW.carcass := substring(f[{{Time & Date}} + 1] FROM '([0-9]+) *$');"
    " ELSIF tabs >= {{Weight}} + 2 THEN"
    "  NEW.kind := 'result'; NEW.carcass := nullif(f[{{Carcass Count}} + 1], '');"
    "  NEW.class := nullif(f[{{Class}} + 1], '');"
    "  NEW.lean_meat_pct := tallion.to_number(f[{{Meat %}} + 1]);"
    "  NEW.fat1 := tallion.to_number(f[{{Fat 1}} + 1]); NEW.fat2 := tallion.to_number(f[{{Fat 2}} + 1]);"
    "  NEW.meat := tallion.to_number(f[{{Meat (2)}} + 1]); NEW.meat1 := tallion.to_number(f[{{Meat 1}} + 1]);"
    "  NEW.quality := coalesce(nullif(f[{{RZ7 Colour 1}} + 1], ''), nullif(f[{{RZ4 Colour 1}} + 1], ''));"
    "  NEW.weight := tallion.to_number(f[{{Weight}} + 1]);"
    "  m := regexp_match(f[{{Time & Date}} + 1],"
    "   '^([0-9]{2}):([0-9]{2}):([0-9]{2})  ([0-9]{2})-([0-9]{2})-([0-9]{4})$');"
    "  IF m IS NOT NULL AND m[1]::int < 24 AND m[2]::int < 60 AND m[3]::int < 60 AND m[4]::int BETWEEN 1 AND 31"
    "   AND m[5]::int BETWEEN 1 AND 12 AND m[6]::int >= 1 THEN"
    "   IF extract(month FROM make_date(m[6]::int, m[5]::int, 1) + (m[4]::int - 1)) = m[5]::int THEN"
    "    NEW.probe_time := make_timestamp(m[6]::int, m[5]::int, m[4]::int, m[1]::int, m[2]::int, m[3]::int);"
    "   END IF;"
    "  END IF;"
    " ELSIF tabs = 2 THEN NEW.kind := 'probing error';"
    " END IF; RETURN NEW; END $$",
    "CREATE TRIGGER lines_typed BEFORE INSERT OR UPDATE OF line ON tallion.lines FOR EACH ROW"
    " EXECUTE FUNCTION tallion.type_line()",
    "UPDATE tallion.lines SET line = line",
    // One day of every station, read from the index alone (the office's classes, the plant page's
    // counts and average lean meat %); the deletions of a day.
    "CREATE INDEX lines_logged ON tallion.lines (logged_at) INCLUDE (station, class, deleted_at, kind, lean_meat_pct)",
    "CREATE INDEX lines_deleted ON tallion.lines (deleted_at) WHERE deleted_at IS NOT NULL",
    // A day read from the index alone is done before parallel workers would have started on a
    // busy server (257 ms with them, 54 to 86 ms without, on 6,000,000 lines).
    "ALTER TABLE tallion.lines SET (parallel_workers = 0)",

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

    // Called only for a number already held with another text; it never returns.
    "CREATE FUNCTION tallion.refuse_clash(p_station text, p_journal bigint, p_seq bigint) RETURNS boolean"
    " LANGUAGE plpgsql SET search_path = pg_catalog, pg_temp AS $$ BEGIN RAISE EXCEPTION USING ERRCODE = 'TL003',"
    " MESSAGE = format('Line %s of journal %s of station \"%s\" was refused: the database holds another line under"
    " this number. Does another station log under the same StationName?', p_seq, p_journal, p_station); END $$",
    "REVOKE ALL ON FUNCTION tallion.refuse_clash(text, bigint, bigint) FROM PUBLIC",
    // A line sent again with its text is left alone; the key's index finds a clash as the line
    // goes in (a join of the batch with the table afterwards took seconds a batch).
    "CREATE FUNCTION tallion.publish_lines(p_station text, p_journal bigint, p_seqs bigint[], p_lines text[],"
    " p_logged_ms bigint[]) RETURNS void LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS"
    " $$ BEGIN PERFORM tallion.check_station(p_station);"
    " INSERT INTO tallion.lines AS t (station, journal, seq, line, logged_at)"
    "  SELECT p_station, p_journal, u.seq, u.line, to_timestamp(u.ms / 1000.0)"
    "  FROM unnest(p_seqs, p_lines, p_logged_ms) AS u(seq, line, ms)"
    "  ON CONFLICT (station, journal, seq) DO UPDATE SET line = EXCLUDED.line"
    "  WHERE t.line IS DISTINCT FROM EXCLUDED.line AND tallion.refuse_clash(t.station, t.journal, t.seq); END $$",
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
