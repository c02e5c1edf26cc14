#pragma once
// What the station's parts need of the main window itself: its status bar and its list of
// windows. The main window implements it; tests give a recording one.

#include <QString>

class QWidget;

class StationWindowAccess {
public:
    virtual ~StationWindowAccess() = default;
    // Status bar panels 1..7.
    virtual void SetStatusPanel(int panel, const QString& text) = 0;
    // Panel 5, after the log file or the number of records waiting for it changed.
    virtual void ShowLogFilePath() = 0;
    // Another window of the station: closed with the main window, last opened first.
    virtual void RegisterStationWindow(QWidget* window) = 0;
    // A log file was chosen: the class summary no longer shows (the views hold the new log).
    virtual void LeaveSummaryMode() = 0;
};
