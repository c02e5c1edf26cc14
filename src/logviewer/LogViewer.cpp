#include "logviewer/LogViewer.h"
#include "resources/StatusPanels.h"

#include "log/LogFileChunks.h"
#include "log/LogFileText.h"
#include "log/PaneText.h"
#include "logviewer/FindWindow.h"
#include "logviews/LogView.h"
#include "logviews/TerminalPane.h"
#include "resources/AppTitle.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "settings/StartUpValues.h"
#include "station/StationCore.h"
#include "widgets/OperatorDialogs.h"
#include "widgets/StationIcons.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QTableView>
#include <QToolButton>

namespace {

constexpr const char* kTemplateEntries[] = {"mnuD1", "mnuD2", "mnuD3", "mnuD4", "mnuD5",
                                            "mnuD6", "mnuD7", "mnuD8", "mnuD9", "mnuhamcolour"};

} // namespace

LogViewer::LogViewer(StationCore& core, ResultViews views, OperatorDialogs& dialogs, SettingsStore& settings,
                     std::unique_ptr<LogViewerWindow> window, std::function<QAction*(const QString&)> menu,
                     Controls controls, QWidget* parent)
    : QObject(parent)
    , core_(core)
    , views_(views)
    , dialogs_(dialogs)
    , settings_(settings)
    , window_(std::move(window))
    , menu_(std::move(menu))
    , controls_(controls)
    , parent_(parent)
{
    WireControls();
    // What is drawn from the log file, such as the class summary, follows each record.
    connect(&core_.resultLog(), &ResultLog::recordLogged, this, &LogViewer::RefreshSummary);
    // The summary tells how many carcasses wait between probe and scale.
    connect(&core_, &StationCore::pendingCountChanged, this, &LogViewer::RefreshSummary);
}

LogViewer::~LogViewer() = default;

QAction* LogViewer::Menu(const char* name) const
{
    return menu_(QString::fromLatin1(name));
}

void LogViewer::WireControls()
{
    for (int n = 1; n <= 10; ++n) {
        if (QAction* entry = Menu(kTemplateEntries[n - 1]))
            connect(entry, &QAction::triggered, this, [this, n] { ChooseTemplate(n); });
    }
    connect(controls_.pause, &QToolButton::clicked, this, &LogViewer::ToggleLogView);
    connect(Menu("mnuView"), &QAction::triggered, this, &LogViewer::ToggleLogView);
    connect(controls_.find, &QToolButton::clicked, this, &LogViewer::ShowFindDialog);
    connect(Menu("mnuFind"), &QAction::triggered, this, &LogViewer::ShowFindDialog);
    controls_.summary->setCheckable(true); // pressed while the summary shows
    connect(controls_.summary, &QToolButton::clicked, this, &LogViewer::ToggleSummary);
    WireGridEvents();
}

void LogViewer::ChooseTemplate(int templateNumber)
{
    core_.chooseTemplate(templateNumber);
    window_->ApplyCurrentTemplate();
    // The views are rebuilt only when the template really changes.
    const auto stored = TemplateNumberFromSetting(settings_.ReadSetting("Properties", "Banner", "1"));
    const std::string& logFilePath = core_.resultLog().logFilePath();
    if (stored != templateNumber && !logFilePath.empty()) {
        if (const auto error = LoadLogIntoView(views_, logFilePath, templateNumber))
            dialogs_.Message(*error,
                             ResourceText(StringId::Open) + QLatin1Char(' ')
                                 + QFile::decodeName(QByteArray::fromStdString(logFilePath)),
                             MessageIcon::Exclamation, MessageButtons::Ok);
    }
    settings_.WriteSetting("Properties", "Banner", std::to_string(templateNumber));
}

void LogViewer::ResetForStartUp()
{
    state_.summaryShown = false;
    state_.viewedLogFile.clear();
}

bool LogViewer::ViewingLog() const
{
    return core_.link().stationPaused() && !state_.viewedLogFile.empty();
}

bool LogViewer::TerminalWanted() const
{
    // The summary has a window of its own; the pane holds its text for printing, unseen.
    return ViewingLog() || state_.findWindow;
}

void LogViewer::ShowTerminalAsNeeded(LayoutTrigger trigger)
{
    views_.terminal->setVisible(TerminalWanted());
    window_->PlaceViews(trigger);
    if (GridHasScrollBar(views_.gridView))
        ScrollGridToLastRow(views_);
}

void LogViewer::SetUpPauseKey()
{
    controls_.pause->setShortcut(QKeySequence(Qt::Key_F7));
    SetPauseTip(StringId::ViewLogFile);
}

void LogViewer::SetPauseTip(int stringId)
{
    // "Text (F7)": the key shows where the operator looks for what the button does.
    controls_.pause->setToolTip(QStringLiteral("%1 (%2)").arg(
        ResourceText(stringId), controls_.pause->shortcut().toString(QKeySequence::NativeText)));
}

void LogViewer::ShowLogFileOrNothing()
{
    if (core_.resultLog().logFilePath().empty())
        window_->SetStatusPanel(StatusPanel::LogFile, QString());
    else
        window_->ShowLogFilePath();
}

void LogViewer::ToggleLogView()
{
    QToolButton* pause = controls_.pause;
    pause->setIcon(QIcon(StationIcons::PauseDown()));
    const bool wasViewing = core_.Paused();
    QAction* view = Menu("mnuView");

    if (wasViewing) {
        SetPauseTip(StringId::ViewLogFile);
        pause->setIcon(QIcon(StationIcons::PauseUp()));
        view->setChecked(false);
        if (core_.resultLog().logFilePath().empty()) {
            window_->SetStatusPanel(StatusPanel::LogFile, QString());
            window_->SetStatusPanelTip(StatusPanel::LogFile, ResourceText(StringId::LogFileNameTip));
        } else {
            window_->ShowLogFilePath();
        }
        controls_.openLogFile->setEnabled(true);
        window_->RefreshFindPrint();
        // The pane's own lines come back: results in black, messages in red.
        ShowPaneRuns(*views_.terminal, RestoredPaneRuns(state_.savedTerminalText));
        state_.savedTerminalText.clear();
        state_.viewedLogFile.clear();
        ShowTerminalAsNeeded(LayoutTrigger::Toggle);
        // The results held during the view follow into the pane that is back now.
        core_.resume();
        return;
    }

    // The file chooser's own event loop keeps the link answering and sends the lock command.
    core_.pauseForLogView();
    std::string saved = ViewLogFile();
    if (!state_.viewedLogFile.empty()) {
        state_.savedTerminalText = std::move(saved);
        SetPauseTip(StringId::StopViewingLogFile);
        view->setChecked(true);
        controls_.openLogFile->setEnabled(false);
        window_->RefreshFindPrint();
        ShowTerminalAsNeeded(LayoutTrigger::PaneSwitch);
        return;
    }
    // Nothing to view: the probe goes on at once.
    pause->setIcon(QIcon(StationIcons::PauseUp()));
    core_.resume();
    ShowLogFileOrNothing();
}

std::string LogViewer::ViewLogFile()
{
    const std::optional<QString> chosen =
        dialogs_.OpenFile(ResourceText(StringId::OpenLogFile), ResourceText(StringId::LogFileFilter), QString());
    state_.viewedLogFile.clear();
    if (!chosen || chosen->isEmpty() || !QFileInfo::exists(*chosen))
        return {};
    const std::string path = chosen->toLocal8Bit().toStdString();
    state_.viewedLogFile = path;
    const QString panelText = ResourceText(StringId::ViewLogFile) + QStringLiteral(": ") + *chosen;
    window_->SetStatusPanel(StatusPanel::LogFile, panelText);

    std::string kept = views_.terminal->Text().toLatin1().toStdString();
    QString error;
    const std::optional<QByteArray> bytes = ReadLogFile(path, &error);
    if (!bytes) {
        dialogs_.Message(error, kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        state_.viewedLogFile.clear();
        return kept;
    }
    const bool suppressErrors = dialogs_.Message(ResourceText(StringId::SuppressErrorsQuestion), kAppTitle,
                                                 MessageIcon::Question, MessageButtons::YesNo)
                                == MessageAnswer::Yes;
    window_->ApplyCurrentTemplate();

    PaneTextOptions options;
    options.templateNumber = core_.resultFinishing().templateNumber();
    options.resultColour = PaneColour::Blue;
    options.showMessages = !suppressErrors;
    options.cap = kTerminalCap;
    const PaneText text = LogPaneText(BytesView(*bytes), options);
    ShowPaneRuns(*views_.terminal, text.runs);
    // The pane holds the newest lines only; say so rather than let older ones seem missing.
    if (text.linesLeftOut > 0)
        window_->SetStatusPanel(StatusPanel::LogFile,
                                panelText + QStringLiteral("  (%1 older lines not shown)").arg(text.linesLeftOut));
    window_->SetStatusPanelTip(StatusPanel::LogFile,
                               window_->StatusPanel(StatusPanel::LogFile)); // a long path does not fit the panel
    return kept;
}
