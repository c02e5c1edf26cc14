#pragma once
// Laying the grid out for a display template and loading a log file back into the views.

#include "log/PaneText.h"
#include "logviews/ResultView.h"

#include <QColor>

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

// The title string of template 1..10 ("Time,Date,Carcass#,..."); empty outside 1..10.
std::string TemplateTitleString(int templateNumber);

// Sets the grid's columns (titles, widths, alignment) for the template. Returns the print header
// line: each title trimmed and followed by three spaces.
std::string ApplyTemplate(ResultViews& views, int templateNumber);

// Fills the terminal pane and the grid from the log file at `path`, each stored line turned
// back into a display line of the template. The grid takes every line; the pane, which holds at
// most kTerminalCap characters, the newest lines. Returns the error text when the file cannot be
// read (the views are left as they were).
std::optional<QString> LoadLogIntoView(ResultViews& views, const std::string& path, int templateNumber);

// Replaces the pane's text by `runs`, caret at the end.
void ShowPaneRuns(TerminalPane& pane, const std::vector<PaneRun>& runs);
QColor QtColour(PaneColour colour);
