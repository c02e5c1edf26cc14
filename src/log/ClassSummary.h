#pragma once
// The class summary of a result log: carcasses counted by class letter (S, E, U, R, O, P) and,
// with weighing, their weights, lean meat yield and average lean meat %, as fixed-column text.

#include <QString>

#include <string>
#include <string_view>

// Weighed carcasses (a weight source is in use) or unweighed ones only.
enum class SummaryMode { WithoutWeight, WithWeight };

// The rows and the total line for the log text `logText` (the whole file, header line first).
std::string BuildClassSummaryText(std::string_view logText, SummaryMode mode);

// The same for the file at `path`; empty with `error` set when the file cannot be read.
std::string BuildClassSummary(const std::string& path, SummaryMode mode, QString* error);

// The whole summary as the terminal pane shows it: the path, the asterisk lines, the headings
// and `body` (BuildClassSummary's rows and total line).
std::string ClassSummaryText(const std::string& path, std::string_view body, SummaryMode mode);

// A value cell: one decimal, cut (not rounded), right-aligned in 11 characters; empty when the
// value's text is not 3 to 7 characters long (100000 and more).
std::string FormatSummaryValue(double number);
// A count cell: right-aligned in 11 characters; empty for counts of 10000 and more.
std::string FormatSummaryCount(long long count);
