#include "MainWindowFixture.h"

#include "logviews/ResultGridModel.h"
#include "printviews/PrintCommands.h"
#include "settings/StartUpValues.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

const char* const kAnalysisEntries[] = {"mnuAnal0", "mnuAnal1", "mnuAnal2", "mnuAnal3", "mnuAnal4",
                                        "mnuAnal5", "mnuAnal6", "mnuAnal7", "mnuAnal8", "mnuAnal9"};
const char* const kTemplateEntries[] = {"mnuD1", "mnuD2", "mnuD3", "mnuD4", "mnuD5",
                                        "mnuD6", "mnuD7", "mnuD8", "mnuD9", "mnuhamcolour"};

} // namespace

using MainWindowStartUp = MainWindowFixture;

TEST_F(MainWindowStartUp, FreshStoreStartsWithDefaults)
{
    MainWindow& w = Make();

    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tallion Tool  -  Kestrane Tallion Systems LTD  -  Version 7.4.1"));

    EXPECT_EQ(probePort->CommPort(), 1);
    EXPECT_EQ(probePort->Settings(), "4800,e,7,2");
    EXPECT_TRUE(probePort->PortOpen());
    EXPECT_EQ(probePort->openCount, 1);
    EXPECT_FALSE(scalePort->PortOpen());

    EXPECT_EQ(w.StatusPanel(1), QStringLiteral("Connect Probe"));
    EXPECT_EQ(w.StatusPanel(2), QStringLiteral("1"));
    EXPECT_EQ(w.StatusPanel(5), QString());
    EXPECT_EQ(w.StatusPanelTip(1), QStringLiteral("Error or status reported from probe"));
    EXPECT_EQ(w.StatusPanelTip(2), QStringLiteral("Serial port to probe"));
    EXPECT_EQ(w.StatusPanelTip(3), QStringLiteral("Serial port to weight scale"));
    EXPECT_EQ(w.StatusPanelTip(4), QString());
    EXPECT_EQ(w.StatusPanelTip(5), QStringLiteral("Logfile"));
    EXPECT_EQ(w.StatusPanelTip(6), QStringLiteral("Probe serial number"));
    EXPECT_EQ(w.StatusPanelTip(7), QStringLiteral("Time elapsed"));

    EXPECT_EQ(w.core().resultFinishing().templateNumber(), 3);
    EXPECT_TRUE(w.core().resultLog().logFilePath().empty());
    EXPECT_EQ(w.core().weighingState().weightSource, WeightSource::NoWeight);
    EXPECT_TRUE(w.core().weighingState().weightBeforeProbe);
    EXPECT_EQ(w.core().weighingState().decimalMark, ".");
    EXPECT_FALSE(w.core().link().probeLinkAlive());
    EXPECT_TRUE(w.core().link().linkNeedsInit());
    EXPECT_EQ(dialogs.asked.size(), 0u);

    EXPECT_FALSE(w.isShow());
    for (const char* hidden : {"frWeight", "frResult", "Frame3", "frError", "Terminal", "Label6", "txtWeightResult"})
        EXPECT_FALSE(Control<QWidget>(hidden)->isVisible()) << hidden;
    // No hidden buttons stand in for calls: a weight reaches the pairing and a carcass is
    // finished directly.
    for (const char* gone : {"Frame5", "Command1", "CmdFinish"})
        EXPECT_EQ(Control<QWidget>(gone), nullptr) << gone;
    EXPECT_TRUE(Control<QWidget>("mfgResult")->isVisible());
    EXPECT_EQ(Control<QWidget>("txtError")->toolTip(), QStringLiteral("Errors for probe operator"));
    EXPECT_EQ(Control<QWidget>("LblLink")->toolTip(), QStringLiteral("Link: red=bad, green(flash)=good"));
    EXPECT_EQ(Control<QWidget>("CmdExit")->toolTip(), QStringLiteral("Exit"));
    EXPECT_EQ(Control<QWidget>("OpenLogFile")->toolTip(), QStringLiteral("Log to File"));
    EXPECT_EQ(Control<QWidget>("Pause")->toolTip(), QStringLiteral("View Log-File (F7)"));
    EXPECT_EQ(Control<QLabel>("LblLink")->text(), QStringLiteral("Link"));
    EXPECT_EQ(Control<QLabel>("Label2")->text(), QStringLiteral("Carcass Count"));
    EXPECT_EQ(Control<QLabel>("Label6")->text(), QStringLiteral("Weight(Kg)"));

    // The grid is laid out for template 3 and its title shows above it.
    EXPECT_EQ(w.views().grid->Columns(), 10);
    EXPECT_EQ(Control<QLabel>("Title")->text(),
              QStringLiteral("Time,Date,Carcass#,Type,Fat1,Fat2,Meat,Meat%,Class,Quality"));

    EXPECT_TRUE(w.core().receiveTick().isRunning());
    EXPECT_EQ(w.core().receiveTick().interval(), 50);
    EXPECT_TRUE(Control<QTimer>("Clock")->isActive());
    EXPECT_EQ(Control<QTimer>("Clock")->interval(), 1000);
    EXPECT_FALSE(w.printing().statusTimer().isActive());
    EXPECT_EQ(w.printing().statusTimer().interval(), 100);
}

TEST_F(MainWindowStartUp, ProbePortFromTheStore)
{
    // The in-memory port starts on port 1 at "9600,n,8,1": a skipped step leaves those.
    struct Case {
        const char* name;
        std::map<std::string, std::string> stored;
        int port;
        const char* settingsText;
        const char* panel2;
    };
    const Case cases[] = {
        {"older keys", {{"RZ4PortNumber", "3"}, {"RZ4PortSetting", "9600,n,8,1"}}, 3, "9600,n,8,1", "3"},
        {"dialog keys win",
         {{"RZ4PortNumber", "3"},
          {"RZ4PortSetting", "9600,n,8,1"},
          {"RZ7PortNumber", "5"},
          {"RZ7PortSetting", "38400,n,8,1"}},
         5,
         "38400,n,8,1",
         "5"},
        {"dialog number only", {{"RZ4PortNumber", "3"}, {"RZ7PortNumber", "4"}}, 4, "4800,e,7,2", "4"},
        {"port 10", {{"RZ4PortNumber", ":"}}, 10, "4800,e,7,2", ":"},
        {"first character only", {{"RZ4PortNumber", "27"}}, 2, "4800,e,7,2", "2"},
        {"number not a port", {{"RZ4PortNumber", "x"}, {"RZ4PortSetting", "2400,e,7,1"}}, 1, "2400,e,7,1", "1"},
        {"empty number", {{"RZ7PortNumber", ""}, {"RZ4PortNumber", "6"}}, 6, "4800,e,7,2", "6"},
        {"settings not settings", {{"RZ4PortNumber", "2"}, {"RZ4PortSetting", "fast"}}, 2, "9600,n,8,1", "2"},
        {"bad dialog settings", {{"RZ7PortSetting", "4800,q,7,2"}}, 1, "9600,n,8,1", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(settings.FilePath());
        dialogs.asked.clear();
        Store(c.stored);
        MainWindow& w = Make();
        EXPECT_EQ(probePort->CommPort(), c.port);
        EXPECT_EQ(probePort->Settings(), c.settingsText);
        EXPECT_TRUE(probePort->PortOpen());
        EXPECT_EQ(w.StatusPanel(2), QString::fromLatin1(c.panel2));
        EXPECT_EQ(w.StatusPanel(1), QStringLiteral("Connect Probe"));
        EXPECT_TRUE(Control<QTimer>("Clock")->isActive());
        EXPECT_EQ(dialogs.asked.size(), 0u);
    }
}

TEST_F(MainWindowStartUp, PortThatCannotOpenLeavesTheStationRunning)
{
    probeFailsToOpen = true;
    MainWindow& w = Make();
    EXPECT_FALSE(probePort->PortOpen());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.StatusPanel(1), QStringLiteral("Connect Probe"));
    EXPECT_EQ(w.StatusPanel(2), QStringLiteral("1 (no device)"));
    EXPECT_TRUE(w.core().receiveTick().isRunning());
    EXPECT_TRUE(Menu("mnuAnal1")->isChecked());
    EXPECT_EQ(dialogs.asked.size(), 0u);
}

TEST_F(MainWindowStartUp, TicksFollowTheStoreButWeighingStartsOff)
{
    struct Case {
        std::map<std::string, std::string> stored;
        int analysisTicked; // -1: none
        int templateTicked;
    };
    const Case cases[] = {
        {{}, 1, 3},
        {{{"AnaType", "900"}}, -1, 3},
        {{{"AnaType", "904"}}, -1, 3},
        {{{"AnaType", "902"}}, 2, 3},
        {{{"AnaType", "905"}}, 5, 3},
        {{{"AnaType", "909"}}, 9, 3},
        {{{"AnaType", "abc"}}, -1, 3},
        {{{"Banner", "7"}}, 1, 7},
        {{{"Banner", "10"}}, 1, 10},
        {{{"Banner", "1"}, {"AnaType", "903"}}, 3, 1},
        {{{"Banner", "42"}}, 1, 3},
        {{{"Banner", "three"}}, 1, 3},
        {{{"WgtScaleModel", "3"}, {"WgtPrbOrder", "0"}, {"UseWgtInEqu", "True"}}, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.stored));
        QFile::remove(settings.FilePath());
        Store(c.stored);
        MainWindow& w = Make();
        for (int i = 0; i <= 9; ++i)
            EXPECT_EQ(Menu(kAnalysisEntries[i])->isChecked(), i == c.analysisTicked) << i;
        for (int n = 1; n <= 10; ++n)
            EXPECT_EQ(Menu(kTemplateEntries[n - 1])->isChecked(), n == c.templateTicked) << n;
        EXPECT_EQ(w.core().resultFinishing().templateNumber(), c.templateTicked);

        // Whatever the store says, no weighing and weight before probe.
        EXPECT_EQ(w.core().weighingState().weightSource, WeightSource::NoWeight);
        EXPECT_TRUE(w.core().weighingState().weightBeforeProbe);
        EXPECT_TRUE(Menu("mnuWgtNon")->isChecked());
        EXPECT_FALSE(Menu("mnuWgtTOL")->isChecked());
        EXPECT_TRUE(Menu("mnuWbP")->isChecked());
        EXPECT_FALSE(Menu("mnuPbW")->isChecked());
        EXPECT_FALSE(Menu("mnuWgtCom")->isVisible());
        EXPECT_FALSE(Menu("mnuWP")->isVisible());
        EXPECT_EQ(Control<QWidget>("txtError")->toolTip(), QStringLiteral("Errors for probe operator"));
    }
}

TEST_F(MainWindowStartUp, LogPathInPanelFiveAndAnUnreadableLogIsReported)
{
    struct Case {
        const char* path;
        const char* panel;
    };
    const Case cases[] = {
        // 32 characters: whole.
        {"/home/operator/results/shift.dif", "/home/operator/results/shift.dif"},
        // 33 characters: the first separator, three dots, the file name.
        {"/home/operator/results/shift1.dif", "/.../shift1.dif"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_EQ(std::string(c.path).size() == 32, std::string(c.panel) == c.path);
        QFile::remove(settings.FilePath());
        dialogs.asked.clear();
        Store({{"LogFilePath", c.path}});
        MainWindow& w = Make();
        EXPECT_EQ(w.core().resultLog().logFilePath(), c.path);
        EXPECT_EQ(w.StatusPanel(5), QString::fromLatin1(c.panel));
        EXPECT_EQ(w.StatusPanelTip(5), QStringLiteral("Name of Log File"));

        // The file does not exist: the operator is told, and start-up goes on to the end.
        ASSERT_EQ(dialogs.Count(QStringLiteral("Notice")), 1);
        EXPECT_EQ(dialogs.Last(QStringLiteral("Notice"))->title, QStringLiteral("Open ") + QString::fromLatin1(c.path));
        EXPECT_EQ(Control<QWidget>("txtError")->toolTip(), QStringLiteral("Errors for probe operator"));
        EXPECT_TRUE(Control<QTimer>("Clock")->isActive());
    }
}

TEST_F(MainWindowStartUp, StoredLogIsLoadedIntoTheViews)
{
    const QString path = dir.filePath(QStringLiteral("shift.dif"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Header line, then one result line of template 3's columns (time and date, count, ...).
    std::string line = "\t08:15:00  01-02-2026\tE\tP\t000123\t12\t14\t55\t";
    for (int i = 8; i < 40; ++i)
        line += i == 13 ? "58.2\t" : (i == 15 ? "E\t" : "\t");
    file.write("Error\tTime & Date\t\r\n");
    file.write((line + "\r\n").c_str());
    file.close();
    Store({{"LogFilePath", path.toStdString()}});

    MainWindow& w = Make();
    EXPECT_EQ(dialogs.asked.size(), 0u);
    ASSERT_GE(w.views().grid->Rows(), 2);
    EXPECT_EQ(w.views().grid->Cell(1, 0), QStringLiteral("08:15:00"));
}

TEST(StartUpValues, StoredTextsToTicks)
{
    struct AnaCase {
        const char* stored;
        int entry; // -1: none
    };
    for (const AnaCase& c :
         {AnaCase{"900", -1}, AnaCase{"901", 1}, AnaCase{"903", 3}, AnaCase{"904", -1}, AnaCase{"905", 5},
          AnaCase{"909", 9}, AnaCase{"910", -1}, AnaCase{" 901", -1}, AnaCase{"", -1}}) {
        const auto entry = AnalysisEntryToTick(c.stored);
        EXPECT_EQ(entry.value_or(-1), c.entry) << '"' << c.stored << '"';
    }
    struct BannerCase {
        const char* stored;
        int templateNumber; // -1: not a template
    };
    for (const BannerCase& c : {BannerCase{"1", 1}, BannerCase{"10", 10}, BannerCase{" 7 ", 7}, BannerCase{"0", -1},
                                BannerCase{"11", -1}, BannerCase{"-3", -1}, BannerCase{"x", -1}, BannerCase{"", -1}}) {
        EXPECT_EQ(TemplateNumberFromSetting(c.stored).value_or(-1), c.templateNumber) << '"' << c.stored << '"';
    }
}
