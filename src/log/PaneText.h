#pragma once
// What the terminal pane shows of a log file: each record line as its display line (results),
// its first value (messages) or an empty line, in colour runs. The pane holds a bounded number
// of characters, so only the newest lines that fit are built, however long the log is.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class PaneColour { Black, Red, Blue };

struct PaneRun {
    std::string text;
    PaneColour colour;
};

struct PaneTextOptions {
    int templateNumber = 3;
    PaneColour resultColour = PaneColour::Black; // blue while another log is viewed
    bool showMessages = true;                    // false: message lines are left out
    size_t cap = 50000;                          // most characters the pane takes
};

struct PaneText {
    std::vector<PaneRun> runs;
    size_t linesLeftOut = 0; // older record lines that did not fit
};

// The pane text of the record lines of `logText` (header line first). Lines are taken whole,
// newest first, while they fit in `cap`; the newest line is always shown (its end only, when it
// is longer than the pane holds).
PaneText LogPaneText(std::string_view logText, const PaneTextOptions& options);

// The saved pane text put back line by line: a line starting with a digit (a result) in black,
// any other in red.
std::vector<PaneRun> RestoredPaneRuns(std::string_view savedText);
