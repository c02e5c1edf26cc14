#pragma once
// Writing a file the operator names without ever damaging it: the new text goes to a temporary
// file in the same folder, is synced, and only then renamed over the old one; the folder is
// synced after. A failure at any step leaves the old file as it was and no temporary behind.

#include <optional>
#include <string>

// Whether `path` names an existing file or folder; nullopt with `error` set when that cannot be
// told (a folder on the way that cannot be searched, for example).
std::optional<bool> PathExists(const std::string& path, std::string& error);

// Replaces (or creates) `path` with exactly `bytes`. Returns the platform's description of the
// failure, or nothing on success.
std::optional<std::string> ReplaceFile(const std::string& path, const std::string& bytes);
