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

    // `lines` are about to be appended to the log at `path`, the first of them at byte `offset`.
    // Called under the lock before the bytes are written, so that a crash between the log's sync
    // and LinesAppended leaves a trace that can be checked against the log afterwards. A failed
    // write is not followed by LinesAppended.
    virtual void LinesAppending(const std::string& path, long long offset, const std::vector<std::string>& lines)
    {
        (void)path;
        (void)offset;
        (void)lines;
    }

    // `lines` (each without its line end; never the header line) were appended to the log at `path`
    // and synced. Called before the lock is released.
    virtual void LinesAppended(const std::string& path, const std::vector<std::string>& lines) = 0;

    // Line `lineNumber` of the log at `path` (counted from 1, the header line being 1), whose text
    // was `line` (without its line end), was deleted and the file replaced. Called before the lock
    // is released.
    virtual void LineDeleted(const std::string& path, size_t lineNumber, const std::string& line) = 0;
};
