// The summary's charts in the main window: counted from the same log and with the same mode as
// the summary's text, and shown beside it.

#include "mainwindow/MainWindow.h"

#include "charts/SummaryChartData.h"
#include "charts/SummaryChartPanel.h"
#include "log/TerminalPane.h"

#include <QTableView>

void MainWindow::ShowSummaryCharts(SummaryMode mode)
{
    // An unreadable log has been reported with the text already: the charts then stay empty.
    const SummaryChartData counted =
        ReadSummaryChartData(state_.logFilePath, mode, nullptr).value_or(SummaryChartData{mode});
    if (!summaryCharts_) {
        summaryCharts_ = new SummaryChartPanel(mfgResult->font(), central_);
        summaryCharts_->ShowData(counted);
        PlaceViews(LayoutTrigger::PaneSwitch);
        return;
    }
    summaryCharts_->ShowData(counted);
    if (summaryCharts_->isHidden())
        PlaceViews(LayoutTrigger::PaneSwitch);
}
