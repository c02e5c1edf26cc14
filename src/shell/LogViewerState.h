#pragma once
// What the main window keeps for the log viewer while the program runs: the pane's text from
// before a log was viewed, the find state, and the find dialog.

#include "log/TextFind.h"

#include <QPointer>
#include <string>

class FrmFind;

struct LogViewerState {
    std::string savedTerminalText; // the pane's text from before viewing started
    FindState find;
    QPointer<FrmFind> frmFind;
};
