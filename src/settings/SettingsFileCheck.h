#pragma once
// Whether a file can serve as the station's settings store. The station rewrites its settings
// file whenever a setting changes, so a file that is not a settings file (a result log named by
// mistake, random bytes) must be refused before anything is written to it.

#include <QString>
#include <optional>

// Why `path` cannot be the settings file; nothing when it can. A missing file is fine (it is
// made with the first setting) as long as its folder exists.
std::optional<QString> SettingsFileProblem(const QString& path);
