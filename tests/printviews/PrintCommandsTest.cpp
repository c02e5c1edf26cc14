// The main window's printing: the print dialog and what it writes, the printer dialog, real-time
// printing of results (never of cancels), the printer status in panel 4 and in the probe's
// command queue, and a spooler that hangs while the probe link goes on answering.

#include "mainwindow/MainWindowFixture.h"

#include "logviewer/LogViewer.h"
#include "logviews/ResultGridModel.h"
#include "logviews/ResultView.h"
#include "logviews/TerminalPane.h"
#include "mainwindow/StationResults.h"
#include "printviews/PrintCommands.h"
#include "printviews/PrintWindow.h"
#include "probe/ProbeFraming.h"
#include "support/RecordingSpooler.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {

const std::string kTitlesRow = "Time Date Carcass# Type Fat1 Fat2 Meat Meat% Class Quality \r\n";
const std::string kResultRow = "14:05:33 09-12-2026 000123 1 12.0 3.0 45.0 61.2 E A \r\n";

std::string ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

class PrintCommandsTest : public MainWindowFixture {
protected:
    // A station with log file shift2.dif and one result in the pane and the grid.
    MainWindow& Station(bool withResult = true)
    {
        MainWindow& w = Make();
        w.core().parts().resultLog.SetLogFilePath(dir.filePath("shift2.dif").toStdString());
        if (withResult)
            AppendToResultView(w.views(), "14:05:33  09-12-2026,000123,1,12.0,3.0,45.0,61.2,E,A,\r", true);
        // Print is usable while the probe link works.
        w.core().parts().link.setProbeLinkAlive(true);
        w.RefreshFindPrint();
        return w;
    }

    PrintWindow* OpenDialog()
    {
        Menu("mnuPrint")->trigger();
        return window->printing().PrintDialog();
    }

    // The print dialog has closed (and is gone).
    bool DialogClosed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window->printing().PrintDialog() == nullptr;
    }

    RecordingSpooler* UseFakeSpooler()
    {
        auto owned = std::make_unique<RecordingSpooler>();
        RecordingSpooler* fake = owned.get();
        window->printing().printer().UseSpooler(std::move(owned));
        return fake;
    }
};

TEST_F(PrintCommandsTest, PrintOpensTheDialogOnlyWithALogFileAndText)
{
    struct Case {
        bool logFile;
        bool text;
        bool opens;
    };
    for (const Case c : {Case{false, true, false}, Case{true, false, false}, Case{true, true, true}}) {
        MainWindow& w = Station(c.text);
        if (!c.logFile)
            w.core().parts().resultLog.SetLogFilePath({});
        EXPECT_EQ(OpenDialog() != nullptr, c.opens) << c.logFile << c.text;
    }
}

TEST_F(PrintCommandsTest, PrintToFileNamesTheFileAfterTheLogAndAddsTheShownSummary)
{
    const QString out = dir.filePath("out");
    QDir().mkpath(out);
    Store({{"TxtFilePath", (out + "/").toStdString()}});
    MainWindow& w = Station();
    PrintWindow* dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Print");
    EXPECT_EQ(dialog->FileTitle(), "shift2.txt");
    EXPECT_EQ(dialog->Folder(), out + "/");
    dialog->findChild<QPushButton*>("CmdPTF")->click();
    EXPECT_EQ(ReadFile(out + "/shift2.txt"), kTitlesRow + kResultRow);
    EXPECT_TRUE(DialogClosed());

    // With the summary shown, the pane's text follows the grid.
    w.logViewer().SetSummaryShown(true);
    w.views().terminal->ClearPane();
    w.views().terminal->AppendColoured("Total:           1\r\n", Qt::black);
    OpenDialog()->findChild<QPushButton*>("CmdPTF")->click();
    EXPECT_EQ(ReadFile(out + "/shift2.txt"), kTitlesRow + kResultRow + "Total:           1\r\n\r\n");
}

TEST_F(PrintCommandsTest, BrowseChoosesTheFileAndRemembersItsFolder)
{
    Station();
    // Without a folder chosen yet, the file goes beside the log.
    PrintWindow* dialog = OpenDialog();
    EXPECT_EQ(dialog->Folder(), dir.path() + "/");

    dialogs.QueueSave(std::nullopt);
    dialog->findChild<QToolButton*>("CmdFolder")->click();
    const ScriptedDialogs::Asked* asked = dialogs.Last("SaveFile");
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->title, "Save File");
    EXPECT_EQ(asked->text, "Text File (*.txt)|*.txt|ALL FILES (*.*)|*.*");
    EXPECT_EQ(asked->detail, dir.filePath("shift2.txt"));
    EXPECT_EQ(window->printing().PrintDialog(), dialog) << "a cancel leaves the dialog open";
    EXPECT_EQ(Stored("TxtFilePath"), "<absent>");

    QDir().mkpath(dir.filePath("reports"));
    dialogs.QueueSave(dir.filePath("reports/day.txt"));
    dialog->findChild<QToolButton*>("CmdFolder")->click();
    EXPECT_EQ(ReadFile(dir.filePath("reports/day.txt")), kTitlesRow + kResultRow);
    EXPECT_EQ(Stored("TxtFilePath"), dir.filePath("reports/").toStdString());
}

TEST_F(PrintCommandsTest, DialogWorksFromTheKeyboard)
{
    Station();
    PrintWindow* dialog = OpenDialog();
    EXPECT_EQ(dialog->findChild<QPushButton*>("CmdPTF")->text(), "Print to &file");
    EXPECT_EQ(dialog->findChild<QPushButton*>("CmdPTP")->text(), "Print to p&aper"); // "p" is the path's
    EXPECT_EQ(dialog->findChild<QPushButton*>("CmdCancel")->text(), "&Cancel");
    EXPECT_EQ(dialog->findChild<QToolButton*>("CmdFolder")->toolTip(), "browse");

    // Return prints on paper: the printer dialog is asked (and cancelled here).
    QTest::keyClick(dialog, Qt::Key_Return);
    EXPECT_EQ(dialogs.Count("Printer"), 1);
    EXPECT_TRUE(DialogClosed());

    dialog = OpenDialog();
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_TRUE(DialogClosed());
    EXPECT_EQ(dialogs.Count("Printer"), 1);
}

TEST_F(PrintCommandsTest, PrintToPaperPrintsTheGridAndTheShownSummary)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (Debian package poppler-utils)";
    MainWindow& w = Station();
    w.logViewer().SetSummaryShown(true);
    w.views().terminal->ClearPane();
    w.views().terminal->AppendColoured("Total:           1\r\n", Qt::black);
    const QString pdf = dir.filePath("paper.pdf");
    dialogs.QueuePrinter(true, [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    });
    OpenDialog()->findChild<QPushButton*>("CmdPTP")->click();

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages[0].simplified().startsWith("Time Date Carcass# Type Fat1 Fat2 Meat Meat% Class Quality"))
        << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains("000123"));
    EXPECT_EQ(pages[1].simplified(), "Total: 1");

    // Cancelled in the printer dialog: nothing is printed.
    QFile::remove(pdf);
    OpenDialog()->findChild<QPushButton*>("CmdPTP")->click();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintCommandsTest, RealTimePrintingPrintsResultsButNeverCancels)
{
    MainWindow& w = Station(false);
    RecordingSpooler* spooler = UseFakeSpooler();
    w.core().parts().probeResults.SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 30, 0)); });
    QAction* entry = Menu("mnuRTPrint");
    EXPECT_FALSE(entry->isChecked());
    EXPECT_FALSE(w.printing().statusTimer().isActive());

    entry->trigger();
    EXPECT_TRUE(entry->isChecked());
    EXPECT_TRUE(w.printing().statusTimer().isActive());
    QSignalSpy done(&w.printing().printer(), &StationPrinter::jobDone);
    w.core().parts().probeResults.OnProbeMessage("E0100012301250530001203000450612ABS140533X");
    ASSERT_TRUE(done.wait(2000));
    w.core().parts().probeResults.OnProbeMessage("C01000123");
    QTest::qWait(200);

    const auto jobs = spooler->Jobs();
    ASSERT_EQ(jobs.size(), 1u) << "the cancel is not printed";
    EXPECT_EQ(jobs[0].title, "Kestrane Tallion Tool");
    EXPECT_EQ(jobs[0].bytes, "Time   Date   Carcass#   Type   Fat1   Fat2   Meat   Meat%   Class   Quality   \r\n"
                             "14:05:33  09-12-2026,000123,01, 12.5 A,, 53.0 B,61.2,S,,\r\n\r\n");

    entry->trigger();
    EXPECT_FALSE(entry->isChecked());
    EXPECT_FALSE(w.printing().statusTimer().isActive());
    w.core().parts().probeResults.OnProbeMessage("E0100012401250530001203000450612ABS140533X");
    QTest::qWait(200);
    EXPECT_EQ(spooler->Jobs().size(), 1u);
}

TEST_F(PrintCommandsTest, PrinterStatusShowsInPanel4AndTheProbeHearsIt)
{
    struct Case {
        bool linkAlive;
        std::vector<std::string> queued;
    };
    for (const Case& c : {Case{true, {"P01"}}, Case{false, {}}}) {
        MainWindow& w = Station(false);
        RecordingSpooler* spooler = UseFakeSpooler();
        spooler->SetQueue(ReadQueueOf({SpoolJobState::Pending}));
        w.core().parts().link.setProbeLinkAlive(c.linkAlive);
        QSignalSpy polled(&w.printing().printer(), &StationPrinter::statusPolled);
        Menu("mnuRTPrint")->trigger();
        ASSERT_TRUE(polled.wait(2000));
        w.printing().StopStatusPoll();
        EXPECT_EQ(w.StatusPanel(4), "Offline!") << "shown without its line end";
        EXPECT_EQ(w.StatusPanelTip(4), "Offline!");
        CommandQueue queue = w.core().link().Queue();
        std::vector<std::string> queued;
        while (queue.count > 0)
            queued.push_back(queue.TakeNext());
        EXPECT_EQ(queued, c.queued) << c.linkAlive;
        Menu("mnuRTPrint")->trigger();
        EXPECT_EQ(w.StatusPanel(4), "") << "no printer watched: no state shown";
        EXPECT_EQ(w.StatusPanelTip(4), "");
    }
}

TEST_F(PrintCommandsTest, AHangingSpoolerLeavesTheProbeLinkAnswering)
{
    Station(false);
    RecordingSpooler* spooler = UseFakeSpooler();
    spooler->Hold(true);
    Menu("mnuRTPrint")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return spooler->Waiting(); }, 2000));
    // The link's first reception only brings it out of its start state.
    probePort->Feed("x");
    QTest::qWait(150);
    probePort->TakeWritten();
    for (int poll = 0; poll < 3; ++poll) {
        probePort->Feed(ProbeBytes::kDataPoll);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return probePort->Written().find(ProbeBytes::kDataPollAccepted) != std::string::npos; }, 1000))
            << "poll " << poll;
        probePort->TakeWritten();
        probePort->Feed(std::string{ProbeBytes::EOT});
        QTest::qWait(120);
        probePort->TakeWritten();
    }
    EXPECT_EQ(spooler->Reads(), 1) << "the hanging look is not asked again meanwhile";

    // Closing the station gives up the hanging call at once.
    QElapsedTimer closing;
    closing.start();
    window.reset();
    EXPECT_LT(closing.elapsed(), 1000);
}

} // namespace
