#include "mainwindow/StationResults.h"

#include "carcass/CurrentCarcassWindow.h"
#include "help/TextWindow.h"
#include "log/LogRecordFormat.h"
#include "log/LogView.h"
#include "log/ResultGridModel.h"
#include "log/TerminalPane.h"
#include "mainwindow/OperatorDialogs.h"
#include "probe/ProbeLink.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

const QString kAppTitle = QStringLiteral("Tallion");

} // namespace

StationResults::StationResults(const StationResultsLinks& links, LogFileSystem& fileSystem, QObject* parent)
    : QObject(parent)
    , links_(links)
    , fileSystem_(fileSystem)
{
    connect(&links_.finishing.log(), &ResultLog::logFileTouched, this, [this] { links_.window.ShowLogFilePath(); });
}

void StationResults::OnProbeMessage(const std::string& message)
{
    DispatchProbeMessage(message, links_.state, *this, now());
}

CurrentCarcassWindow& StationResults::carcassWindow()
{
    if (!currentCarcassWindow_) {
        CurrentCarcassWindowLinks links{links_.state,
                                        links_.queue,
                                        links_.commands,
                                        *this,
                                        links_.scale,
                                        links_.dialogs,
                                        [this](const std::string& text) { SetStatusPanel1(text); },
                                        [this](const std::string& text) {
                                            if (pendingShown)
                                                pendingShown(text);
                                        }};
        currentCarcassWindow_ = new CurrentCarcassWindow(links, links_.parentWindow);
        currentCarcassWindow_->ShowWeighingFrames(links_.state.weightSource);
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

void StationResults::SetCarcassError(const std::string& text)
{
    carcassWindow().SetError(text);
}

void StationResults::ClearCarcassValues()
{
    carcassWindow().ClearValues();
}

void StationResults::PairProbeResult()
{
    // The window's own pairing takes the result, as its (hidden) probe button would.
    carcassWindow().pairing().OnProbeResult();
}

void StationResults::SetStatusPanel1(const std::string& text)
{
    links_.window.SetStatusPanel(1, Latin1(text));
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
    if (links_.state.summaryShown)
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

void StationResults::ShowResult(const CarcassMeasurement& record)
{
    const std::string text = links_.finishing.ResultLine(record);
    ResultViews views = LiveViews();
    ::AppendToResultView(views, text + '\r', links_.state.lineIsMeasurement);
}

void StationResults::WriteLogRecord(const CarcassMeasurement& record)
{
    WriteRecord(record);
}

void StationResults::WriteRecord(const CarcassMeasurement& record)
{
    links_.finishing.WriteLogRecord(record);
}

void StationResults::FinishCarcass()
{
    ::FinishCarcass(links_.state, links_.queue, *this);
}

void StationResults::SaveUnwrittenRecords(bool quiet)
{
    const std::optional<ResultLog::Recovery> recovery = links_.finishing.log().SaveUnwrittenRecords();
    if (!recovery)
        return;
    const std::string& path = recovery->path;
    const QString text =
        !path.empty() ? QStringLiteral("%1 results could not be written to the log file. They were saved to:\r\n%2")
                            .arg(recovery->records)
                            .arg(Latin1(path))
                      : QStringLiteral("Results that could not be written to the log file are lost: %1")
                            .arg(Latin1(recovery->error));
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
    const std::optional<QString> chosen = dialogs.OpenFile(ResourceText(1123), ResourceText(1124), QString());
    if (!chosen || chosen->isEmpty())
        return;
    const std::string path = QFile::encodeName(*chosen).toStdString();

    const int exists = fileSystem_.Exists(path);
    if (exists < 0) {
        dialogs.Message(QString::fromLocal8Bit(std::strerror(-exists)), kAppTitle, MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return;
    }

    StationState& state = links_.state;
    state.logFilePath = path;
    links_.window.ShowLogFilePath();
    links_.settings.WriteSetting("Properties", "LogFilePath", SettingsStore::TextFromPath(path));

    if (exists) {
        if (const auto error = LoadLogIntoView(links_.views, path, state.templateNumber)) {
            dialogs.Message(*error, ResourceText(1257) + ' ' + *chosen, MessageIcon::Exclamation, MessageButtons::Ok);
        }
    } else {
        links_.views.grid->SetRows(1);
        links_.views.terminal->ClearPane();
        // Created empty, its folder entry made durable like the writer's new files; the header
        // line comes with the first record.
        int result = fileSystem_.Open(path, O_WRONLY | O_CREAT);
        if (result >= 0) {
            fileSystem_.Close(result);
            result = fileSystem_.SyncFolder(FolderOf(path));
        }
        if (result < 0) {
            dialogs.Message(QString::fromLocal8Bit(std::strerror(-result)), kAppTitle, MessageIcon::Exclamation,
                            MessageButtons::Ok);
            state.logFilePath.clear();
            return;
        }
    }

    if (links_.link.probeLinkAlive()
        && dialogs.Message(ResourceText(1239), ResourceText(1240), MessageIcon::Question, MessageButtons::YesNo)
               == MessageAnswer::Yes) {
        links_.commands.QueueProbeCommand("3000001");
    }
    links_.window.LeaveSummaryMode();
}
