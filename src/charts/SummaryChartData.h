#pragma once
// What the summary's charts show, counted from the log's lines: carcasses per class (S, E, U, R,
// O, P), their average weight when weighed, and how lean meat % spreads in 1 % steps. The same
// lines are counted as in the class summary's text, so the pictures never disagree with it.

#include "log/ClassSummary.h"

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <string_view>

constexpr std::string_view kChartClasses = "SEUROP";

// Lean meat % bins: "<30", then one per percent from 30 up to 74 (the last one holds 75.0 too),
// then ">75".
constexpr int kLeanMeatLow = 30;
constexpr int kLeanMeatHigh = 75;
constexpr int kLeanMeatBins = kLeanMeatHigh - kLeanMeatLow + 2;

// The bin of a lean meat %.
int LeanMeatBin(double percent);
// "<30", "30" .. "74", ">75".
std::string LeanMeatBinLabel(int bin);

struct SummaryChartData {
    SummaryMode mode = SummaryMode::WithoutWeight;
    std::array<long long, 6> classCount{};
    std::array<double, 6> classWeight{}; // kg, summed; only with weight
    std::array<long long, kLeanMeatBins> leanMeat{};
    // Records of the summary's kind with a lean meat % left out: class not one of the six.
    long long withoutClass = 0;
    // Records of the summary's kind left out of every chart: no lean meat % (empty, "__._", 0).
    long long withoutLeanMeat = 0;
    // Where the lines come from (the log's file name) and the first and last day of the counted
    // ones ("dd-mm-yyyy" as the log has them; empty when none was counted).
    QString source{};
    std::string firstDay{}, lastDay{};

    long long Counted() const;
    // "shift2.dif, 14-03-2024 to 15-03-2024": what every picture of the charts is labelled with.
    QString Caption() const;
    // 0 for a class without carcasses.
    double AverageWeight(size_t classIndex) const;
};

// Counts lines as they come: a log of a million records is read in pieces, never whole.
class SummaryChartTally {
public:
    explicit SummaryChartTally(SummaryMode mode);
    // Goes on counting from `counted` (records finished since the log was read).
    explicit SummaryChartTally(const SummaryChartData& counted);
    // `lines`: whole lines, each with its line end (the last may lack it); the header and lines
    // that are not records (cancels, probe errors) are passed over.
    void AddLines(std::string_view lines);
    const SummaryChartData& Data() const { return data_; }

private:
    SummaryChartData data_;
};

// The chart data of a whole log text (header line first).
SummaryChartData SummaryChartDataOfText(std::string_view logText, SummaryMode mode);
// The same for the file at `path` (bytes as the file system takes them), read a piece at a time;
// nullopt with `error` set when it cannot be read.
std::optional<SummaryChartData> ReadSummaryChartData(const std::string& path, SummaryMode mode, QString* error);
