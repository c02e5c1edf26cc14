#pragma once
// The program's name: the title of its message boxes, and the name its settings and data folders
// are kept under.

#include <QString>

inline const QString kAppTitle = QStringLiteral("Tallion");
