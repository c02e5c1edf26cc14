// The class summary mode: the grid shortened to two fifths of the window and the pane below it
// showing the summary of the current log, with its charts beside it; switched off, the log is
// reloaded.

#include "logviewer/LogViewer.h"

#include "charts/SummaryChartData.h"
#include "charts/SummaryChartPanel.h"
#include "log/ClassSummary.h"
#include "log/LogView.h"
#include "log/TerminalPane.h"
#include "mainwindow/OperatorDialogs.h"
#include "resources/StringTable.h"
#include "station/StationCore.h"

#include <QAction>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void LogViewer::ToggleSummary()
{
    const std::string& logFilePath = core_.resultLog().logFilePath();
    TerminalPane& pane = *views_.terminal;
    const QString title = ResourceText(1234);

    if (state_.summaryShown) {
        LeaveSummaryMode();
        if (const auto error = LoadLogIntoView(views_, logFilePath, core_.resultFinishing().templateNumber()))
            dialogs_.Message(*error, ResourceText(1257) + QLatin1Char(' ') + Latin1(logFilePath),
                             MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }

    // Each refusal leaves everything as it was.
    int refusal = 0;
    if (logFilePath.empty())
        refusal = 1241;
    else if (pane.Length() == 0)
        refusal = 1242;
    else if (core_.link().probeLinkAlive() && core_.weighingState().weightSource != WeightSource::NoWeight
             && core_.pendingQueue().count > 0)
        refusal = 1243;
    if (refusal != 0) {
        controls_.summary->setChecked(false);
        dialogs_.Message(ResourceText(refusal), title, MessageIcon::None, MessageButtons::Ok);
        return;
    }

    state_.summaryShown = true;
    // The button stays pressed while the summary shows.
    controls_.summary->setChecked(true);
    Menu("mnuSummary")->setChecked(true);
    ShowTerminalAsNeeded(LayoutTrigger::PaneSwitch);
    Menu("mnuDis")->setEnabled(false);
    if (core_.link().probeLinkAlive())
        core_.link().QueueProbeCommand("6");

    // Counted once here; the live records that follow add only themselves (RefreshSummary).
    const SummaryMode mode = SummaryModeNow();
    std::string error;
    const bool counted = state_.summary.Start(logFilePath, mode, &error);
    if (!counted)
        dialogs_.Message(QString::fromLocal8Bit(error.data(), static_cast<qsizetype>(error.size())),
                         ResourceText(1257) + QLatin1Char(' ') + Latin1(logFilePath), MessageIcon::Exclamation,
                         MessageButtons::Ok);
    const std::string body = counted ? state_.summary.Body() : std::string();
    ShowPaneRuns(pane, {PaneRun{ClassSummaryText(logFilePath, body, mode), PaneColour::Black}});
    ShowSummaryCharts(mode);
    // The caret stays at the end; the summary is read from its first line.
    pane.verticalScrollBar()->setValue(0);
}

SummaryMode LogViewer::SummaryModeNow() const
{
    return core_.weighingState().weightSource == WeightSource::NoWeight ? SummaryMode::WithoutWeight
                                                                        : SummaryMode::WithWeight;
}

void LogViewer::RefreshSummary()
{
    if (!state_.summaryShown)
        return;
    const std::string& logFilePath = core_.resultLog().logFilePath();
    // Runs inside the receive tick: only the lines added since the last count are read. A log
    // that cannot be read just now keeps the summary last shown (the log writer tells of its own
    // faults), and the operator's place in it stays.
    const SummaryMode mode = SummaryModeNow();
    SummaryFollower& counts = state_.summary;
    std::optional<std::string> added;
    if (counts.Follows(logFilePath, mode))
        added = counts.Follow();
    if (!added && !counts.Start(logFilePath, mode, nullptr))
        return;
    TerminalPane& pane = *views_.terminal;
    const int top = pane.verticalScrollBar()->value();
    ShowPaneRuns(pane, {PaneRun{ClassSummaryText(logFilePath, counts.Body(), mode), PaneColour::Black}});
    pane.verticalScrollBar()->setValue(top);
    if (added && summaryCharts_)
        summaryCharts_->AddLines(*added);
    else
        ShowSummaryCharts(mode);
}

void LogViewer::LeaveSummaryMode()
{
    if (!state_.summaryShown)
        return;
    state_.summaryShown = false;
    state_.summary.Stop();
    controls_.summary->setChecked(false);
    Menu("mnuSummary")->setChecked(false);
    ShowTerminalAsNeeded(LayoutTrigger::Toggle);
    if (core_.link().probeLinkAlive())
        core_.link().QueueProbeCommand("7");
    Menu("mnuDis")->setEnabled(true);
}

void LogViewer::ShowSummaryCharts(SummaryMode mode)
{
    // An unreadable log has been reported with the text already: the charts then stay empty.
    const SummaryChartData counted =
        ReadSummaryChartData(core_.resultLog().logFilePath(), mode, nullptr).value_or(SummaryChartData{mode});
    if (!summaryCharts_) {
        summaryCharts_ = new SummaryChartPanel(views_.gridView->font(), controls_.chartsParent);
        summaryCharts_->ShowData(counted);
        window_->PlaceViews(LayoutTrigger::PaneSwitch);
        return;
    }
    // The text's width follows the mode, and with it whether the charts go beside it or below.
    const bool modeChanged = summaryCharts_->data().mode != mode;
    summaryCharts_->ShowData(counted);
    if (summaryCharts_->isHidden() || modeChanged)
        window_->PlaceViews(LayoutTrigger::PaneSwitch);
}

void LogViewer::PlaceSummaryCharts(bool panePlaced, int paneLowest)
{
    if (!summaryCharts_)
        return;
    if (panePlaced && state_.summaryShown)
        summaryCharts_->PlaceBeside(*views_.terminal, paneLowest);
    else
        summaryCharts_->hide();
}
