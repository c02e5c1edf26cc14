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

// Makes the last row the top visible row of the grid.
void ScrollGridToLastRow(ResultViews& views);

// `text` cut at every `separator`; a text without one gives itself as the only piece.
std::vector<std::string> SplitResultText(const std::string& text, const std::string& separator);

// `text` without the CR and LF characters that end it (grid cells never show line ends).
std::string WithoutLineEnd(const std::string& text);
