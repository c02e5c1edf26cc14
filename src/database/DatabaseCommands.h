#pragma once
// The plant database from the command line, without a display:
//   tallion db init --connection CONNINFO
//   tallion db add-station --connection CONNINFO --station NAME --role ROLE
//   tallion summary --db CONNINFO --station NAME [--date YYYY-MM-DD] [--with-weight]

#include <QStringList>

#include <cstdio>

// True when the first word after the program name is "db".
bool IsDbCommand(int argc, char** argv);
// `arguments`: the words after the program name, "db" first. 0 done, 1 the server refused or
// cannot be reached, 2 the command line is wrong.
int RunDbCommand(const QStringList& arguments, FILE* out, FILE* err);

// True when a summary command (its words after the program name) reads the database.
bool IsDbSummaryCommand(const QStringList& arguments);
// The class summary of a station's lines in the database that are not deleted; exit status as
// RunDbCommand.
int RunDbSummaryCommand(const QStringList& arguments, FILE* out, FILE* err);
