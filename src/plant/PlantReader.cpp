#include "plant/PlantReader.h"

#include <QByteArray>
#include <QDateTime>

#include <string_view>

namespace {

std::string Bound(const QDate& day)
{
    return std::to_string(day.startOfDay().toMSecsSinceEpoch());
}

std::string Text(const PGresult* rows, int row, int column)
{
    return std::string(PQgetvalue(rows, row, column), static_cast<size_t>(PQgetlength(rows, row, column)));
}

std::optional<long long> Number(const PGresult* rows, int row, int column)
{
    if (PQgetisnull(rows, row, column))
        return std::nullopt;
    return std::stoll(PQgetvalue(rows, row, column));
}

constexpr std::string_view kClasses = "SEUROP";

// The day of station $1 between two bounds in milliseconds ($2, $3), of the view named `alias`.
std::string Day(const std::string& alias)
{
    return " " + alias + ".station = $1 AND " + alias + ".logged_at >= to_timestamp($2::bigint / 1000.0) AND " + alias
           + ".logged_at < to_timestamp($3::bigint / 1000.0)";
}

// Every station with a role or with lines in the last 30 days; the station names are read from
// the index one by one rather than from every row.
constexpr const char* kStations =
    "WITH RECURSIVE s(station) AS (SELECT min(station) FROM tallion.carcass_results"
    " UNION ALL SELECT (SELECT min(c.station) FROM tallion.carcass_results c WHERE c.station > s.station)"
    "  FROM s WHERE s.station IS NOT NULL),"
    " known(station) AS (SELECT station FROM s WHERE station IS NOT NULL AND EXISTS (SELECT 1 FROM"
    "  tallion.carcass_results c WHERE c.station = s.station AND c.logged_at >= now() - interval '30 days')"
    "  UNION SELECT station FROM tallion.stations)"
    " SELECT k.station, (extract(epoch FROM l.logged_at) * 1000)::bigint,"
    "  (extract(epoch FROM l.received_at - l.logged_at) * 1000)::bigint,"
    "  (extract(epoch FROM r.logged_at) * 1000)::bigint, r.carcass, r.class, r.lean_meat_pct, r.weight"
    " FROM known k"
    " LEFT JOIN LATERAL (SELECT logged_at, received_at FROM tallion.carcass_results c WHERE c.station = k.station"
    "  ORDER BY logged_at DESC LIMIT 1) l ON true"
    " LEFT JOIN LATERAL (SELECT logged_at, carcass, class, lean_meat_pct, weight FROM tallion.carcass_results c"
    "  WHERE c.station = k.station AND c.kind = 'result' AND c.deleted_at IS NULL"
    "  AND c.logged_at >= to_timestamp($1::bigint / 1000.0) ORDER BY logged_at DESC LIMIT 1) r ON true"
    " ORDER BY k.station";

constexpr const char* kCounts =
    "SELECT station, class, count(*), avg(lean_meat_pct)::float8, count(lean_meat_pct) FROM tallion.carcass_results"
    " WHERE logged_at >= to_timestamp($1::bigint / 1000.0) AND logged_at < to_timestamp($2::bigint / 1000.0)"
    " AND kind = 'result' AND deleted_at IS NULL GROUP BY station, class";

const std::string kLineSelect =
    "SELECT c.journal, c.seq, (extract(epoch FROM c.logged_at) * 1000)::bigint,"
    " (extract(epoch FROM c.deleted_at) * 1000)::bigint, c.kind, c.carcass,"
    " to_char(c.probe_time, 'YYYY-MM-DD HH24:MI:SS'), c.class, c.lean_meat_pct, c.fat1, c.fat2, c.meat, c.meat1,"
    " c.quality, c.weight, l.line";
// A page of lines: each found by its key.
const std::string kLineColumns = kLineSelect
                                 + " FROM tallion.carcass_results c JOIN public.result_lines l"
                                   " ON l.station = c.station AND l.journal = c.journal AND l.seq = c.seq WHERE";

PlantLine LineAt(const PGresult* rows, int r)
{
    PlantLine line;
    line.journal = *Number(rows, r, 0);
    line.seq = *Number(rows, r, 1);
    line.loggedMs = *Number(rows, r, 2);
    line.deletedMs = Number(rows, r, 3);
    line.kind = Text(rows, r, 4);
    line.carcass = Text(rows, r, 5);
    line.probeTime = Text(rows, r, 6);
    line.cls = Text(rows, r, 7);
    line.leanMeat = Text(rows, r, 8);
    line.fat1 = Text(rows, r, 9);
    line.fat2 = Text(rows, r, 10);
    line.meat = Text(rows, r, 11);
    line.meat1 = Text(rows, r, 12);
    line.quality = Text(rows, r, 13);
    line.weight = Text(rows, r, 14);
    line.line = Text(rows, r, 15);
    return line;
}

} // namespace

PlantReader::PlantReader(std::string conninfo)
    : conninfo_(std::move(conninfo))
{}

std::optional<long long> PlantReader::DownSince() const
{
    std::lock_guard lock(mutex_);
    return downSince_;
}

DatabaseResult PlantReader::Run(const std::string& sql, const std::vector<std::string>& parameters, PgResultPtr& rows)
{
    std::unique_ptr<PgConnection> connection;
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            connection = std::move(idle_.back());
            idle_.pop_back();
        }
    }
    DatabaseResult result;
    if (connection) {
        result = connection->Exec(sql, parameters, &rows);
        // A kept connection may have died with a server that has since come back: try a new one.
        if (result.fault == DatabaseFault::Unreachable)
            connection.reset();
    }
    if (!connection) {
        connection = std::make_unique<PgConnection>(conninfo_);
        result = connection->Open();
        if (result.ok())
            result = connection->Exec(sql, parameters, &rows);
    }
    std::lock_guard lock(mutex_);
    if (result.ok()) {
        downSince_.reset();
        idle_.push_back(std::move(connection)); // a faulty connection is dropped and opened afresh next time
    } else if (result.fault == DatabaseFault::Unreachable && !downSince_) {
        downSince_ = QDateTime::currentMSecsSinceEpoch();
    }
    return result;
}

DatabaseResult PlantReader::Today(const QDate& today, std::vector<PlantStationToday>& stations)
{
    stations.clear();
    PgResultPtr rows;
    DatabaseResult result = Run(kStations, {Bound(today)}, rows);
    if (!result.ok())
        return result;
    for (int r = 0; r < PQntuples(rows.get()); ++r) {
        PlantStationToday station;
        station.name = Text(rows.get(), r, 0);
        station.lastLineMs = Number(rows.get(), r, 1);
        station.lagMs = Number(rows.get(), r, 2).value_or(0);
        if (const auto lastMs = Number(rows.get(), r, 3))
            station.last = PlantCarcass{*lastMs, Text(rows.get(), r, 4), Text(rows.get(), r, 5), Text(rows.get(), r, 6),
                                        Text(rows.get(), r, 7)};
        stations.push_back(station);
    }
    result = Run(kCounts, {Bound(today), Bound(today.addDays(1))}, rows);
    if (!result.ok())
        return result;
    std::vector<double> leanSum(stations.size());
    std::vector<long long> leanCount(stations.size());
    for (int r = 0; r < PQntuples(rows.get()); ++r) {
        const std::string name = Text(rows.get(), r, 0);
        size_t s = 0;
        while (s < stations.size() && stations[s].name != name)
            ++s;
        if (s == stations.size())
            continue;
        const std::string cls = Text(rows.get(), r, 1);
        const long long count = *Number(rows.get(), r, 2);
        stations[s].carcasses += count;
        if (const size_t c = kClasses.find(cls); cls.size() == 1 && c != std::string_view::npos)
            stations[s].classCount[c] += count;
        const long long withLean = *Number(rows.get(), r, 4);
        if (withLean > 0) {
            leanSum[s] += QByteArray(PQgetvalue(rows.get(), r, 3)).toDouble() * double(withLean);
            leanCount[s] += withLean;
        }
    }
    for (size_t s = 0; s < stations.size(); ++s)
        if (leanCount[s] > 0)
            stations[s].averageLeanMeat = leanSum[s] / double(leanCount[s]);
    return {};
}

DatabaseResult PlantReader::StationKnown(const std::string& station, bool& known)
{
    PgResultPtr rows;
    const DatabaseResult result = Run("SELECT EXISTS (SELECT 1 FROM tallion.carcass_results WHERE station = $1)"
                                      " OR EXISTS (SELECT 1 FROM tallion.stations WHERE station = $1)",
                                      {station}, rows);
    known = result.ok() && std::string_view(PQgetvalue(rows.get(), 0, 0)) == "t";
    return result;
}

DatabaseResult PlantReader::DayResults(const std::string& station, const QDate& day, std::string& lines)
{
    lines.clear();
    PgResultPtr rows;
    const DatabaseResult result = Run("SELECT l.line FROM public.result_lines l WHERE l.deleted_at IS NULL AND"
                                          + Day("l") + " ORDER BY l.logged_at, l.journal, l.seq",
                                      {station, Bound(day), Bound(day.addDays(1))}, rows);
    if (!result.ok())
        return result;
    for (int r = 0; r < PQntuples(rows.get()); ++r) {
        lines += Text(rows.get(), r, 0);
        lines += "\r\n";
    }
    return {};
}

DatabaseResult PlantReader::DayLines(const std::string& station, const QDate& day, long long offset, long long limit,
                                     PlantDayLines& page)
{
    page = {};
    PgResultPtr rows;
    const std::vector<std::string> bounds{station, Bound(day), Bound(day.addDays(1))};
    DatabaseResult result = Run("SELECT count(*) FROM tallion.carcass_results c WHERE" + Day("c"), bounds, rows);
    if (!result.ok())
        return result;
    page.total = *Number(rows.get(), 0, 0);
    std::vector<std::string> parameters = bounds;
    parameters.push_back(std::to_string(limit));
    parameters.push_back(std::to_string(offset));
    result = Run(kLineColumns + Day("c")
                     + " ORDER BY c.logged_at DESC, c.journal DESC, c.seq DESC LIMIT $4::bigint OFFSET $5::bigint",
                 parameters, rows);
    if (!result.ok())
        return result;
    for (int r = 0; r < PQntuples(rows.get()); ++r)
        page.lines.push_back(LineAt(rows.get(), r));
    return {};
}

DatabaseResult PlantReader::EachDayLine(const std::string& station, const QDate& day,
                                        const std::function<void(const PlantLine&)>& each)
{
    PgResultPtr rows;
    // A whole day: both views read the day's range once and meet in a hash join, rather than
    // looking each line up by its key (three times slower on a table of months).
    const DatabaseResult result =
        Run("WITH c AS MATERIALIZED (SELECT * FROM tallion.carcass_results c WHERE" + Day("c")
                + "), l AS MATERIALIZED (SELECT l.journal, l.seq, l.line FROM public.result_lines l WHERE" + Day("l")
                + ") " + kLineSelect
                + " FROM c JOIN l ON l.journal = c.journal AND l.seq = c.seq ORDER BY c.logged_at, c.journal, c.seq",
            {station, Bound(day), Bound(day.addDays(1))}, rows);
    if (!result.ok())
        return result;
    for (int r = 0; r < PQntuples(rows.get()); ++r)
        each(LineAt(rows.get(), r));
    return {};
}
