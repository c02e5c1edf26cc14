#pragma once
// One writer per outbox journal: a lock file held (flock) while a station runs on a log. The
// process's own journals share it (one drained on the side, a test's restarted one); only
// another process is kept out.

#include <string>

// The descriptor holding `path`'s lock; -1, with `busy` set when another process holds it.
int TakeJournalLock(const std::string& path, bool& busy);
// Lets go of one use of `path`'s lock; the last use closes it.
void ReleaseJournalLock(const std::string& path);
