#pragma once
// The class summary of a result log: carcasses counted by class letter (S, E, U, R, O, P) and,
// with weighing, their weights, lean meat yield and average lean meat %, as fixed-column text.

#include <QString>

#include <array>
#include <optional>

#include <string>
#include <string_view>

// Weighed carcasses (a weight source is in use) or unweighed ones only.
enum class SummaryMode { WithoutWeight, WithWeight };

// Whether a summary of `mode` counts a line by its weight value: with weight the weighed
// carcasses, without it the unweighed ones. The line's weight (0 when unweighed) when counted.
std::optional<double> CountedWeight(SummaryMode mode, std::string_view weightValue);

// Counts result lines as they come, so that a log can be summed a piece at a time (a large file
// read in chunks, lines from a database) without holding it whole.
class ClassSummaryTally {
public:
    explicit ClassSummaryTally(SummaryMode mode);
    // `lines`: whole lines, each with its line end (the last one may lack it); lines that are not
    // result lines (the header, notes) are passed over.
    void AddLines(std::string_view lines);
    // The rows and the total line, as BuildClassSummaryText gives them.
    std::string Body() const;
    // Result lines of the summary's kind left out for want of a lean meat % (empty, "__._", 0).
    long long LeftOut() const { return leftOut_; }

private:
    struct Totals {
        long long count = 0;
        double weight = 0;
        double yield = 0;
    };
    SummaryMode mode_;
    std::array<Totals, 6> totals_{}; // S, E, U, R, O, P
    long long leftOut_ = 0;
};

// What the summary tells under its heading, beside the counts: lines it left out and carcasses
// not yet finished. Nothing when both are 0.
struct SummaryNotes {
    long long leftOut = 0;
    int waiting = 0;
    std::string Text() const;
};

// The rows and the total line for the log text `logText` (the whole file, header line first).
std::string BuildClassSummaryText(std::string_view logText, SummaryMode mode);

// The same for the file at `path`; empty with `error` set when the file cannot be read.
// `leftOut`, when given, gets the number of lines left out for want of a lean meat %.
std::string BuildClassSummary(const std::string& path, SummaryMode mode, QString* error, long long* leftOut = nullptr);

// The whole summary as the terminal pane shows it: the path, the asterisk lines, the notes, the
// headings and `body` (BuildClassSummary's rows and total line).
std::string ClassSummaryText(const std::string& path, std::string_view body, SummaryMode mode,
                             const SummaryNotes& notes = {});

// A value cell: one decimal, cut (not rounded), right-aligned in 11 characters; a longer text
// is given whole, its cell as wide as the text.
std::string FormatSummaryValue(double number);
// A count cell: right-aligned in 11 characters, or the whole text when it is longer.
std::string FormatSummaryCount(long long count);
