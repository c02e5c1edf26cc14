#pragma once
// The statements of schema version 3: the server records which log each journal belongs to, so
// that a log can be compared with its own journals' rows (a damaged journal, `tallion db resync`);
// and every change to the lines is announced on a channel the plant page listens to.

#include <string>
#include <vector>

std::vector<std::string> JournalSchemaStatements();
