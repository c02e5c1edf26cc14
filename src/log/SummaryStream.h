#pragma once
// The class summary of a log file read a chunk at a time: memory stays the same however large
// the file, and only a regular file is read (ReadLogLines).

#include "log/ClassSummary.h"

#include <optional>
#include <string>

// The counts of the log at `path`, its header line passed over; nullopt with `error` set when it
// cannot be read. Lines may end in CR LF, LF or CR alone. The first line is the header unless it
// is empty or a record (every record line begins with a TAB): then `headerMissing` is set. An
// empty file (a new log, whose header comes with its first record) misses nothing.
std::optional<ClassSummaryTally> StreamClassSummaryTally(const std::string& path, SummaryMode mode, std::string* error,
                                                         bool* headerMissing = nullptr);

// The rows and the total line for the log at `path`; nullopt with `error` set when it cannot be
// read.
std::optional<std::string> StreamClassSummary(const std::string& path, SummaryMode mode, std::string* error,
                                              bool* headerMissing = nullptr);
