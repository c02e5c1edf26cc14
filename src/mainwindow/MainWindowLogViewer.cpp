// The main window's log viewer: the template menu, view mode (another log shown in the pane
// while the probe waits), the grid's mouse and key events, and deleting a row.

#include "mainwindow/MainWindow.h"

#include "database/StationDatabase.h"
#include "log/LogFileChunks.h"
#include "log/LogFileText.h"
#include "log/LogLineDeletion.h"
#include "log/LogRecordFormat.h"
#include "log/LogView.h"
#include "log/PaneText.h"
#include "log/ResultGridModel.h"
#include "log/TerminalPane.h"
#include "mainwindow/DeletionQuestion.h"
#include "mainwindow/FindWindow.h"
#include "mainwindow/OperatorDialogs.h"
#include "mainwindow/StationIcons.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "settings/StartUpValues.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

namespace {

const QString kAppTitle = QStringLiteral("Tallion");

// Passes the Delete key on the grid to `onDelete`.
class DeleteKeyFilter : public QObject {
public:
    DeleteKeyFilter(QObject* parent, std::function<void()> onDelete)
        : QObject(parent)
        , onDelete_(std::move(onDelete))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
            onDelete_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onDelete_;
};

constexpr const char* kTemplateEntries[] = {"mnuD1", "mnuD2", "mnuD3", "mnuD4", "mnuD5",
                                            "mnuD6", "mnuD7", "mnuD8", "mnuD9", "mnuhamcolour"};

} // namespace

void MainWindow::WireLogViewerMenus()
{
    for (int n = 1; n <= 10; ++n) {
        if (QAction* entry = MenuAction(QString::fromLatin1(kTemplateEntries[n - 1])))
            connect(entry, &QAction::triggered, this, [this, n] { ChooseTemplate(n); });
    }
    auto* pause = Control<QToolButton>("Pause");
    connect(pause, &QToolButton::clicked, this, &MainWindow::ToggleLogView);
    connect(MenuAction(QStringLiteral("mnuView")), &QAction::triggered, this, &MainWindow::ToggleLogView);
    connect(CmdFind, &QToolButton::clicked, this, &MainWindow::ShowFindDialog);
    connect(MenuAction(QStringLiteral("mnuFind")), &QAction::triggered, this, &MainWindow::ShowFindDialog);
    CmdSummary->setCheckable(true); // pressed while the summary shows
    connect(CmdSummary, &QToolButton::clicked, this, &MainWindow::ToggleSummary);
    auto* del = Control<QToolButton>("cmdDel");
    connect(del, &QToolButton::clicked, this, &MainWindow::DeleteRow);

    // Grid events: a row picked (mouse or keyboard) makes Delete usable, the Delete key deletes,
    // the right button (or the menu key) pops up the File menu.
    connect(mfgResult->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, del] {
        const bool picked = mfgResult->selectionModel()->hasSelection();
        del->setEnabled(picked);
        MenuAction(QStringLiteral("mnuDel"))->setEnabled(picked);
    });
    mfgResult->installEventFilter(new DeleteKeyFilter(mfgResult, [this] { DeleteRow(); }));
    mfgResult->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mfgResult, &QTableView::customContextMenuRequested, this, [this](const QPoint& position) {
        if (QMenu* file = MenuAction(QStringLiteral("mnuFile"))->menu())
            file->popup(mfgResult->viewport()->mapToGlobal(position));
    });
    // A scroll bar that comes or goes changes the viewport's height: keep it whole rows.
    for (QScrollBar* bar : {mfgResult->horizontalScrollBar(), mfgResult->verticalScrollBar()})
        connect(bar, &QScrollBar::rangeChanged, this, &MainWindow::FitGridToWholeRows, Qt::QueuedConnection);
}

void MainWindow::ChooseTemplate(int templateNumber)
{
    state_.templateNumber = templateNumber;
    ApplyCurrentTemplate();
    // The views are rebuilt only when the template really changes.
    const auto stored = TemplateNumberFromSetting(settings_.ReadSetting("Properties", "Banner", "1"));
    if (stored != templateNumber && !state_.logFilePath.empty()) {
        if (const auto error = LoadLogIntoView(views_, state_.logFilePath, templateNumber))
            dialogs_.Message(*error,
                             ResourceText(1257) + QLatin1Char(' ')
                                 + QFile::decodeName(QByteArray::fromStdString(state_.logFilePath)),
                             MessageIcon::Exclamation, MessageButtons::Ok);
    }
    settings_.WriteSetting("Properties", "Banner", std::to_string(templateNumber));
}

bool MainWindow::TerminalWanted() const
{
    return state_.summaryShown || ViewingLog() || viewer_.frmFind;
}

void MainWindow::ShowTerminalAsNeeded(LayoutTrigger trigger)
{
    Terminal->setVisible(TerminalWanted());
    PlaceViews(trigger);
    if (GridHasScrollBar(mfgResult))
        ScrollGridToLastRow(views_);
}

void MainWindow::ToggleLogView()
{
    auto* pause = Control<QToolButton>("Pause");
    pause->setIcon(QIcon(StationIcons::PauseDown()));
    const bool wasViewing = core_->link().stationPaused();
    core_->link().setStationPaused(!wasViewing);
    QAction* view = MenuAction(QStringLiteral("mnuView"));

    if (wasViewing) {
        core_->link().QueueProbeCommand("7");
        SetPauseTip(1122);
        pause->setIcon(QIcon(StationIcons::PauseUp()));
        view->setChecked(false);
        if (state_.logFilePath.empty()) {
            SetStatusPanel(5, QString());
            SetStatusPanelTip(5, ResourceText(1098));
        } else {
            ShowLogFilePath();
        }
        OpenLogFile->setEnabled(true);
        RefreshFindPrint();
        // The pane's own lines come back: results in black, messages in red.
        ShowPaneRuns(*Terminal, RestoredPaneRuns(viewer_.savedTerminalText));
        viewer_.savedTerminalText.clear();
        state_.viewedLogFile.clear();
        ShowTerminalAsNeeded(LayoutTrigger::Toggle);
        return;
    }

    core_->link().QueueProbeCommand("6$AAA Locked");
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    std::string saved = ViewLogFile();
    if (!state_.viewedLogFile.empty()) {
        viewer_.savedTerminalText = std::move(saved);
        SetPauseTip(1121);
        view->setChecked(true);
        OpenLogFile->setEnabled(false);
        RefreshFindPrint();
        ShowTerminalAsNeeded(LayoutTrigger::PaneSwitch);
        return;
    }
    // Nothing to view: the probe goes on at once.
    core_->link().QueueProbeCommand("7");
    pause->setIcon(QIcon(StationIcons::PauseUp()));
    core_->link().setStationPaused(false);
    if (state_.logFilePath.empty())
        SetStatusPanel(5, QString());
    else
        ShowLogFilePath();
}

std::string MainWindow::ViewLogFile()
{
    const std::optional<QString> chosen = dialogs_.OpenFile(ResourceText(1123), ResourceText(1124), QString());
    state_.viewedLogFile.clear();
    if (!chosen || chosen->isEmpty() || !QFileInfo::exists(*chosen))
        return {};
    const std::string path = chosen->toLocal8Bit().toStdString();
    state_.viewedLogFile = path;
    const QString panelText = ResourceText(1122) + QStringLiteral(": ") + *chosen;
    SetStatusPanel(5, panelText);

    std::string kept = Terminal->Text().toLatin1().toStdString();
    QString error;
    const std::optional<QByteArray> bytes = ReadLogFile(path, &error);
    if (!bytes) {
        dialogs_.Message(error, kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        state_.viewedLogFile.clear();
        return kept;
    }
    const bool suppressErrors =
        dialogs_.Message(ResourceText(1133), kAppTitle, MessageIcon::Question, MessageButtons::YesNo)
        == MessageAnswer::Yes;
    ApplyCurrentTemplate();

    PaneTextOptions options;
    options.templateNumber = state_.templateNumber;
    options.resultColour = PaneColour::Blue;
    options.showMessages = !suppressErrors;
    options.cap = kTerminalCap;
    const PaneText text = LogPaneText(BytesView(*bytes), options);
    ShowPaneRuns(*Terminal, text.runs);
    // The pane holds the newest lines only; say so rather than let older ones seem missing.
    if (text.linesLeftOut > 0)
        SetStatusPanel(5, panelText + QStringLiteral("  (%1 older lines not shown)").arg(text.linesLeftOut));
    SetStatusPanelTip(5, StatusPanel(5)); // a long path does not fit the panel
    return kept;
}

void MainWindow::DeleteRow()
{
    // Only a row the operator picked: the grid's current cell alone (set when the grid is fitted
    // or reached with Tab) is no choice.
    const QModelIndexList picked = mfgResult->selectionModel()->selectedRows();
    if (picked.isEmpty())
        return;
    const int row = picked.first().row() + 1;
    if (dialogs_.Message(
            QStringLiteral("Really to delete?"), QStringLiteral("Delete"), MessageIcon::Question,
            MessageButtons::OkCancel,
            DeletionDetail(gridModel_->RowCells(row), gridModel_->IsMessageRow(row), state_.templateNumber))
        != MessageAnswer::Ok)
        return;
    const QString deleteTitle = QStringLiteral("Delete");
    if (state_.logFilePath.empty()) {
        dialogs_.Message(QStringLiteral("No log file is open: the row was not deleted."), deleteTitle,
                         MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }

    // The row is line row + 1 of the file. A loaded row must find its own bytes there, a row
    // shown since the load the same cells as it shows; anything else means the file changed.
    const std::optional<std::string_view> loaded = gridModel_->LoadedLine(row);
    const QStringList shown = gridModel_->RowCells(row);
    const int templateNumber = state_.templateNumber;
    const int columns = gridModel_->Columns();
    auto isTheLine = [&](std::string_view line) {
        if (loaded)
            return IsLineShownAs(WithoutLineEndView(line), WithoutLineEndView(*loaded));
        return ResultGridModel::CellsOfStoredLine(line, templateNumber, columns) == shown;
    };
    const LineDeletionResult result = DeleteLogLine(state_.logFilePath, static_cast<size_t>(row) + 1, isTheLine,
                                                    PosixLogFileSystem(), database_ ? database_->Observer() : nullptr);
    const QString path = QFile::decodeName(QByteArray::fromStdString(state_.logFilePath));
    switch (result.outcome) {
    case LineDeletion::NotIdentified:
        dialogs_.Message(QStringLiteral("The log file has changed since this row was shown, so its line "
                                        "cannot be found with certainty. Nothing was deleted.\r\n%1")
                             .arg(path),
                         deleteTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    case LineDeletion::Failed:
        dialogs_.Message(QStringLiteral("%1\r\n%2\r\nThe log file was left as it was.")
                             .arg(QString::fromLocal8Bit(result.error.c_str()), path),
                         deleteTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    case LineDeletion::Deleted: break;
    }
    gridModel_->RemoveResultRow(row);
    // The rows below moved up: nothing stays chosen, so a second Delete cannot take a neighbour.
    mfgResult->clearSelection();
    mfgResult->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    if (GridHasScrollBar(mfgResult))
        ScrollGridToLastRow(views_);
    if (!result.error.empty()) {
        dialogs_.Message(QStringLiteral("The row was deleted, but the change may not survive a power cut: "
                                        "%1\r\n%2")
                             .arg(QString::fromLocal8Bit(result.error.c_str()), path),
                         deleteTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}
