#pragma once
// Cutting a grid row's cells from the text it stands for: a stored log line (through the
// template's display line) or a text shown live. Rows are cut only when they are shown.

#include <QStringList>
#include <string_view>

// A loaded line's display line: time and date share the first piece, every further piece (the
// last one too) fills the next column; a cancel keeps its whole text in the first cell, marked
// (bit 0 of `red`). `cells` holds one entry per grid column.
void CellsOfDisplayLine(std::string_view display, QStringList& cells, unsigned& red);

// A text shown live: a display line when it has more than three pieces (its last piece, the
// comment and the line end, is not placed), otherwise a message in the first cell, marked.
void CellsOfShownText(std::string_view text, QStringList& cells, unsigned& red);

// `text` into cell `column` when the grid has it and the text is not empty.
void PutCell(QStringList& cells, int column, std::string_view text);
