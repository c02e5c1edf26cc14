// The class summary mode of the main window: the grid shortened to two fifths of the window and
// the pane below it showing the summary of the current log; switched off, the log is reloaded.

#include "mainwindow/MainWindow.h"

#include "charts/SummaryChartPanel.h"
#include "log/ClassSummary.h"
#include "log/LogView.h"
#include "log/TerminalPane.h"
#include "mainwindow/OperatorDialogs.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QScrollBar>
#include <QToolButton>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void MainWindow::ToggleSummary()
{
    const QString title = ResourceText(1234);

    if (state_.summaryShown) {
        LeaveSummaryMode();
        if (const auto error = LoadLogIntoView(views_, state_.logFilePath, state_.templateNumber))
            dialogs_.Message(*error, ResourceText(1257) + QLatin1Char(' ') + Latin1(state_.logFilePath),
                             MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }

    // Each refusal leaves everything as it was.
    int refusal = 0;
    if (state_.logFilePath.empty())
        refusal = 1241;
    else if (Terminal->Length() == 0)
        refusal = 1242;
    else if (core_->link().probeLinkAlive() && state_.weightSource != WeightSource::NoWeight
             && core_->pendingQueue().count > 0)
        refusal = 1243;
    if (refusal != 0) {
        CmdSummary->setChecked(false);
        dialogs_.Message(ResourceText(refusal), title, MessageIcon::None, MessageButtons::Ok);
        return;
    }

    state_.summaryShown = true;
    // The button stays pressed while the summary shows.
    CmdSummary->setChecked(true);
    MenuAction(QStringLiteral("mnuSummary"))->setChecked(true);
    ShowTerminalAsNeeded(LayoutTrigger::PaneSwitch);
    MenuAction(QStringLiteral("mnuDis"))->setEnabled(false);
    if (core_->link().probeLinkAlive())
        core_->link().QueueProbeCommand("6");

    // Counted once here; the live records that follow add only themselves (RefreshSummary).
    const SummaryMode mode = SummaryModeNow();
    std::string error;
    const bool counted = viewer_.summary.Start(state_.logFilePath, mode, &error);
    if (!counted)
        dialogs_.Message(QString::fromLocal8Bit(error.data(), static_cast<qsizetype>(error.size())),
                         ResourceText(1257) + QLatin1Char(' ') + Latin1(state_.logFilePath), MessageIcon::Exclamation,
                         MessageButtons::Ok);
    const std::string body = counted ? viewer_.summary.Body() : std::string();
    ShowPaneRuns(*Terminal, {PaneRun{ClassSummaryText(state_.logFilePath, body, mode), PaneColour::Black}});
    ShowSummaryCharts(mode);
    // The caret stays at the end; the summary is read from its first line.
    Terminal->verticalScrollBar()->setValue(0);
}

SummaryMode MainWindow::SummaryModeNow() const
{
    return state_.weightSource == WeightSource::NoWeight ? SummaryMode::WithoutWeight : SummaryMode::WithWeight;
}

void MainWindow::RefreshSummary()
{
    if (!state_.summaryShown)
        return;
    // Runs inside the receive tick: only the lines added since the last count are read. A log
    // that cannot be read just now keeps the summary last shown (the log writer tells of its own
    // faults), and the operator's place in it stays.
    const SummaryMode mode = SummaryModeNow();
    SummaryFollower& counts = viewer_.summary;
    std::optional<std::string> added;
    if (counts.Follows(state_.logFilePath, mode))
        added = counts.Follow();
    if (!added && !counts.Start(state_.logFilePath, mode, nullptr))
        return;
    const int top = Terminal->verticalScrollBar()->value();
    ShowPaneRuns(*Terminal, {PaneRun{ClassSummaryText(state_.logFilePath, counts.Body(), mode), PaneColour::Black}});
    Terminal->verticalScrollBar()->setValue(top);
    if (added && summaryCharts_)
        summaryCharts_->AddLines(*added);
    else
        ShowSummaryCharts(mode);
}

void MainWindow::LeaveSummaryMode()
{
    if (!state_.summaryShown)
        return;
    state_.summaryShown = false;
    viewer_.summary.Stop();
    CmdSummary->setChecked(false);
    MenuAction(QStringLiteral("mnuSummary"))->setChecked(false);
    ShowTerminalAsNeeded(LayoutTrigger::Toggle);
    if (core_->link().probeLinkAlive())
        core_->link().QueueProbeCommand("7");
    MenuAction(QStringLiteral("mnuDis"))->setEnabled(true);
}
