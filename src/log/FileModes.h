#pragma once
// The modes of files the station writes in place of others, without ever changing the process
// umask (which would race with the threads that create files meanwhile).

#include <string>
#include <sys/types.h>

// The umask the process started with, read once before any thread runs.
mode_t StartUpUmask();

// The mode a file replacing `path` gets: the old file's (behind a link, the linked file's), or
// 0666 less the umask for a new one, as a plain open(2) would give it.
mode_t ModeForReplacement(const std::string& path);

// The file a symbolic link at `path` points to (`path` itself when it is no link), so that a
// rewrite changes that file and leaves the link in place.
std::string LinkTarget(const std::string& path);
