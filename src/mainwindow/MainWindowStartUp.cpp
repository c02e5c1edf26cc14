// Start-up of the station, step by step in the station's order. A step that cannot be done (a
// bad stored value, a port that does not open, an unreadable log) is skipped and the next runs.

#include "mainwindow/MainWindow.h"
#include "resources/StatusPanels.h"

#include "carcasswindow/WeighingControls.h"
#include "database/StationDatabase.h"
#include "layout/LayoutGeometry.h"
#include "log/LogRecordFormat.h"
#include "logviewer/LogViewer.h"
#include "logviews/LogView.h"
#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"
#include "mainwindow/DatabasePanel.h"
#include "mainwindow/StationResults.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "settings/StartUpValues.h"
#include "station/ReceivedJournal.h"
#include "widgets/ApplyStringTable.h"
#include "widgets/OperatorDialogs.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableView>
#include <QToolButton>

namespace {

const std::string kSection = "Properties";

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void MainWindow::StartUp(bool withWeighing)
{
    // 1. Designed size; also the least the window may be dragged to.
    const QSize minimum(PxX(kMinimumInnerWidth), PxY(kMinimumInnerHeight));
    setMinimumSize(minimum);
    resize(minimum);

    // 2. Compact layout: the detail frames, the terminal pane and the internal parts hidden.
    for (QWidget* w : std::initializer_list<QWidget*>{weightCaption, pairedWeightBox, terminalPane, weightFrame,
                                                      resultFrame, pendingFrame, errorFrame})
        w->hide();
    detailFrames_->hide();
    isShow_ = false;

    // 3. Texts.
    ApplyStringTable(this);

    // 4. Tooltips.
    const int panelTips[kStatusPanels] = {1151, 1152, 1153, 0, 1154, 1181, 1182};
    for (int i = 0; i < kStatusPanels; ++i)
        if (panelTips[i])
            SetStatusPanelTip(i + 1, ResourceText(panelTips[i]));
    linkLabel->setToolTip(ResourceText(StringId::LinkLampTip));
    txLabel->setToolTip(ResourceText(StringId::DataToProbe));
    rxLabel->setToolTip(ResourceText(StringId::DataFromProbe));
    OpenLogFile->setToolTip(ResourceText(StringId::LogToFile));
    summaryButton->setToolTip(ResourceText(StringId::Summary));
    findButton->setToolTip(ResourceText(StringId::Find));
    printButton->setToolTip(ResourceText(StringId::Print));
    exitButton->setToolTip(ResourceText(StringId::Exit));
    SetUpToolbarKeys();
    // Find follows its menu entry, which starts disabled.
    findButton->setEnabled(false);

    // 5. Sequence menu out of sight (weighing start-up shows it again).
    MenuAction(QStringLiteral("mnuWP"))->setVisible(false);

    // 6.
    show();

    // 7.
    setWindowTitle(Latin1(MainWindowCaption()));

    // 8. Run-time state.
    core_->resetForStartUp();
    logViewer_->ResetForStartUp();

    // 9. Template; a value that is no template keeps the default one.
    if (const auto n = TemplateNumberFromSetting(settings_.ReadSetting(kSection, "Banner", "3")))
        core_->chooseTemplate(*n);

    // 10.-13. Probe port, status frame, first status texts.
    StartUpProbePort();

    // 14. Log file path in panel 5.
    core_->chooseLogFile(SettingsStore::PathFromText(settings_.ReadSetting(kSection, "LogFilePath", "")));
    const ResultLog& log = core_->resultLog();
    if (!log.logFilePath().empty())
        ShowLogFilePath();

    // The plant database, when the settings name one: each line logged from now on goes there too.
    database_ = StationDatabase::FromSettings(settings_, log.logFilePath(), dialogs_, this);
    if (database_) {
        new DatabasePanel(*database_, *statusBar());
        core_->observeLog(database_->Observer());
    }

    // 15. The decimal mark is '.' (with the run-time state above).

    // 16.-17. Weighing off, weight before probe; or, when asked for, as the store has it.
    if (withWeighing)
        weighing_->StartUpFromStore();
    else
        weighing_->StartUpOff();

    // What the last run had not finished comes back before the first poll is answered: into the
    // log chosen above and the pairing just set up, and before the log is loaded into view.
    core_->OpenReceivedJournal(ReceivedJournalPath(
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).toStdString(),
        QFile::encodeName(settings_.FilePath()).toStdString()));

    // 18. Analysis type.
    StartUpAnalysisType();

    // 19. Template: tick, grid columns, title.
    ApplyCurrentTemplate();

    // 20. The log into the views.
    StartUpLoadLog();

    // 21. The error box speaks to the operator who sees the error first.
    errorBox->setToolTip(ResourceText(core_->weighingState().weightBeforeProbe ? StringId::ProbeOperatorErrors
                                                                               : StringId::ScaleOperatorErrors));

    // 22. Grid for the compact layout without summary.
    PlaceViews(false);
    if (GridHasScrollBar(resultGrid)) {
        FitGridToLastRows();
        ScrollGridToLastRow(views_);
    }

    core_->start();
    clock_.start();
}

void MainWindow::StartUpProbePort()
{
    // 10. and 13. The port from the store, opened; one that does not open shows as a link that
    // never comes up until its watch finds the device.
    core_->SetUpProbePort(settings_);

    // 11. The status frame across the window; the views with it, so that the template's
    // column widths (step 19) are taken from the grid's real width.
    PlaceViews(false);

    // 12.
    SetStatusPanel(StatusPanel::ProbeStatus, ResourceText(StringId::ConnectProbe));
    ShowProbePort();
}

void MainWindow::StartUpAnalysisType()
{
    for (int i = 0; i <= 9; ++i)
        MenuAction(QStringLiteral("mnuAnal%1").arg(i))->setChecked(false);
    const std::string stored = settings_.ReadSetting(kSection, "AnaType", "901");
    if (const auto entry = AnalysisEntryToTick(stored))
        MenuAction(QStringLiteral("mnuAnal%1").arg(*entry))->setChecked(true);
}

void MainWindow::StartUpLoadLog()
{
    // 20. An unreadable log is reported and the station starts without it in view. The box
    // does not wait for the operator: the probe is answered and the clock runs meanwhile.
    const std::string& logFilePath = core_->resultLog().logFilePath();
    if (logFilePath.empty())
        return;
    const auto error = LoadLogIntoView(views_, logFilePath, core_->resultFinishing().templateNumber());
    if (error)
        dialogs_.Notify(*error,
                        ResourceText(StringId::Open) + QLatin1Char(' ')
                            + QFile::decodeName(QByteArray::fromStdString(logFilePath)),
                        MessageIcon::Exclamation);
}

void MainWindow::ApplyCurrentTemplate()
{
    static const char* const kEntries[] = {"mnuD1", "mnuD2", "mnuD3", "mnuD4", "mnuD5",
                                           "mnuD6", "mnuD7", "mnuD8", "mnuD9", "mnuhamcolour"};
    const int templateNumber = core_->resultFinishing().templateNumber();
    for (int n = 1; n <= 10; ++n)
        MenuAction(QString::fromLatin1(kEntries[n - 1]))->setChecked(n == templateNumber);
    printHeaderLine_ = ApplyTemplate(views_, templateNumber);
    Title->setText(Latin1(TemplateTitleString(templateNumber)));
}

void MainWindow::ShowLogFilePath()
{
    const std::string& logFilePath = core_->resultLog().logFilePath();
    const QString name = QFile::decodeName(QByteArray::fromStdString(ShortenLogPath(logFilePath)));
    const size_t waiting = results_ ? results_->UnwrittenRecords() : 0;
    if (waiting == 0) {
        SetStatusPanel(StatusPanel::LogFile, name);
        SetStatusPanelTip(StatusPanel::LogFile, ResourceText(StringId::LogFileNameTip));
        return;
    }
    // Records that the log file could not take yet are not lost; the operator sees that they wait.
    SetStatusPanel(StatusPanel::LogFile, QStringLiteral("%1  (%2 waiting)").arg(name).arg(waiting));
    SetStatusPanelTip(StatusPanel::LogFile,
                      QStringLiteral("%1 results wait to be written to %2. They are tried again every few "
                                     "seconds, and saved to a recovery file if the station ends first.")
                          .arg(waiting)
                          .arg(QFile::decodeName(QByteArray::fromStdString(logFilePath))));
}
