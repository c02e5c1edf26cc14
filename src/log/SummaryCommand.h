#pragma once
// `tallion summary LOGFILE [--with-weight] [--chart FILE]`: the class summary of a log file on
// standard output, the same text the station shows in its pane, for end-of-shift scripts; with
// --chart also its charts as a picture. Needs no display.

#include "log/ClassSummary.h"

#include <QStringList>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Draws the charts for --chart (this library draws nothing; the program hands the drawing in).
struct SummaryChartWriter {
    // False for a file name whose picture format is not known: refused before anything is read.
    std::function<bool(const std::string& chartPath)> knowsFormat;
    // Returns the exit status (0 written).
    std::function<int(const std::string& logPath, SummaryMode mode, const std::string& chartPath, FILE* err)> write;
};

// `arguments`: the words after the program name, "summary" first, as the bytes of argv (a file
// name is opened as given, whatever its encoding). Returns the exit status: 0 printed, 1 the
// file cannot be read (or is not a regular file, has no header line, or the chart not written),
// 2 the command line is wrong. Lines may end in CR LF, LF or CR alone.
int RunSummaryCommand(const std::vector<std::string>& arguments, FILE* out, FILE* err,
                      const SummaryChartWriter& charts = {});
// The same with the words as text; a file name reaches the file system through Qt's file-name
// encoding.
int RunSummaryCommand(const QStringList& arguments, FILE* out, FILE* err, const SummaryChartWriter& charts = {});

// True when the command line asks for the summary command (its first word is "summary").
bool IsSummaryCommand(int argc, char** argv);
