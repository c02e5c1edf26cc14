#pragma once
// `tallion summary LOGFILE [--with-weight]`: the class summary of a log file on standard output,
// the same text the station shows in its pane, for end-of-shift scripts. Needs no display.

#include <QStringList>

#include <cstdio>

// `arguments`: the words after the program name, "summary" first. Returns the exit status:
// 0 printed, 1 the file cannot be read, 2 the command line is wrong.
int RunSummaryCommand(const QStringList& arguments, FILE* out, FILE* err);

// True when the command line asks for the summary command (its first word is "summary").
bool IsSummaryCommand(int argc, char** argv);
