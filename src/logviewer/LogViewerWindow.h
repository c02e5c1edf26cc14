#pragma once
// What the log viewer needs of the window it shows in: the status bar, the place of the views
// and the template's layout. The main window gives one; tests give a recording one.

#include "layout/LayoutGeometry.h"

#include <QString>

class LogChangeObserver;
class QWidget;

class LogViewerWindow {
public:
    virtual ~LogViewerWindow() = default;
    // Status bar panels 1..7.
    virtual void SetStatusPanel(int panel, const QString& text) = 0;
    virtual void SetStatusPanelTip(int panel, const QString& tip) = 0;
    virtual QString StatusPanel(int panel) const = 0;
    // Panel 5: the current log file.
    virtual void ShowLogFilePath() = 0;
    // Another window of the station: closed with the main window.
    virtual void RegisterStationWindow(QWidget* window) = 0;
    // Ticks the current template's entry, lays the grid out for it and shows its title.
    virtual void ApplyCurrentTemplate() = 0;
    // Places the grid and the pane (the pane shows while the viewer wants it).
    virtual void PlaceViews(LayoutTrigger trigger) = 0;
    // Find and Print follow the link and view mode.
    virtual void RefreshFindPrint() = 0;
    // Who hears of each change of the log file (the plant database's journal); may be nullptr.
    virtual LogChangeObserver* LogObserver() = 0;
};
