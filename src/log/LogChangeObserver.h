#pragma once
// Told of every change this station makes to its log file while the change still holds the log's
// lock, so that whatever keeps a copy of the log elsewhere (the plant database's outbox) sees the
// changes in exactly the file's order, and none twice.

#include <cstddef>
#include <string>
#include <vector>

class LogChangeObserver {
public:
    virtual ~LogChangeObserver() = default;

    // `lines` (each without its line end; never the header line) were appended to the log at `path`
    // and synced. Called before the lock is released.
    virtual void LinesAppended(const std::string& path, const std::vector<std::string>& lines) = 0;

    // Line `lineNumber` of the log at `path` (counted from 1, the header line being 1), whose text
    // was `line` (without its line end), was deleted and the file replaced. Called before the lock
    // is released.
    virtual void LineDeleted(const std::string& path, size_t lineNumber, const std::string& line) = 0;
};
