#pragma once
// What the log viewer keeps while the program runs: the log viewed and the pane's text from
// before it was viewed, the find state, the find dialog, and whether the summary shows with
// its counts.

#include "log/SummaryFollower.h"
#include "log/TextFind.h"

#include <QPointer>
#include <string>

class FindWindow;

struct LogViewerState {
    std::string viewedLogFile;     // the log shown in view mode; empty: none
    std::string savedTerminalText; // the pane's text from before viewing started
    FindState find;
    QPointer<FindWindow> findWindow;
    bool summaryShown = false; // the class summary holds the pane
    SummaryFollower summary;   // the summary's counts while it follows live records
};
