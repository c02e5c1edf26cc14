#pragma once
// The pages' HTML: the plant today, a station's day, and the plain pages for a fault.

#include "plant/PlantReader.h"

#include <QDate>

#include <string>
#include <vector>

// Quiet for longer than these (minutes) shows amber, then red.
constexpr long long kQuietAmberMinutes = 10;
constexpr long long kQuietRedMinutes = 60;
// A lag from the station to the database shown above this (seconds).
constexpr long long kLagShownSeconds = 10;
constexpr long long kLinesPerPage = 100;

// `generation`: the server's count of changes when the page is made (its updates start from there).
std::string OverviewPage(const std::vector<PlantStationToday>& stations, const QDate& today, long long nowMs,
                         unsigned long long generation);

struct StationDay {
    std::string station; // Latin-1
    QDate day;
    std::string summary; // the class summary's text
    PlantDayLines lines;
    long long page = 0;
    bool withWeight = false;
    std::string chartsVersion; // changes with the lines the charts count, so that a pushed page draws them again
    unsigned long long generation = 0;
};
std::string StationPage(const StationDay& day);

// A page that says one thing: a wrong address, a database away.
std::string MessagePage(const std::string& title, const std::string& message);
// "The plant database is not reachable since 07:12:03 ..."
std::string OutagePage(long long sinceMs, const std::string& reason, unsigned long long generation);
