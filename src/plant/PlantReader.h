#pragma once
// Reads the plant database for the pages, with a role that may only read its views. Connections
// are kept for the next request and opened afresh after a fault; while the server cannot be
// reached, `DownSince` says since when, and the first request that reaches it again clears it.

#include "database/PgConnection.h"

#include <QDate>

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Values as the database gives them: text in Latin-1 bytes, numbers in the database's own form.
struct PlantCarcass {
    long long loggedMs = 0;
    std::string carcass;
    std::string cls;
    std::string leanMeat; // empty: not a number
    std::string weight;   // empty: not weighed
};

struct PlantStationToday {
    std::string name;
    std::array<long long, 6> classCount{}; // S, E, U, R, O, P
    long long carcasses = 0;               // results not deleted, of any class
    std::optional<double> averageLeanMeat;
    std::optional<PlantCarcass> last;
    std::optional<long long> lastLineMs; // the newest line of any kind, any day
    long long lagMs = 0;                 // received_at - logged_at of that line
};

struct PlantLine {
    long long journal = 0;
    long long seq = 0;
    long long loggedMs = 0;
    std::optional<long long> deletedMs;
    std::string kind;
    std::string carcass, probeTime, cls, leanMeat, fat1, fat2, meat, meat1, quality, weight;
    std::string line; // Latin-1 bytes as logged
};

struct PlantDayLines {
    std::vector<PlantLine> lines;
    long long total = 0; // lines of the day, deleted ones too
};

class PlantReader {
public:
    explicit PlantReader(std::string conninfo);

    // Every call returns a fault when the database could not answer; `DownSince` then tells since when.
    DatabaseResult Today(const QDate& today, std::vector<PlantStationToday>& stations);
    DatabaseResult StationKnown(const std::string& station, bool& known);
    // The day's lines that are not deleted, each with "\r\n", for the summary and the charts.
    DatabaseResult DayResults(const std::string& station, const QDate& day, std::string& lines);
    // Newest first, `limit` from `offset`.
    DatabaseResult DayLines(const std::string& station, const QDate& day, long long offset, long long limit,
                            PlantDayLines& page);
    // Oldest first, every line of the day; `each` is called per line.
    DatabaseResult EachDayLine(const std::string& station, const QDate& day,
                               const std::function<void(const PlantLine&)>& each);

    // Milliseconds since the epoch of the first fault of the present outage; nullopt while reachable.
    std::optional<long long> DownSince() const;

private:
    DatabaseResult Run(const std::string& sql, const std::vector<std::string>& parameters, PgResultPtr& rows);

    std::string conninfo_;
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<PgConnection>> idle_;
    std::optional<long long> downSince_;
};
