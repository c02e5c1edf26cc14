#pragma once
// The station's texts, keyed by number, so that all of them can be replaced at once.

#include <QString>
#include <string>

// Text of entry `id` as bytes (one byte per character); empty for an id without an entry.
std::string ResourceString(int id);
// True when the table holds an entry for `id`.
bool HasResourceString(int id);
// The same entry converted for a widget (Latin-1).
QString ResourceText(int id);
