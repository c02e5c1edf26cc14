#pragma once
// Reading the lines of a stored log back: their values, their kind, and the display line of a
// template, in one pass over each line so that logs of a million lines read quickly.

#include "log/LogColumns.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Every column of a stored line.
constexpr int kStoredColumns = LogColumn::Count;
using StoredFields = std::array<std::string_view, kStoredColumns>;

// Values 0..39 of a stored line as LogField reads them: a value that no TAB closes is empty.
void SplitStoredLine(std::string_view line, StoredFields& fields);

// Appends the display line of template 1..10 built from `fields`, ending in CR LF (only CR LF
// outside 1..10). Same text as ReadDisplayLine.
void AppendDisplayLine(std::string& out, const StoredFields& fields, int templateNumber);

// What a stored line is, by its first character and its first value.
enum class StoredLineKind : std::uint8_t {
    Empty,   // CR LF only: an empty line in the pane, an empty grid row
    Result,  // TAB first: a result or alert line, shown through the template
    Cancel,  // TAB first, and its time part reads "Cancel": one red cell with the whole text
    Message, // anything else: a line of the Error column, its first value in red
};
StoredLineKind KindOfStoredLine(std::string_view line);

// The value a Message line shows: the line up to its first TAB (without its line end when it has
// no TAB).
std::string_view MessageOfStoredLine(std::string_view line);

// `text` without the CR and LF characters that end it.
std::string_view WithoutLineEndView(std::string_view text);

// The pieces of `text` between `separator`s, calling `piece(index, view)` for each in order;
// stops early when `piece` returns false.
template <class PieceFn>
void ForEachPiece(std::string_view text, char separator, PieceFn&& piece)
{
    size_t start = 0;
    for (int index = 0;; ++index) {
        const size_t found = text.find(separator, start);
        if (found == std::string_view::npos) {
            piece(index, text.substr(start));
            return;
        }
        if (!piece(index, text.substr(start, found - start)))
            return;
        start = found + 1;
    }
}
