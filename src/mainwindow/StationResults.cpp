#include "mainwindow/StationResults.h"
#include "resources/StatusPanels.h"

#include "carcasswindow/CurrentCarcassWindow.h"
#include "help/TextWindow.h"
#include "logviews/LogView.h"
#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"
#include "resources/AppTitle.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "station/ProbeResults.h"
#include "station/ResultFinishing.h"
#include "station/ResultLog.h"
#include "station/StationPairings.h"
#include "widgets/OperatorDialogs.h"

#include <QFile>
#include <cstdio>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

StationResults::StationResults(const StationResultsLinks& links, LogFileSystem& fileSystem, QObject* parent)
    : QObject(parent)
    , links_(links)
    , logFiles_(links.log, links.settings, links.link, fileSystem)
{
    connect(&links_.log, &ResultLog::logFileTouched, this, [this] { links_.window.ShowLogFilePath(); });
    connect(&logFiles_, &LogFileChoice::logFileChanged, this, [this] { links_.window.ShowLogFilePath(); });
    ListenToResults();
}

void StationResults::ListenToResults()
{
    // Each runs inside the dispatch, in its order. The core's current carcass pairing takes the
    // result; its window, closed by the operator, comes back hidden with the next one.
    ProbeResults& results = links_.results;
    connect(&results, &ProbeResults::carcassError, this, [this] { carcassWindow(); });
    connect(&results, &ProbeResults::carcassValuesCleared, this, [this] { carcassWindow(); });
    connect(&results, &ProbeResults::probeResultToPair, this, [this] { carcassWindow(); });
    connect(&links_.pairings.currentDisplay(), &PairingDisplayModel::statusPanel1Shown, this,
            &StationResults::SetStatusPanel1);
    connect(&results, &ProbeResults::statusText, this, &StationResults::SetStatusPanel1);
    connect(&results, &ProbeResults::resultLine, this, &StationResults::AppendToResultView);
    connect(&results, &ProbeResults::probeText, this, &StationResults::ShowProbeText);
}

CurrentCarcassWindow& StationResults::carcassWindow()
{
    if (!currentCarcassWindow_) {
        CurrentCarcassWindowLinks links{links_.pairings.currentDisplay(), links_.pairings, links_.dialogs};
        currentCarcassWindow_ = new CurrentCarcassWindow(links, links_.parentWindow);
        currentCarcassWindow_->ShowWeighingFrames(links_.weighing.weightSource);
        links_.window.RegisterStationWindow(currentCarcassWindow_);
    }
    return *currentCarcassWindow_;
}

CurrentCarcassWindow* StationResults::ExistingCurrentCarcassWindow() const
{
    return currentCarcassWindow_;
}

TextWindow* StationResults::textWindow() const
{
    return textWindow_;
}

void StationResults::SetStatusPanel1(const std::string& text)
{
    links_.window.SetStatusPanel(StatusPanel::ProbeStatus, Latin1(text));
}

void StationResults::AppendToResultView(const std::string& text, bool isMeasurement)
{
    ResultViews views = LiveViews();
    ::AppendToResultView(views, text, isMeasurement);
}

ResultViews StationResults::LiveViews() const
{
    // While the class summary shows, the pane is the summary: live lines would push it away
    // and be printed with it. The grid still takes them; the pane is reloaded from the log
    // when the summary ends.
    ResultViews views = links_.views;
    if (links_.summaryShown && links_.summaryShown())
        views.terminal = nullptr;
    return views;
}

void StationResults::ShowProbeText(const std::string& text)
{
    if (!textWindow_) {
        textWindow_ = new TextWindow(links_.dialogs, links_.parentWindow);
        textWindow_->setAttribute(Qt::WA_DeleteOnClose);
        links_.window.RegisterStationWindow(textWindow_);
    }
    textWindow_->SetText(text);
    textWindow_->show();
    textWindow_->raise();
}

size_t StationResults::UnwrittenRecords() const
{
    return links_.log.UnwrittenRecords();
}

void StationResults::SaveUnwrittenRecords(bool quiet, bool keptInJournal)
{
    const std::optional<ResultLog::Recovery> recovery = links_.log.SaveUnwrittenRecords();
    if (!recovery)
        return;
    const std::string& path = recovery->path;
    QString text =
        !path.empty() ? QStringLiteral("%1 results could not be written to the log file. They were saved to:\r\n%2")
                            .arg(recovery->records)
                            .arg(Latin1(path))
        : keptInJournal ? QStringLiteral("%1 results could not be written to the log file, nor to a recovery file: %2")
                              .arg(recovery->records)
                              .arg(Latin1(recovery->error))
                        : QStringLiteral("Results that could not be written to the log file are lost: %1")
                              .arg(Latin1(recovery->error));
    if (keptInJournal)
        text += QStringLiteral("\r\nThe station keeps them and writes them to the log file when it takes them again.");
    if (quiet) {
        std::fprintf(stderr, "tallion: %s\n",
                     qPrintable(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
        return;
    }
    links_.dialogs.Message(text, kAppTitle, path.empty() ? MessageIcon::Exclamation : MessageIcon::Information,
                           MessageButtons::Ok);
}

void StationResults::ChooseLogFile()
{
    OperatorDialogs& dialogs = links_.dialogs;
    const std::optional<QString> chosen =
        dialogs.OpenFile(ResourceText(StringId::OpenLogFile), ResourceText(StringId::LogFileFilter), QString());
    if (!chosen || chosen->isEmpty())
        return;
    const LogFileOpening opened = logFiles_.Open(QFile::encodeName(*chosen).toStdString());
    auto tell = [&dialogs](const QString& error) {
        dialogs.Message(error, kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    };
    if (opened.outcome == LogFileOutcome::LookUpFailed) {
        tell(opened.error);
        return;
    }
    if (opened.outcome == LogFileOutcome::Existing) {
        if (const auto error =
                LoadLogIntoView(links_.views, links_.log.logFilePath(), links_.finishing.templateNumber())) {
            dialogs.Message(*error, ResourceText(StringId::Open) + ' ' + *chosen, MessageIcon::Exclamation,
                            MessageButtons::Ok);
        }
    } else {
        links_.views.grid->SetRows(1);
        links_.views.terminal->ClearPane();
        if (opened.outcome == LogFileOutcome::NotCreated) {
            tell(opened.error);
            return;
        }
    }
    logFiles_.OfferCounterReset(dialogs);
    links_.window.LeaveSummaryMode();
}
