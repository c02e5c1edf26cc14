// The main window's log viewer: templates, view mode, find, the grid's events and deleting rows.

#include "MainWindowFixture.h"

#include "log/LogRecordFormat.h"
#include "logviewer/FindWindow.h"
#include "logviewer/LogViewer.h"
#include "logviews/LogView.h"
#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"
#include "mainwindow/StationResults.h"
#include "resources/StringTable.h"

#include "support/TestPaths.h"
#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

namespace {

std::string Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

class LogViewerTest : public MainWindowFixture {
protected:
    // Starts the station on a copy of the reference log `name`.
    MainWindow& StartOn(const char* name, const char* banner = "1")
    {
        QFile::copy(TestDataFile(QLatin1String(name)), log);
        Store({{"LogFilePath", log.toStdString()}, {"Banner", banner}});
        return Make();
    }
    std::vector<std::string> Queued()
    {
        const CommandQueue& q = window->core().link().Queue();
        std::vector<std::string> texts;
        for (int i = 0; i < q.count; ++i)
            texts.push_back(q.slotTexts[(q.readIndex + i) % CommandQueue::kSlots]);
        return texts;
    }
    TerminalPane& Pane() { return *window->views().terminal; }
    std::string PaneText() { return Pane().Text().toLatin1().toStdString(); }
    // Foreground colour of the first character of each pane line.
    std::vector<QColor> LineColours()
    {
        std::vector<QColor> colours;
        for (QTextBlock block = Pane().document()->begin(); block.isValid(); block = block.next()) {
            if (block.length() > 1)
                colours.push_back(block.begin().fragment().charFormat().foreground().color());
        }
        return colours;
    }
    ResultGridModel& Grid() { return *window->views().grid; }
    void SelectRow(int row)
    {
        auto* view = Control<QTableView>("mfgResult");
        view->setCurrentIndex(Grid().index(row - 1, 0));
    }

    QString log = dir.filePath("shift.dif");
};

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

} // namespace

TEST_F(LogViewerTest, TemplateChangeReloadsOnlyWhenTheTemplateChanges)
{
    MainWindow& w = StartOn("delete_before.dif", "3");
    Menu("mnuD7")->trigger();
    EXPECT_EQ(w.core().resultFinishing().templateNumber(), 7);
    EXPECT_EQ(Stored("Banner"), "7");
    for (const char* entry : {"mnuD1", "mnuD3", "mnuD7", "mnuhamcolour"})
        EXPECT_EQ(Menu(entry)->isChecked(), std::string(entry) == "mnuD7") << entry;
    EXPECT_EQ(Control<QLabel>("Title")->text().toStdString(), TemplateTitleString(7));
    EXPECT_EQ(Grid().Columns(), 15);
    // Reloaded in template 7: two fats, class and the RZ7 places.
    EXPECT_TRUE(PaneText().starts_with("09:30:00  14-03-2024,000031,01, 14.2 A,, 55.0 B, 58.0,E,,,,,,,\r\n"));

    // Choosing 7 again reloads nothing: a line shown since stays.
    AppendToResultView(w.views(), "Probe error 9\r", false);
    Menu("mnuD7")->trigger();
    EXPECT_TRUE(PaneText().ends_with("Probe error 9\r\n"));
    EXPECT_EQ(Grid().Rows(), 6);
}

TEST_F(LogViewerTest, ViewingNothingLeavesThePaneAndLetsTheProbeGoOn)
{
    MainWindow& w = StartOn("delete_before.dif");
    const std::string before = PaneText();
    dialogs.QueueOpenFile(std::nullopt);
    Control<QToolButton>("Pause")->click();

    EXPECT_EQ(PaneText(), before);
    EXPECT_FALSE(w.core().link().stationPaused());
    EXPECT_EQ(Queued(), (std::vector<std::string>{"6$AAA Locked", "7"}));
    EXPECT_FALSE(Menu("mnuView")->isChecked());
    EXPECT_TRUE(Control<QToolButton>("OpenLogFile")->isEnabled());
    EXPECT_FALSE(Pane().isVisible());
}

TEST_F(LogViewerTest, ViewingAnotherLogPausesAndRestoresThePaneAfterwards)
{
    MainWindow& w = StartOn("summary_weighed.dif");
    AppendToResultView(w.views(), "Probe error 9\r", false);
    const std::string before = PaneText();
    const int rows = Grid().Rows();

    dialogs.QueueOpenFile(TestDataFile(QStringLiteral("summary_unweighed.dif")));
    dialogs.QueueMessageAnswer(MessageAnswer::No); // errors are not suppressed
    Control<QToolButton>("Pause")->click();

    EXPECT_TRUE(w.core().link().stationPaused());
    EXPECT_TRUE(w.logViewer().ViewingLog());
    EXPECT_TRUE(Menu("mnuView")->isChecked());
    EXPECT_FALSE(Control<QToolButton>("OpenLogFile")->isEnabled());
    EXPECT_TRUE(Pane().isVisible());
    EXPECT_EQ(w.StatusPanel(5),
              QStringLiteral("View Log-File: ") + TestDataFile(QStringLiteral("summary_unweighed.dif")));
    ASSERT_NE(dialogs.Last("Message"), nullptr);
    EXPECT_EQ(dialogs.Last("Message")->text, "Do you want to suppress errors?");
    EXPECT_TRUE(PaneText().starts_with("06:01:10  14-03-2024,000001,01, 14.2 A, 55.0 B, 61.0,\r\n"));
    EXPECT_TRUE(PaneText().ends_with("\r\nProbe error 7\r\n"));
    const std::vector<QColor> viewed = LineColours();
    EXPECT_EQ(viewed.front(), kBlue);
    EXPECT_EQ(viewed.back(), kRed);
    EXPECT_EQ(Grid().Rows(), rows) << "the grid keeps the station's own log";

    Control<QToolButton>("Pause")->click();
    EXPECT_FALSE(w.core().link().stationPaused());
    EXPECT_EQ(Queued(), (std::vector<std::string>{"6$AAA Locked", "7"}));
    EXPECT_EQ(PaneText(), before);
    // Results (a digit first) in black, the rest (the cancel too) in red.
    EXPECT_EQ(LineColours(), (std::vector<QColor>{kBlack, kBlack, kBlack, kRed, kRed}));
    EXPECT_EQ(w.StatusPanel(5).toStdString(), ShortenLogPath(log.toStdString()));
    EXPECT_TRUE(Control<QToolButton>("OpenLogFile")->isEnabled());
    EXPECT_FALSE(Menu("mnuView")->isChecked());
    EXPECT_FALSE(Pane().isVisible());
}

TEST_F(LogViewerTest, FindDialogSearchesThePane)
{
    MainWindow& w = Make();
    AppendToResultView(w.views(), "abc abc\r", true);
    w.core().parts().link.setProbeLinkAlive(true);
    w.RefreshFindPrint();
    Control<QToolButton>("CmdFind")->click();
    auto* find = w.findChild<FindWindow*>("frmFind");
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->windowTitle(), "  Find");
    EXPECT_EQ(find->findChild<QCheckBox*>("chkMatchCase")->text(), "Match &Case");
    EXPECT_EQ(find->findChild<QRadioButton*>("optDirection0")->text(), "&Up");
    EXPECT_EQ(find->findChild<QRadioButton*>("optDirection1")->text(), "&Down");
    EXPECT_EQ(find->findChild<QPushButton*>("CmdFind")->text(), "&Find");
    EXPECT_TRUE(find->findChild<QRadioButton*>("optDirection0")->isChecked()) << "up until told otherwise";
    auto* findButton = find->findChild<QPushButton*>("CmdFind");
    EXPECT_FALSE(findButton->isEnabled());
    EXPECT_TRUE(Pane().isVisible()) << "a match must be seen";

    find->findChild<QLineEdit*>("txtString")->setText("ABC");
    find->findChild<QRadioButton*>("optDirection1")->click();
    Pane().SelectStored(0, 0);
    findButton->click();
    EXPECT_EQ(Pane().textCursor().selectedText(), "abc");
    EXPECT_EQ(Pane().CaretPosition(), 0);
    findButton->click();
    EXPECT_EQ(Pane().CaretPosition(), 4);
    findButton->click();
    EXPECT_TRUE(dialogs.WasShown("Can not find \"ABC\""));
    EXPECT_EQ(Pane().CaretPosition(), 4) << "the selection stays where it was";

    // The state outlives the dialog: reopened, it selects Down again.
    QTest::keyClick(find, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(Pane().isVisible());
    Control<QToolButton>("CmdFind")->click();
    find = w.findChild<FindWindow*>("frmFind");
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->findChild<QRadioButton*>("optDirection1")->isChecked());
}

TEST_F(LogViewerTest, GridEventsEnableDeleteDeleteAndOpenTheFileMenu)
{
    StartOn("delete_before.dif");
    auto* view = Control<QTableView>("mfgResult");
    auto* del = Control<QToolButton>("cmdDel");
    EXPECT_FALSE(del->isEnabled());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(Grid().index(1, 2)).center());
    EXPECT_TRUE(del->isEnabled());
    Menu("mnuDel")->setVisible(true); // a hidden entry always reads as disabled
    EXPECT_TRUE(Menu("mnuDel")->isEnabled());

    QTest::keyClick(view, Qt::Key_Delete);
    ASSERT_NE(dialogs.Last("Message"), nullptr);
    EXPECT_EQ(dialogs.Last("Message")->text, "Really to delete?");
    EXPECT_EQ(dialogs.Last("Message")->buttons, MessageButtons::OkCancelSafe) << "Return deletes nothing";
    EXPECT_EQ(Grid().Rows(), 5) << "not answered OK: nothing deleted";

    QContextMenuEvent rightButton(QContextMenuEvent::Mouse, QPoint(20, 20),
                                  view->viewport()->mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendEvent(view->viewport(), &rightButton);
    QMenu* file = Menu("mnuFile")->menu();
    EXPECT_TRUE(file->isVisible());
    file->close();
}

TEST_F(LogViewerTest, DeleteRowRemovesExactlyItsOwnLine)
{
    MainWindow& w = StartOn("delete_before.dif");
    const std::string original = Bytes(log);
    // Row 3 is the 09:30:00 of the second day; row 1 has the same time a day earlier.
    SelectRow(3);
    dialogs.QueueMessageAnswer(MessageAnswer::Cancel);
    w.logViewer().DeleteRow();
    EXPECT_EQ(Bytes(log), original);
    EXPECT_EQ(Grid().Rows(), 5);

    dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    w.logViewer().DeleteRow();
    EXPECT_EQ(dialogs.Last("Message")->title, "Delete");
    EXPECT_EQ(dialogs.Last("Message")->text, "Really to delete?");
    EXPECT_EQ(dialogs.Last("Message")->detail, "Time 09:30:00, date 15-03-2024, carcass 000001");
    EXPECT_EQ(Bytes(log), Bytes(TestDataFile(QStringLiteral("delete_after.dif"))));
    ASSERT_EQ(Grid().Rows(), 4);
    // Nothing stays chosen: Delete waits for the operator's next pick.
    EXPECT_FALSE(Control<QTableView>("mfgResult")->selectionModel()->hasSelection());
    EXPECT_FALSE(Control<QToolButton>("cmdDel")->isEnabled());
    const size_t asked = dialogs.asked.size();
    w.logViewer().DeleteRow();
    EXPECT_EQ(dialogs.asked.size(), asked);
    EXPECT_EQ(Grid().Cell(1, 0), "09:30:00");
    EXPECT_EQ(Grid().Cell(3, 0), "09:31:00");

    // A row shown since the load is found by its cells, and deleted too.
    w.core().parts().probeResults.SetClock([] { return QDateTime(QDate(2024, 3, 15), QTime(9, 40, 0)); });
    w.core().parts().probeResults.OnProbeMessage("E0100012301250530001203000450612ABS140533X");
    ASSERT_EQ(Grid().Rows(), 5);
    const std::string withNew = Bytes(log);
    EXPECT_NE(withNew, Bytes(TestDataFile(QStringLiteral("delete_after.dif"))));
    SelectRow(4);
    dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    w.logViewer().DeleteRow();
    EXPECT_EQ(Bytes(log), Bytes(TestDataFile(QStringLiteral("delete_after.dif"))));
    EXPECT_EQ(Grid().Rows(), 4);
}

TEST_F(LogViewerTest, DeleteRowRefusesWhenTheFileChangedUnderneath)
{
    MainWindow& w = StartOn("delete_before.dif");
    // Another program removed the first record: every later line moved up.
    std::string changed = Bytes(log);
    const size_t first = changed.find('\n') + 1;
    changed.erase(first, changed.find('\n', first) + 1 - first);
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(changed.data(), static_cast<qint64>(changed.size()));
    file.close();

    SelectRow(3);
    dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    w.logViewer().DeleteRow();
    EXPECT_EQ(Bytes(log), changed);
    EXPECT_EQ(Grid().Rows(), 5);
    ASSERT_NE(dialogs.Last("Message"), nullptr);
    EXPECT_TRUE(dialogs.Last("Message")->text.startsWith("The log file has changed since this row was shown"));
}

TEST_F(LogViewerTest, APastedReportShownCutIsDeletedWhole)
{
    const std::string header = "Error\tTime & Date\t\r\n";
    const std::string record = "\t09:30:00  15-03-2024\tSingle Site\t\r\n";
    {
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = header + std::string(100000, 'r') + "\r\n" + record;
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    Store({{"LogFilePath", log.toStdString()}, {"Banner", "1"}});
    MainWindow& w = Make();
    ASSERT_EQ(Grid().Rows(), 3);
    EXPECT_EQ(Grid().Cell(1, 0).size(), 4003) << "shown cut";
    SelectRow(1);
    dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    w.logViewer().DeleteRow();
    EXPECT_EQ(Bytes(log), header + record);
    EXPECT_EQ(Grid().Rows(), 2);
}

TEST_F(LogViewerTest, ScrolledGridShowsWholeRows)
{
    std::string content = LogHeaderLine();
    CarcassMeasurement r;
    r.kind = 'E';
    r.timeDate = "10:00:00  01-01-2024";
    for (int n = 0; n < 300; ++n)
        content += LogLineFor(r);
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content.data(), static_cast<qint64>(content.size()));
    file.close();
    Store({{"LogFilePath", log.toStdString()}});
    MainWindow& w = Make();
    auto* view = Control<QTableView>("mfgResult");
    for (int n = 0; n < 40; ++n) {
        AppendToResultView(w.views(), n % 7 ? "10:00:01  01-01-2024,1,2,3,4,5,6,\r" : "Probe error\r", n % 7 != 0);
        QCoreApplication::processEvents();
        const int rowHeight = view->verticalHeader()->defaultSectionSize();
        ASSERT_EQ(view->viewport()->height() % rowHeight, 0) << "after " << n << " rows";
        EXPECT_EQ(view->rowViewportPosition(view->rowAt(0)), 0) << "the top row is whole";
    }
}
