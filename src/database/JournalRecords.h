#pragma once
// The outbox journal's text format: one record a line, a letter and its numbers separated by
// spaces, a logged line written escaped at the end of its record.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

inline constexpr const char* kJournalHeader = "TALLION-JOURNAL 1 ";
inline constexpr const char* kCursorHeader = "TALLION-CURSOR ";

// Reads the number at `text[at]` and moves past it and one space.
bool Number(const std::string& text, size_t& at, std::int64_t& value);

// A line is one record: a line end or a backslash in it is written as a backslash sequence.
std::string Escaped(const std::string& line);
std::string Unescaped(const std::string& text);

// The numbers, each after a space.
std::string Join(std::initializer_list<std::int64_t> numbers);

// A deletion of the line numbered `seq` by `journal` (0: the journal it is written to), the log
// `size` bytes long after it; the map's entries are placed by the Q record that follows.
std::string DeletionRecord(std::int64_t number, std::int64_t ms, std::int64_t size, std::int64_t seq,
                           std::int64_t journal);
