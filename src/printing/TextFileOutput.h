#pragma once
// A text file the operator names (the grid or a chart printed to a file): its name from the
// log's, and writing it so that a failure never leaves half a file where the operator pointed.

#include <string>

// The log's name (after its last '/') up to and including its last '.', then "txt":
// "/data/shift2.dif" gives "shift2.txt". A name without a '.' gets ".txt" added.
std::string TextFileTitle(const std::string& logFilePath);
// The name proposed by the folder button's chooser: up to and including the first '.'.
std::string ProposedTextFileName(const std::string& logFilePath);
// `folder` and `name` joined with exactly one '/' between them (an empty folder gives `name`).
std::string JoinFolderAndName(const std::string& folder, const std::string& name);

// Creates or replaces the file at `path` with `bytes`: written to a temporary file in the same
// folder, synced, renamed over, and the folder synced. On failure the old file (if any) is left
// as it was, `error` says why, and false is returned.
bool WriteTextFileDurably(const std::string& path, const std::string& bytes, std::string* error);
