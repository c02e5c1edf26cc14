#pragma once
// Where the Help menu finds the user manual, Manual.pdf. No widgets here.

#include <QString>

// The installed manual, relative to the folder of the installed program (<prefix>/bin).
inline constexpr char kInstalledManualFolder[] = "../share/tallion";

// The first Manual.pdf that exists: in the working folder (given back as the plain file name,
// as the station always opened it), beside the program (a developer's build folder), then the
// installed copy. When there is none, the plain file name, so the operator hears it is missing.
QString UserManualPath(const QString& workingFolder, const QString& programFolder);
