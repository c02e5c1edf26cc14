#pragma once
// What the log viewer keeps while the program runs: the pane's text from
// before a log was viewed, the find state, the find dialog
// and the counts of the summary shown.

#include "log/SummaryFollower.h"
#include "log/TextFind.h"

#include <QPointer>
#include <string>

class FindWindow;

struct LogViewerState {
    std::string savedTerminalText; // the pane's text from before viewing started
    FindState find;
    QPointer<FindWindow> frmFind;
    SummaryFollower summary; // the summary's counts while it follows live records
};
