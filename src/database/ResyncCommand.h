#pragma once
// `tallion db resync --connection CONNINFO --station NAME LOG`: compares the log with what the
// plant database holds of it for the station (after a server restored from a backup, say), sends
// what the server lacks and marks what the log no longer has.

#include <QStringList>

#include <cstdio>

// `arguments` from "resync" on. Exit code: 0 done, 1 failed, 2 wrong arguments.
int RunResyncCommand(const QStringList& arguments, FILE* out, FILE* err);
