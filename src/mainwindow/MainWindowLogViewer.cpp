// The main window gives the log viewer (src/logviewer) its grid, pane and toolbar buttons, and
// keeps the grid's height in whole rows.

#include "mainwindow/MainWindow.h"

#include "database/StationDatabase.h"
#include "logviewer/LogViewer.h"

#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

namespace {

// The main window as the log viewer sees it.
class MainWindowForLogViewer : public LogViewerWindow {
public:
    explicit MainWindowForLogViewer(MainWindow& window)
        : window_(window)
    {}
    void SetStatusPanel(int panel, const QString& text) override { window_.SetStatusPanel(panel, text); }
    void SetStatusPanelTip(int panel, const QString& tip) override { window_.SetStatusPanelTip(panel, tip); }
    QString StatusPanel(int panel) const override { return window_.StatusPanel(panel); }
    void ShowLogFilePath() override { window_.ShowLogFilePath(); }
    void RegisterStationWindow(QWidget* window) override { window_.RegisterStationWindow(window); }
    void ApplyCurrentTemplate() override { window_.ApplyCurrentTemplate(); }
    void PlaceViews(LayoutTrigger trigger) override { window_.PlaceViews(trigger); }
    void RefreshFindPrint() override { window_.RefreshFindPrint(); }
    LogChangeObserver* LogObserver() override { return window_.database() ? window_.database()->Observer() : nullptr; }

private:
    MainWindow& window_;
};

} // namespace

void MainWindow::WireLogViewerMenus()
{
    const LogViewer::Controls controls{Control<QToolButton>("Pause"), OpenLogFile, findButton, summaryButton,
                                       Control<QToolButton>("cmdDel")};
    logViewer_ = new LogViewer(
        *core_, views_, dialogs_, settings_, std::make_unique<MainWindowForLogViewer>(*this),
        [this](const QString& name) { return MenuAction(name); }, controls, this);
    // A scroll bar that comes or goes changes the viewport's height: keep it whole rows.
    for (QScrollBar* bar : {resultGrid->horizontalScrollBar(), resultGrid->verticalScrollBar()})
        connect(bar, &QScrollBar::rangeChanged, this, &MainWindow::FitGridToWholeRows, Qt::QueuedConnection);
}

void MainWindow::LeaveSummaryMode()
{
    logViewer_->LeaveSummaryMode();
}
