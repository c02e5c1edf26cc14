#pragma once
// Where the programs under test are built and where the reference files are. The folders are
// compiled into TestPaths.cpp alone, so that every other test file is the same in any checkout
// and a compiler cache filled by one checkout serves another.

#include <QString>

// A program of the build folder (tallion, tallion-plant, …).
QString BuiltProgram(const char* name);
// The folder of reference files, tests/data, and a file in it.
QString TestDataFolder();
QString TestDataFile(const QString& name);
// A file of the checkout, named from its top folder.
QString SourceFile(const char* relative);
