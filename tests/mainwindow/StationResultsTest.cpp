// Probe messages becoming results in the main window: shown, logged, and never lost; choosing
// the log file.

#include "MainWindowFixture.h"

#include "carcass/ParsedScaleReader.h"
#include "carcasswindow/CurrentCarcassWindow.h"
#include "help/TextWindow.h"
#include "log/LogRecordFormat.h"
#include "logviews/LogView.h"
#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"
#include "mainwindow/StationResults.h"
#include "station/LinkCommandSink.h"
#include "station/ProbeResults.h"
#include "station/StationPairings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

#include <fcntl.h>

namespace {

const std::string kExample = "E0100012301250530001203000450612ABS140533X";

std::string ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

// The main window as the results part sees it: panels, and windows it is told about.
struct RecordingWindow : StationWindowAccess {
    void SetStatusPanel(int panel, const QString& text) override { panels[panel] = text; }
    void ShowLogFilePath() override { waitingShown.push_back(results->UnwrittenRecords()); }
    void RegisterStationWindow(QWidget*) override {}
    void LeaveSummaryMode() override {}

    StationResults* results = nullptr;
    std::map<int, QString> panels;
    std::vector<size_t> waitingShown; // records waiting each time panel 5 was to be shown
};

// The results part on its own: real views, the link over a fake port, no main window.
class StationResultsRig : public ::testing::Test {
protected:
    StationResultsRig()
    {
        gridView.setModel(&grid);
        ApplyTemplate(views, finishing.templateNumber());
        probeResults.SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 30, 0)); });
        window.results = &results;
        pairings.TakeResultsFrom(probeResults);
    }
    void Probe(const std::string& message) { probeResults.OnProbeMessage(message); }
    ResultGridModel& Grid() { return grid; }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    ScriptedDialogs dialogs;
    TerminalPane pane;
    ResultGridModel grid;
    QTableView gridView;
    ResultViews views{&pane, &grid, &gridView};
    WeighingState weighing;
    PendingQueue queue;
    FakeSerialPort port;
    ProbeLink link{port};
    LinkCommandSink commands{link};
    std::string scaleMessage;
    ScaleOptions options;
    ParsedScaleReader scale{scaleMessage, options};
    ResultLog resultLog{PosixLogFileSystem(), dialogs};
    ResultFinishing finishing{resultLog};
    ProbeResults probeResults{weighing, finishing};
    RecordingWindow window;
    QWidget windowsParent; // owns the windows the results part opens
    StationPairings pairings{StationPairingLinks{weighing, probeResults.current(), queue, commands, scale, dialogs}};
    StationResults results{StationResultsLinks{views, weighing, dialogs, settings, link, pairings, probeResults,
                                               resultLog, finishing, window, &windowsParent, [] { return false; }}};
};

class StationResultsTest : public MainWindowFixture {
protected:
    MainWindow& Station()
    {
        MainWindow& w = Make();
        w.core().parts().probeResults.SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 30, 0)); });
        return w;
    }
    void Probe(const std::string& message) { window->core().parts().probeResults.OnProbeMessage(message); }
    ResultGridModel& Grid() { return *window->views().grid; }
};

} // namespace

TEST_F(StationResultsRig, MeasurementsAndCancelsAreShownAndLogged)
{
    const QString log = dir.filePath("shift.dif");
    StationResults& w = results;
    resultLog.SetLogFilePath(log.toStdString());

    Probe(kExample);
    ASSERT_EQ(Grid().Rows(), 2);
    EXPECT_EQ(Grid().Cell(1, 0), "14:05:33");
    EXPECT_EQ(Grid().Cell(1, 1), "09-12-2026");
    EXPECT_EQ(Grid().Cell(1, 2), "000123");
    CurrentCarcassWindow* led = w.ExistingCurrentCarcassWindow();
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(led->Text("LEDcou"), "123");
    EXPECT_EQ(led->Text("LEDmea"), "61.2");

    Probe("C01000123");
    ASSERT_EQ(Grid().Rows(), 3);
    EXPECT_EQ(Grid().Cell(2, 0), "Cancel      000123");
    EXPECT_TRUE(Grid().CellRed(2, 0));
    // The message reads across the row; results do not.
    QTableView* view = &gridView;
    EXPECT_EQ(view->columnSpan(1, 0), Grid().Columns());
    EXPECT_EQ(view->columnSpan(0, 0), 1);
    EXPECT_EQ(led->Text("LEDerr"), "Cancel probe measurement");
    EXPECT_TRUE(pane.Text().endsWith("Cancel      000123\r\n"));

    Probe("Z0039");
    EXPECT_EQ(window.panels[1], "No Meat");
    EXPECT_EQ(led->Text("LEDerr"), "No Meat");

    const std::string logged = ReadFile(log);
    EXPECT_EQ(logged.substr(0, LogHeaderLine().size()), LogHeaderLine());
    const std::string alerts = "\tCancel      000123\t\r\n\tNo Meat\t\r\n";
    ASSERT_GT(logged.size(), alerts.size());
    EXPECT_EQ(logged.substr(logged.size() - alerts.size()), alerts);
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 4);

    // The probe's reports open the text window.
    Probe("U261209083001");
    TextWindow* text = w.textWindow();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->Text().startsWith("PC's\nDate: 09-12-2026\nTime: 08:30:00"));

    // A closed current carcass window comes back with the next probe result.
    led->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Probe(kExample);
    led = w.ExistingCurrentCarcassWindow();
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(led->Text("LEDcla"), "S");
    EXPECT_FALSE(led->isVisible());
}

TEST_F(StationResultsTest, ShowCurrentCarcassWindowWithoutWeighing)
{
    MainWindow& w = Station();
    CurrentCarcassWindow* led = w.findChild<CurrentCarcassWindow*>("frmLED");
    ASSERT_NE(led, nullptr) << "loaded, hidden, at start-up";
    EXPECT_FALSE(led->isVisible());
    Menu("mnuWgtNon")->setChecked(false);
    Menu("mnuShowCC")->trigger();
    EXPECT_TRUE(led->isVisible());
    EXPECT_TRUE(Menu("mnuWgtNon")->isChecked());
    EXPECT_TRUE(led->findChild<QWidget*>("fraPending")->isHidden());
    EXPECT_TRUE(led->findChild<QWidget*>("fraManualInput")->isHidden());
    EXPECT_FALSE(led->findChild<QWidget*>("fraResults")->isHidden());
}

TEST_F(StationResultsRig, RecordsThatCannotBeWrittenAreKeptAndWrittenLater)
{
    struct Case {
        const char* what;
        QString path;
        QString explanation;
        MessageIcon icon;
        std::function<void()> mend;
    } cases[] = {
        {"folder missing", dir.filePath("later/shift.dif"), "file does not exist", MessageIcon::Information,
         [&] { QDir(dir.path()).mkdir("later"); }},
        {"log path is a folder", dir.filePath("busy.dif"), "is not a regular file. Please choose a log file.",
         MessageIcon::Exclamation, [&] { QDir(dir.path()).rmdir("busy.dif"); }},
    };
    QDir(dir.path()).mkdir("busy.dif");
    for (auto& c : cases) {
        dialogs.asked.clear();
        window.waitingShown.clear();
        StationResults& w = results;
        resultLog.SetLogFilePath(c.path.toStdString());
        for (const char* counter : {"001", "002"})
            Probe("E01000" + std::string(counter) + kExample.substr(9));
        ASSERT_EQ(dialogs.Count("Notice"), 1) << c.what << ": one message per fault, not per record";
        const auto* asked = dialogs.Last("Notice");
        EXPECT_TRUE(asked->text.endsWith(c.path + " " + c.explanation)) << asked->text.toStdString();
        EXPECT_EQ(asked->icon, c.icon) << c.what;
        EXPECT_EQ(asked->title, "Tallion");
        EXPECT_EQ(w.UnwrittenRecords(), 2u);
        EXPECT_EQ(window.waitingShown, (std::vector<size_t>{1, 2})) << "panel 5 follows every write";

        c.mend();
        Probe("E01000003" + kExample.substr(9));
        EXPECT_EQ(w.UnwrittenRecords(), 0u) << c.what;
        EXPECT_EQ(window.waitingShown.back(), 0u) << c.what;
        const std::string logged = ReadFile(c.path);
        const auto first = logged.find("\t000001\t");
        const auto second = logged.find("\t000002\t");
        const auto third = logged.find("\t000003\t");
        ASSERT_NE(first, std::string::npos) << c.what;
        EXPECT_LT(first, second);
        EXPECT_LT(second, third);
        EXPECT_NE(third, std::string::npos);
        EXPECT_EQ(dialogs.Count("Notice"), 1) << c.what;
    }
}

TEST_F(StationResultsTest, UnwrittenRecordsGoToARecoveryFileAtShutDown)
{
    QStandardPaths::setTestModeEnabled(true);
    MainWindow& w = Station();
    w.core().parts().resultLog.SetLogFilePath(dir.filePath("nowhere/shift.dif").toStdString());
    Probe(kExample);
    ASSERT_EQ(w.results().UnwrittenRecords(), 1u);
    EXPECT_TRUE(w.StatusPanel(5).endsWith("  (1 waiting)")) << w.StatusPanel(5).toStdString();
    dialogs.asked.clear();
    w.close();
    const auto* told = dialogs.Last("Message");
    ASSERT_NE(told, nullptr);
    const QString recovery = told->text.section("\r\n", 1, 1);
    ASSERT_TRUE(QFile::exists(recovery)) << told->text.toStdString();
    const std::string saved = ReadFile(recovery);
    EXPECT_EQ(saved.substr(0, LogHeaderLine().size()), LogHeaderLine());
    EXPECT_NE(saved.find("\t000123\t"), std::string::npos);
    QFile::remove(recovery);
    QStandardPaths::setTestModeEnabled(false);
}

TEST_F(StationResultsTest, ChoosingTheLogFile)
{
    const QString existing = dir.filePath("old.dif");
    {
        QFile f(existing);
        f.open(QIODevice::WriteOnly);
        CarcassMeasurement r;
        r.kind = 'E';
        r.timeDate = "10:00:00  01-12-2026";
        r.carcassCount = "000777";
        f.write((LogHeaderLine() + LogLineFor(r) + LogLineFor(r)).c_str());
    }
    QFile(dir.filePath("plain")).open(QIODevice::WriteOnly);

    struct Case {
        const char* what;
        std::optional<QString> chosen;
        bool linkAlive;
        std::string pathAfter;
        int gridRows;
        bool fileCreated;
        int messages;
        bool counterReset;
    } cases[] = {
        {"cancelled", std::nullopt, true, "", 1, false, 0, false},
        {"new file", dir.filePath("new.dif"), false, dir.filePath("new.dif").toStdString(), 1, true, 0, false},
        {"new file, counter reset", dir.filePath("new2.dif"), true, dir.filePath("new2.dif").toStdString(), 1, true, 1,
         true},
        {"existing file", existing, false, existing.toStdString(), 3, false, 0, false},
        {"cannot be created", dir.filePath("missing/x.dif"), false, "", 1, false, 1, false},
        {"look-up fails", dir.filePath("plain/x.dif"), false, "", 1, false, 1, false},
    };
    for (const auto& c : cases) {
        dialogs.asked.clear();
        settings.WriteSetting("Properties", "LogFilePath", "");
        MainWindow& w = Station();
        if (c.linkAlive)
            w.core().parts().link.setProbeLinkAlive(true);
        dialogs.QueueOpenFile(c.chosen);
        dialogs.QueueMessageAnswer(MessageAnswer::Yes);
        w.ChooseLogFile();
        EXPECT_EQ(w.core().resultLog().logFilePath(), c.pathAfter) << c.what;
        EXPECT_EQ(Grid().Rows(), c.gridRows) << c.what;
        EXPECT_EQ(dialogs.Count("Message"), c.messages) << c.what;
        EXPECT_EQ(w.core().link().Queue().count == 1 && w.core().link().Queue().slotTexts[0] == "3000001",
                  c.counterReset)
            << c.what;
        if (c.fileCreated) {
            EXPECT_TRUE(QFile::exists(QString::fromStdString(c.pathAfter))) << c.what;
            EXPECT_EQ(QFile(QString::fromStdString(c.pathAfter)).size(), 0) << c.what;
        }
        if (!c.pathAfter.empty()) {
            EXPECT_EQ(Stored("LogFilePath"), c.pathAfter) << c.what;
            EXPECT_EQ(w.StatusPanelTip(5), "Name of Log File") << c.what;
        }
    }
}

TEST_F(StationResultsRig, ATornLastLineIsToldOnceAndABusyLockOnlyDelaysTheRecord)
{
    const QString path = dir.filePath("shared.dif");
    const std::string torn = "Error\tTime & Date\t\r\n\t08:29:59  09-12-2026\tSingle Si";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(torn.c_str());
    }
    resultLog.SetLogFilePath(path.toStdString());
    Probe("E01000001" + kExample.substr(9));
    Probe("E01000002" + kExample.substr(9));
    ASSERT_EQ(dialogs.Count("Notice"), 1);
    EXPECT_TRUE(dialogs.Last("Notice")->text.startsWith("The last line of the log file was incomplete"));
    std::string logged = ReadFile(path);
    EXPECT_EQ(logged.substr(0, torn.size() + 3), torn + "\r\n\t") << "the fragment is kept, the record follows";
    EXPECT_NE(logged.find("\t000002\t"), std::string::npos);

    // Another station holds the lock: the record waits, nobody is told, and it is written at
    // the next tick once the lock is free.
    LogFileSystem& fs = PosixLogFileSystem();
    const int other = fs.Open(resultLog.logFilePath(), O_RDWR);
    ASSERT_EQ(fs.TryLock(other), 0);
    Probe("E01000003" + kExample.substr(9));
    EXPECT_EQ(results.UnwrittenRecords(), 1u);
    EXPECT_EQ(dialogs.Count("Notice"), 1);
    fs.Close(other);
    EXPECT_TRUE(QTest::qWaitFor([&] { return results.UnwrittenRecords() == 0; }, 1000));
    EXPECT_NE(ReadFile(path).find("\t000003\t"), std::string::npos);
    EXPECT_EQ(dialogs.Count("Notice"), 1);
}
