// The class summary mode: the summary of the current log in a window of its own, its text and its
// charts; the pane holds the same text for printing. Switched off, the log is reloaded.

#include "logviewer/LogViewer.h"

#include "charts/SummaryChartData.h"
#include "chartviews/SummaryChartPanel.h"
#include "log/ClassSummary.h"
#include "logviewer/SummaryWindow.h"
#include "logviews/LogView.h"
#include "logviews/TerminalPane.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "station/StationCore.h"
#include "widgets/OperatorDialogs.h"

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
    const QString title = ResourceText(StringId::Summary);

    if (state_.summaryShown) {
        LeaveSummaryMode();
        if (const auto error = LoadLogIntoView(views_, logFilePath, core_.resultFinishing().templateNumber()))
            dialogs_.Message(*error, ResourceText(StringId::Open) + QLatin1Char(' ') + Latin1(logFilePath),
                             MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }

    // Each refusal leaves everything as it was. Carcasses between probe and scale are no
    // refusal: on a weighing line one nearly always waits, so the summary tells of them instead.
    int refusal = 0;
    if (logFilePath.empty())
        refusal = 1241;
    else if (pane.Length() == 0)
        refusal = 1242;
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
    core_.blankProbeDisplay();

    // Counted once here; the live records that follow add only themselves (RefreshSummary).
    const SummaryMode mode = SummaryModeNow();
    std::string error;
    const bool counted = state_.summary.Start(logFilePath, mode, &error);
    if (!counted)
        dialogs_.Message(QString::fromLocal8Bit(error.data(), static_cast<qsizetype>(error.size())),
                         ResourceText(StringId::Open) + QLatin1Char(' ') + Latin1(logFilePath),
                         MessageIcon::Exclamation, MessageButtons::Ok);
    const std::string body = counted ? state_.summary.Body() : std::string();
    const std::string text = ClassSummaryText(logFilePath, body, mode, NotesNow());
    ShowPaneRuns(pane, {PaneRun{text, PaneColour::Black}});
    ShowSummaryCharts(mode);
    // The caret stays at the end; the summary is read from its first line.
    pane.verticalScrollBar()->setValue(0);
    summaryWindow_->SetText(Latin1(text));
    summaryWindow_->text().verticalScrollBar()->setValue(0);
    summaryWindow_->show();
    summaryWindow_->raise();
}

SummaryMode LogViewer::SummaryModeNow() const
{
    return core_.weighingState().weightSource == WeightSource::NoWeight ? SummaryMode::WithoutWeight
                                                                        : SummaryMode::WithWeight;
}

SummaryNotes LogViewer::NotesNow() const
{
    const bool weighing = core_.weighingState().weightSource != WeightSource::NoWeight;
    return SummaryNotes{state_.summary.LeftOut(), weighing ? core_.pendingQueue().count : 0};
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
    const std::string text = ClassSummaryText(logFilePath, counts.Body(), mode, NotesNow());
    ShowPaneRuns(pane, {PaneRun{text, PaneColour::Black}});
    pane.verticalScrollBar()->setValue(top);
    if (summaryWindow_)
        summaryWindow_->SetText(Latin1(text));
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
    if (summaryWindow_)
        summaryWindow_->hide();
    ShowTerminalAsNeeded(LayoutTrigger::Toggle);
    core_.endProbePrompt();
    Menu("mnuDis")->setEnabled(true);
}

void LogViewer::ShowSummaryCharts(SummaryMode mode)
{
    // An unreadable log has been reported with the text already: the charts then stay empty.
    const SummaryChartData counted =
        ReadSummaryChartData(core_.resultLog().logFilePath(), mode, nullptr).value_or(SummaryChartData{mode});
    if (!summaryWindow_) {
        summaryWindow_ = new SummaryWindow(settings_, views_.terminal->font(), views_.gridView->font(), parent_);
        summaryCharts_ = &summaryWindow_->charts();
        // Closing the window ends the summary as the button does.
        connect(summaryWindow_, &SummaryWindow::closedByOperator, this, [this] {
            if (state_.summaryShown)
                ToggleSummary();
        });
    }
    summaryCharts_->ShowData(counted);
}
