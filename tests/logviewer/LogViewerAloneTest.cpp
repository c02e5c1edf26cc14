// The log viewer over bare controls and a recording window: what it needs of the main window goes
// through the window it is given, and nothing else.

#include "chartviews/SummaryChartPanel.h"
#include "logviewer/LogViewer.h"
#include "logviewer/SummaryWindow.h"
#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"
#include "mainwindow/MainMenuRows.h"
#include "settings/SettingsStore.h"
#include "station/StationCore.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QHash>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

class RecordingWindow : public LogViewerWindow {
public:
    void SetStatusPanel(int panel, const QString& text) override { panels[panel] = text; }
    void SetStatusPanelTip(int panel, const QString& tip) override { tips[panel] = tip; }
    QString StatusPanel(int panel) const override { return panels.count(panel) ? panels.at(panel) : QString(); }
    void ShowLogFilePath() override { panels[5] = QStringLiteral("<log file>"); }
    void RegisterStationWindow(QWidget*) override {}
    void ApplyCurrentTemplate() override { ++templatesApplied; }
    void PlaceViews(LayoutTrigger trigger) override { placed.push_back(trigger); }
    void RefreshFindPrint() override { ++findPrintRefreshed; }
    LogChangeObserver* LogObserver() override { return nullptr; }

    std::map<int, QString> panels, tips;
    std::vector<LayoutTrigger> placed;
    int templatesApplied = 0;
    int findPrintRefreshed = 0;
};

class LogViewerAlone : public ::testing::Test {
protected:
    LogViewerAlone()
    {
        view.setModel(&grid);
        menus = BuildMenuTree(&menuBar, MainMenuRows());
    }

    LogViewer& Viewer()
    {
        auto owned = std::make_unique<RecordingWindow>();
        window = owned.get();
        viewer =
            std::make_unique<LogViewer>(core, ResultViews{&pane, &grid, &view}, dialogs, settings, std::move(owned),
                                        lookup, LogViewer::Controls{&pause, &openLog, &find, &summary, &del}, &host);
        return *viewer;
    }

    // A log of one header line and two unweighed results of class S.
    std::string WriteLog()
    {
        const QString path = dir.filePath(QStringLiteral("shift.dif"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Error\tTime & Date\t\r\n");
        for (int n = 0; n < 2; ++n)
            file.write("\t09:30:00  15-03-2024\tE\t000001\t01\t12.0\t\t\t\t\t\t\t\t61.2\t\tS\t\r\n");
        return path.toStdString();
    }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    ScriptedDialogs dialogs;
    StationCore core{std::make_unique<FakeSerialPort>(), std::make_unique<FakeSerialPort>()};
    QWidget host;
    TerminalPane pane{&host};
    ResultGridModel grid;
    QTableView view{&host};
    QToolButton pause{&host}, openLog{&host}, find{&host}, summary{&host}, del{&host};
    QMenuBar menuBar;
    QHash<QString, QAction*> menus;
    std::function<QAction*(const QString&)> lookup = [this](const QString& name) { return menus.value(name); };
    RecordingWindow* window = nullptr;
    std::unique_ptr<LogViewer> viewer;
};

} // namespace

// What the main window does on its own, the viewer does through the window it is given.
TEST_F(LogViewerAlone, ViewModeTellsTheWindowItIsGiven)
{
    Viewer();
    const QString viewed = QString::fromStdString(WriteLog());
    dialogs.QueueOpenFile(viewed);
    dialogs.QueueMessageAnswer(MessageAnswer::No);
    pause.click();
    EXPECT_EQ(window->panels[5], "View Log-File: " + viewed);
    EXPECT_EQ(window->tips[5], "View Log-File: " + viewed);
    EXPECT_EQ(window->templatesApplied, 1);
    EXPECT_EQ(window->findPrintRefreshed, 1);
    EXPECT_TRUE(pane.Text().startsWith("09:30:00  15-03-2024,"));

    pause.click();
    EXPECT_EQ(window->panels[5], "");
    EXPECT_EQ(window->tips[5], "Name of Log File");
    EXPECT_EQ(window->findPrintRefreshed, 2);
    EXPECT_EQ(window->placed, (std::vector<LayoutTrigger>{LayoutTrigger::PaneSwitch, LayoutTrigger::Toggle}));
    EXPECT_TRUE(pane.isHidden());
}

TEST_F(LogViewerAlone, TheSummaryHasAWindowOfItsOwnThatEndsItWhenClosed)
{
    core.parts().resultLog.SetLogFilePath(WriteLog());
    LogViewer& v = Viewer();
    pane.AppendColoured(QStringLiteral("a line\r\n"), Qt::black); // an empty pane has no summary
    v.ToggleSummary();
    SummaryWindow* w = v.summaryWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(pane.isHidden()) << "the grid keeps the main window";
    EXPECT_EQ(w->text().toPlainText().toStdString(), QString(pane.Text()).replace("\r\n", "\n").toStdString());
    EXPECT_EQ(v.summaryCharts()->data().classCount[0], 2) << "class S";

    w->close();
    EXPECT_FALSE(v.summaryShown());
    EXPECT_FALSE(summary.isChecked());
    v.ToggleSummary();
    EXPECT_TRUE(w->isVisible());
    v.ToggleSummary();
    EXPECT_FALSE(w->isVisible());
}

// The summary's window opens where the supervisor last left it, at the size it was left at.
TEST_F(LogViewerAlone, TheSummarysWindowKeepsItsSizeAndPlace)
{
    {
        SummaryWindow first(settings, QFont(), QFont(), &host);
        first.show();
        first.setGeometry(100, 120, 700, 500);
        first.hide();
    }
    SummaryWindow again(settings, QFont(), QFont(), &host);
    again.SetText(QString(75, QLatin1Char('*')) + QStringLiteral("\r\n"));
    again.show();
    EXPECT_EQ(again.geometry(), QRect(100, 120, 700, 500));
    // Narrower than the table and the charts side by side: the text above the charts.
    EXPECT_EQ(again.splitter().orientation(), Qt::Vertical);
}
