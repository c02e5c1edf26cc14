#pragma once
// Writing result lines into the terminal pane and the result grid.

#include <string>
#include <vector>

class QTableView;
class TerminalPane;
class ResultGridModel;

// The two views every result line goes to, owned by the main window.
struct ResultViews {
    TerminalPane* terminal = nullptr;
    ResultGridModel* grid = nullptr;
    QTableView* gridView = nullptr;
};

// The terminal pane never holds more than this many characters; the older half is dropped.
constexpr int kTerminalCap = 50000;

// Appends `text` (a display line or a message, normally ending in CR) to the terminal pane in
// black (measurement) or red, and one row to the grid; scrolls the grid to the new row.
void AppendToResultView(ResultViews& views, const std::string& text, bool isMeasurement);

// True when the grid can scroll vertically.
bool GridHasScrollBar(const QTableView* gridView);

// A message row (its first cell marked red) reads across the whole row; the text stays in
// column 0. Re-lays every message row of the grid (after a load or a template change).
void SpanMessageRows(ResultViews& views);

// Makes the last row the top visible row of the grid.
void ScrollGridToLastRow(ResultViews& views);

// `text` cut at every `separator`; a text without one gives itself as the only piece.
std::vector<std::string> SplitResultText(const std::string& text, const std::string& separator);

// `text` without the CR and LF characters that end it (grid cells never show line ends).
std::string WithoutLineEnd(const std::string& text);
