#pragma once
// `tallion summary LOGFILE [--with-weight]`: the class summary of a log file on standard output,
// the same text the station shows in its pane, for end-of-shift scripts. Needs no display.

#include <QStringList>

#include <cstdio>
#include <string>
#include <vector>

// `arguments`: the words after the program name, "summary" first, as the bytes of argv (a file
// name is opened as given, whatever its encoding). Returns the exit status: 0 printed, 1 the
// file cannot be read (or is not a regular file), 2 the command line is wrong.
int RunSummaryCommand(const std::vector<std::string>& arguments, FILE* out, FILE* err);
// The same with the words as text; a file name reaches the file system through Qt's file-name
// encoding.
int RunSummaryCommand(const QStringList& arguments, FILE* out, FILE* err);

// True when the command line asks for the summary command (its first word is "summary").
bool IsSummaryCommand(int argc, char** argv);
