#pragma once
// A log compared with what the plant database holds of it, line by line and by content: which of
// its lines the server holds as this station's, which as another station's, which no one's (they
// are sent as this station's), and which of this station's rows the log no longer has (they are
// marked deleted). Used when the journal that would have told it is damaged or lost, and by
// `tallion db resync`.

#include "database/LogLineMap.h"

#include <cstdint>
#include <string>
#include <vector>

// A row the server holds for a log, of any station's journal registered for it; its line by its
// hash (LogLineMap::HashOf), as a million of them are compared at once.
struct ServerLine {
    std::string station;
    std::int64_t journal = 0;
    std::int64_t seq = 0;
    std::uint64_t hash = 0;
    bool deleted = false;
};

// A line of the open journal that the server may not have yet: it counts as held.
struct WaitingLine {
    JournalRow row;
    std::uint64_t hash = 0;
};

struct Reconciliation {
    std::vector<JournalRow> rows; // each log line's row of this station's; {0, 0}: none
    std::vector<size_t> missing;  // the log's lines no row holds, by index
    std::vector<JournalRow> gone; // this station's rows, not deleted, of lines the log no longer has
};

// `logLines`: the hashes of the log's record lines. `server`: in the order the lines were logged.
// Identical lines are paired in order.
Reconciliation ReconcileLog(const std::vector<std::uint64_t>& logLines, const std::vector<ServerLine>& server,
                            const std::string& station, const std::vector<WaitingLine>& waiting);

// The log's record lines (LF-ended, without CR LF; not the header) up to byte `size` whose indexes
// are in `wanted` (ascending). False when the log cannot be read.
bool ReadRecordLines(const std::string& logPath, long long size, const std::vector<size_t>& wanted,
                     std::vector<std::string>& lines);
