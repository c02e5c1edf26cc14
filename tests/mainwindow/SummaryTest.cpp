// The class summary in the main window, and `tallion summary` printing the same text without a
// display. Expected texts are the reference files in tests/data.

#include "MainWindowFixture.h"

#include "logviewer/LogViewer.h"
#include "logviewer/SummaryWindow.h"
#include "logviews/TerminalPane.h"
#include "mainwindow/StationResults.h"
#include "printviews/PrintCommands.h"

#include "support/TestPaths.h"
#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

namespace {

const QString kData = TestDataFolder();

std::string DataFile(const QString& name)
{
    QFile file(kData + '/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// build/tallion with no display at all, in the reference folder.
ProgramRun Tallion(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(kData);
    process.start(BuiltProgram("tallion"), arguments);
    ProgramRun run;
    if (!process.waitForFinished(20000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

class SummaryTest : public MainWindowFixture {
protected:
    // The window works in the reference folder, so that the log path reads as in the references.
    SummaryTest() { QDir::setCurrent(kData); }
    ~SummaryTest() override { QDir::setCurrent(previous_); }

    MainWindow& StartOn(const char* log)
    {
        Store({{"LogFilePath", log}, {"Banner", "3"}});
        MainWindow& w = Make();
        w.core().parts().link.setProbeLinkAlive(true);
        return w;
    }
    std::string PaneText() { return window->views().terminal->Text().toLatin1().toStdString(); }
    std::vector<std::string> Queued()
    {
        const CommandQueue& q = window->core().link().Queue();
        std::vector<std::string> texts;
        for (int i = 0; i < q.count; ++i)
            texts.push_back(q.slotTexts[(q.readIndex + i) % CommandQueue::kSlots]);
        return texts;
    }

private:
    QString previous_ = QDir::currentPath();
};

} // namespace

TEST_F(SummaryTest, OnShowsThePaneUnderTheGridOffReloadsTheLog)
{
    MainWindow& w = StartOn("summary_unweighed.dif");
    const std::string loaded = PaneText();
    auto* pane = Control<TerminalPane>("Terminal");
    auto* grid = Control<QTableView>("mfgResult");

    const int gridHeight = grid->height();
    Control<QToolButton>("CmdSummary")->click();
    EXPECT_TRUE(w.logViewer().summaryShown());
    EXPECT_EQ(PaneText(), DataFile("summary_unweighed.txt")) << "the pane holds the text for printing";
    ASSERT_NE(w.logViewer().summaryWindow(), nullptr);
    EXPECT_TRUE(w.logViewer().summaryWindow()->isVisible());
    EXPECT_FALSE(pane->isVisible());
    EXPECT_EQ(grid->height(), gridHeight) << "the grid keeps the main window";
    EXPECT_TRUE(Menu("mnuSummary")->isChecked());
    EXPECT_TRUE(Control<QToolButton>("CmdSummary")->isChecked());
    EXPECT_FALSE(Menu("mnuDis")->isEnabled());
    EXPECT_EQ(Queued(), std::vector<std::string>{"6"});

    Menu("mnuSummary")->trigger();
    EXPECT_FALSE(w.logViewer().summaryShown());
    EXPECT_EQ(PaneText(), loaded);
    EXPECT_FALSE(pane->isVisible());
    EXPECT_FALSE(w.logViewer().summaryWindow()->isVisible());
    EXPECT_FALSE(Menu("mnuSummary")->isChecked());
    EXPECT_TRUE(Menu("mnuDis")->isEnabled());
    EXPECT_EQ(Queued(), (std::vector<std::string>{"6", "7"}));
}

TEST_F(SummaryTest, EachFinishedRecordUpdatesTheSummaryInPlace)
{
    // A copy: the record is appended to the log.
    const QString log = dir.filePath("shift.dif");
    ASSERT_TRUE(QFile::copy(kData + "/summary_unweighed.dif", log));
    MainWindow& w = StartOn(log.toLocal8Bit().constData());
    auto* grid = Control<QTableView>("mfgResult");
    w.logViewer().ToggleSummary();
    ASSERT_NE(PaneText().find("  S              2\r\n"), std::string::npos);
    const int rows = grid->model()->rowCount();
    auto* bar = Control<TerminalPane>("Terminal")->verticalScrollBar();
    const int top = bar->value();

    // An unweighed carcass of class S (61.2 %) and a probing error.
    w.core().parts().probeResults.OnProbeMessage("E01000101"
                                                 "01200550001203000450612ABS140533X");
    w.core().parts().probeResults.OnProbeMessage("Z07");
    const std::string pane = PaneText();
    EXPECT_NE(pane.find("  S              3\r\n"), std::string::npos) << pane;
    EXPECT_NE(pane.find("Total:           4\r\n"), std::string::npos) << pane;
    EXPECT_TRUE(pane.ends_with(std::string(75, '*') + "\r\n")) << "no live line under the summary";
    EXPECT_EQ(bar->value(), top);
    EXPECT_EQ(grid->model()->rowCount(), rows + 2) << "the grid takes the live lines";
    EXPECT_EQ(w.printing().summaryText(), pane) << "a printed summary is the summary";

    // Leaving the summary brings the log back, the live lines with it.
    w.logViewer().ToggleSummary();
    EXPECT_NE(PaneText().find("000101"), std::string::npos);
}

TEST_F(SummaryTest, ChoosingAnotherLogEndsTheSummary)
{
    MainWindow& w = StartOn("summary_unweighed.dif");
    w.logViewer().ToggleSummary();
    ASSERT_TRUE(w.logViewer().summaryShown());
    dialogs.QueueOpenFile(kData + "/summary_weighed.dif");
    Control<QToolButton>("OpenLogFile")->click();
    EXPECT_FALSE(w.logViewer().summaryShown());
    EXPECT_FALSE(Control<TerminalPane>("Terminal")->isVisible());
    EXPECT_FALSE(Control<QToolButton>("CmdSummary")->isChecked());
    EXPECT_TRUE(Menu("mnuDis")->isEnabled());
    EXPECT_TRUE(PaneText().starts_with("07:10:00  14-03-2024,000011,01, 14.2 A,, 55.0 B, 55.0,R,,"));
}

TEST_F(SummaryTest, WithAWeightSourceWeighedCarcassesAreSummed)
{
    MainWindow& w = StartOn("summary_weighed.dif");
    w.core().parts().weighingState.weightSource = WeightSource::ManualInput;
    w.logViewer().ToggleSummary();
    EXPECT_EQ(PaneText(), DataFile("summary_weighed_with_weight.txt"));
}

TEST_F(SummaryTest, RefusalsChangeNothing)
{
    struct Case {
        const char* name;
        const char* log;
        int pending;
        QString message;
    };
    QFile empty(dir.filePath("empty.dif"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const std::string emptyLog = empty.fileName().toStdString();
    const Case cases[] = {
        {"no log file", "", 0, "You must open a Log file first."},
        {"nothing loaded", emptyLog.c_str(), 0, "It's a void log file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow& w = StartOn(c.log);
        w.core().parts().weighingState.weightSource = WeightSource::ManualInput;
        w.core().parts().pendingQueue.count = c.pending;
        const std::string before = PaneText();
        w.logViewer().ToggleSummary();
        ASSERT_NE(dialogs.Last("Message"), nullptr);
        EXPECT_EQ(dialogs.Last("Message")->text, c.message);
        EXPECT_EQ(dialogs.Last("Message")->title, "Summary");
        EXPECT_FALSE(w.logViewer().summaryShown());
        EXPECT_FALSE(Control<TerminalPane>("Terminal")->isVisible());
        EXPECT_EQ(PaneText(), before);
        EXPECT_FALSE(Control<QToolButton>("CmdSummary")->isChecked());
        EXPECT_TRUE(Menu("mnuDis")->isEnabled());
        EXPECT_TRUE(Queued().empty());
    }
}

TEST_F(SummaryTest, ACarcassBetweenProbeAndScaleIsToldNotRefused)
{
    MainWindow& w = StartOn("summary_weighed.dif");
    w.core().parts().weighingState.weightSource = WeightSource::ManualInput;
    w.core().parts().pendingQueue.count = 1;
    w.logViewer().ToggleSummary();
    EXPECT_EQ(dialogs.Last("Message"), nullptr);
    EXPECT_TRUE(w.logViewer().summaryShown());
    std::string expected = DataFile("summary_weighed_with_weight.txt");
    const std::string heading = std::string(33, '*') + " Summary " + std::string(33, '*') + "\r\n";
    expected.insert(expected.find(heading) + heading.size(), "Not yet in it: 1 carcass between probe and scale.\r\n");
    EXPECT_EQ(PaneText(), expected);
}

TEST(SummaryCommand, PrintsThePanesTextWithoutADisplay)
{
    struct Case {
        QStringList arguments;
        const char* expected;
    };
    const Case cases[] = {
        {{"summary", "summary_unweighed.dif"}, "summary_unweighed.txt"},
        {{"summary", "summary_unweighed.dif", "--with-weight"}, "summary_unweighed_with_weight.txt"},
        {{"summary", "summary_weighed.dif", "--with-weight"}, "summary_weighed_with_weight.txt"},
        {{"summary", "summary_heavy.dif"}, "summary_heavy.txt"},
        {{"summary", "summary_heavy.dif", "--with-weight"}, "summary_heavy_with_weight.txt"},
        {{"summary", "summary_no_lean_meat.dif"}, "summary_no_lean_meat.txt"},
        {{"summary", "summary_no_lean_meat.dif", "--with-weight"}, "summary_no_lean_meat_with_weight.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ProgramRun run = Tallion(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, DataFile(c.expected));
        EXPECT_EQ(run.err, "");
    }
}

TEST(SummaryCommand, AnUnreadableFileOrABadLineIsAFailure)
{
    const ProgramRun missing = Tallion({"summary", "no-such-log.dif"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "tallion summary: cannot read no-such-log.dif: No such file or directory\n");

    for (const QStringList& arguments : {QStringList{"summary"}, QStringList{"summary", "a.dif", "b.dif"},
                                         QStringList{"summary", "a.dif", "--weight"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ProgramRun bad = Tallion(arguments);
        EXPECT_EQ(bad.exitCode, 2);
        EXPECT_EQ(bad.out, "");
        EXPECT_NE(bad.err.find("Usage: tallion summary LOGFILE [--with-weight]"), std::string::npos);
    }
}
