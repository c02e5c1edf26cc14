#pragma once
// Printing the result grid to a text file: the file's name from the log's, the text itself, and
// writing it so that a failure never leaves half a file where the operator pointed.

#include <string>

class ResultGridModel;

// The log's name (after its last '/') up to and including its last '.', then "txt":
// "/data/shift2.dif" gives "shift2.txt". A name without a '.' gets ".txt" added.
std::string TextFileTitle(const std::string& logFilePath);
// The name proposed by the folder button's chooser: up to and including the first '.'.
std::string ProposedTextFileName(const std::string& logFilePath);
// `folder` and `name` joined with exactly one '/' between them (an empty folder gives `name`).
std::string JoinFolderAndName(const std::string& folder, const std::string& name);

// Every grid row from the titles (row 0) on: each cell's text followed by one space, the row
// ended by CR LF; then `summaryText` and CR LF when it is not empty. Latin-1 bytes.
std::string GridAsText(const ResultGridModel& grid, const std::string& summaryText);

// Creates or replaces the file at `path` with `bytes`: written to a temporary file in the same
// folder, synced, renamed over, and the folder synced. On failure the old file (if any) is left
// as it was, `error` says why, and false is returned.
bool WriteTextFileDurably(const std::string& path, const std::string& bytes, std::string* error);
