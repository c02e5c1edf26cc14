#pragma once
// Small files that must survive a crash or a power cut whole: written to a temporary file
// beside them, synced, renamed over the old one, and the folder synced.

#include <string>

// 0, or -errno of the step that failed (the old file is then untouched).
int ReplaceFileDurably(const std::string& path, const std::string& bytes);

// The whole file; false when it cannot be read (missing included).
bool ReadWholeFile(const std::string& path, std::string& bytes);
