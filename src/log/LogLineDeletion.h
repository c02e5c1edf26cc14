#pragma once
// Removing one record line from a log file, keeping every other byte of the file as it was. The
// file is rewritten through a temporary file in its own folder (written, synced, renamed over
// it, the folder synced), so that a failure never leaves a damaged log. The whole change holds
// the log's lock, so a record another station appends meanwhile is never lost; a log reached
// through a symbolic link is rewritten where the link points, with its mode and owner.

#include "log/LogChangeObserver.h"
#include "log/LogFileSystem.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

enum class LineDeletion {
    Deleted,       // the line is gone from the file
    NotIdentified, // the file no longer holds that line where it was: nothing changed
    Failed,        // the file could not be read or rewritten: nothing changed
};

struct LineDeletionResult {
    LineDeletion outcome = LineDeletion::Failed;
    // The platform's text of a failure; with Deleted, a folder sync that failed after the rename
    // (the line is gone, but the change may not survive a power cut).
    std::string error;
};

// Deletes line `lineNumber` (counted from 1; line 1 is the header line and never deleted) of the
// file at `path`, provided `isTheLine` recognises the line found there (given with its line end).
// `observer` is told of the deletion before the lock is released.
LineDeletionResult DeleteLogLine(const std::string& path, size_t lineNumber,
                                 const std::function<bool(std::string_view)>& isTheLine,
                                 LogFileSystem& fileSystem = PosixLogFileSystem(),
                                 LogChangeObserver* observer = nullptr);
