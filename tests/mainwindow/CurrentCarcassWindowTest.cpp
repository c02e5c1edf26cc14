// The current carcass window and the main window's weighing side with fake ports: weights typed
// into either weight box, scale messages through the receive tick, the scale port set-up, and a
// window closed while carcasses are paired.

#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "carcasswindow/CurrentCarcassWindow.h"
#include "log/LogRecordFormat.h"
#include "mainwindow/StationResults.h"
#include "ports/PortDialog.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <sstream>

namespace {

// A basic measurement: fat 12.0 mm, meat 55.0 mm, the probe's 61.2 % and class "S".
std::string Record(const char* counter)
{
    return std::string("E01") + counter + "01200550001203000450612ABS140533X";
}

class CurrentCarcassWindowInStation : public MainWindowFixture {
protected:
    MainWindow& Station(const std::map<std::string, std::string>& stored)
    {
        Store(stored);
        Store({{"LogFilePath", LogPath().toStdString()}});
        QFile(LogPath()).open(QIODevice::WriteOnly); // empty: the first record writes the header
        weighing = true;
        return Make();
    }
    QString LogPath() const { return dir.filePath("shift.dif"); }
    CurrentCarcassWindow& Led() { return window->results().carcassWindow(); }
    QLineEdit* Box(const char* name)
    {
        auto* box = Led().findChild<QLineEdit*>(name);
        return box ? box : Control<QLineEdit>(name);
    }
    // Characters as typed; "\n" is Enter.
    void Type(QLineEdit* box, const std::string& keys)
    {
        for (char key : keys)
            key == '\n' ? QTest::keyClick(box, Qt::Key_Return) : QTest::keyClick(box, key);
    }
    void Probe(const char* counter) { window->core().parts().probeResults.OnProbeMessage(Record(counter)); }
    // "counter weight meat% class" of every logged result.
    std::string Logged() const
    {
        QFile file(LogPath());
        if (!file.open(QIODevice::ReadOnly))
            return "<no log>";
        std::istringstream lines(file.readAll().toStdString());
        std::string line, out;
        std::getline(lines, line); // the header
        while (std::getline(lines, line))
            out += LogField(4, line) + ' ' + LogField(36, line) + ' ' + LogField(13, line) + ' ' + LogField(15, line)
                   + '\n';
        return out;
    }
};

} // namespace

TEST_F(CurrentCarcassWindowInStation, WeightsTypedIntoEitherBox)
{
    const struct {
        const char* keys;
        const char* stored; // the weight queued, empty for none
        const char* box;    // left in the box
        const char* error;
        // clang-format off
    } cases[] = {
        {"85,4\n", " 85.40", "", ""},
        {"65\n", "", "65", "Valid weight?"},
        {"65\n\n", " 65.00", "", ""},
        {"65\n0", "", "650", "Valid weight?"},  // the confirmation is over; the text stays
        {"250\n", "", "", "Invalid weight"},
        {"-85\n", " 85.00", "", ""},  // a minus sign empties the box at the next key
    };
    // clang-format on
    for (const char* boxName : {"LEDWeight", "txtWeight"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(boxName) + ": " + c.keys);
            QFile::remove(settings.FilePath());
            Station({{"WgtScaleModel", "2"}});
            QLineEdit* box = Box(boxName);
            ASSERT_TRUE(box->isEnabled());
            Type(box, c.keys);
            const PendingQueue& queue = window->core().pendingQueue();
            EXPECT_EQ(queue.count == 1 ? queue.weights[0] : std::string(), c.stored);
            EXPECT_EQ(box->text(), c.box);
            const QString error =
                boxName == std::string("LEDWeight") ? Led().Text("LEDerr") : Control<QLineEdit>("txtError")->text();
            EXPECT_EQ(error, c.error);
        }
    }
}

TEST_F(CurrentCarcassWindowInStation, TypedWeightsPairWithTheirOwnCarcassInBothSequences)
{
    // With the equation (fat 12.0, meat 55.0): up to 110 kg 50.933698 - 3.746028 + 2.077845
    // + 11.051109 = 60.3166 -> "60.3" S; above, 44.99262 - 2.292012 + 2.33838 + 14.583466
    // = 59.6225 -> "59.6" E.
    const struct {
        const char* order;
        const char* equation;
        const char* logged;
        // clang-format off
    } cases[] = {
        {"1", "True", "000101  85.40 60.3 S\n000102 111.50 59.6 E\n"},
        {"0", "True", "000101  85.40 60.3 S\n000102 111.50 59.6 E\n"},
        {"1", "False", "000101  85.40 61.2 S\n000102 111.50 61.2 S\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.order) + c.equation);
        QFile::remove(settings.FilePath());
        QFile::remove(LogPath());
        Station({{"WgtScaleModel", "2"}, {"WgtPrbOrder", c.order}, {"UseWgtInEqu", c.equation}});
        if (c.order == std::string("1")) {
            Type(Box("LEDWeight"), "85.4\n");
            Type(Box("txtWeight"), "111,5\n");
            EXPECT_EQ(Led().Text("Label1"), "2");
            EXPECT_EQ(Control<QLineEdit>("txtPending")->text(), "2");
            Probe("000101");
            Probe("000102");
        } else {
            Probe("000101");
            Probe("000102");
            EXPECT_EQ(Control<QLineEdit>("txtPending")->text(), "2");
            Type(Box("txtWeight"), "85.4\n");
            Type(Box("LEDWeight"), "111.5\n");
        }
        EXPECT_EQ(Logged(), c.logged);
        EXPECT_EQ(window->core().pendingQueue().count, 0);
    }
}

TEST_F(CurrentCarcassWindowInStation, ScaleMessagesArePairedThroughTheReceiveTick)
{
    MainWindow& w = Station({{"WgtScaleModel", "3"}, {"STX", "1"}, {"WgtPrbOrder", "1"}});
    ASSERT_TRUE(scalePort->PortOpen());
    EXPECT_TRUE(w.core().scaleOptions().toledo.STXon);
    EXPECT_FALSE(w.core().link().probeLinkAlive());

    scalePort->Feed("\x02  92.10\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.core().pendingQueue().count == 1; }, 2000));
    EXPECT_TRUE(w.core().link().probeLinkAlive()) << "traffic on the scale line counts as a live link";
    EXPECT_EQ(Control<QLineEdit>("txtPending")->text(), "1");
    EXPECT_EQ(Led().Text("Label1"), "1") << "the line's display follows the scale too";
    EXPECT_EQ(Led().Text("LblWgt"), " 92.10");

    // A message the parser refuses: its text where both operators look.
    scalePort->Feed("  93.00\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Control<QLineEdit>("txtError")->text().isEmpty(); }, 2000));
    EXPECT_EQ(Control<QLineEdit>("txtError")->text(), "Weight scale Protocol <STX> error");
    EXPECT_EQ(Led().Text("LEDerr"), "Weight scale Protocol <STX> error");
    EXPECT_EQ(w.core().pendingQueue().count, 1);

    Probe("000101");
    EXPECT_EQ(Logged(), "000101  92.10 61.2 S\n");
    EXPECT_EQ(Led().Text("LEDcou"), "101");
    EXPECT_EQ(Led().Text("LblWgt"), " 92.10");
    EXPECT_EQ(Led().Text("Label1"), "");

    // The Weight button reads the last message again: refused again, nothing queued.
    Led().findChild<QPushButton*>("cmdWeightIn")->click();
    EXPECT_EQ(Led().Text("LEDerr"), "Weight scale Protocol <STX> error");
    EXPECT_EQ(w.core().pendingQueue().count, 0);
}

TEST_F(CurrentCarcassWindowInStation, TheWeightButtonCompletesTheWaitingCarcassIntoTheLog)
{
    // Probe before weight, typed weights: the Weight button sends whatever the box holds.
    Station({{"WgtScaleModel", "2"}, {"WgtPrbOrder", "0"}});
    Probe("000101");
    Box("LEDWeight")->setText("85.4");
    Led().findChild<QPushButton*>("cmdWeightIn")->click();
    EXPECT_EQ(Logged(), "000101  85.40 61.2 S\n");
    EXPECT_EQ(window->core().pendingQueue().count, 0);
}

TEST_F(CurrentCarcassWindowInStation, TypedWeightsDoNotPileUpInTheBox)
{
    // Probe before weight: each typed weight completes its own carcass and leaves the box empty,
    // so the range checks see the next weight alone.
    for (const char* boxName : {"LEDWeight", "txtWeight"}) {
        SCOPED_TRACE(boxName);
        QFile::remove(settings.FilePath());
        QFile::remove(LogPath());
        Station({{"WgtScaleModel", "2"}, {"WgtPrbOrder", "0"}});
        for (const char* counter : {"000101", "000102", "000103", "000104"})
            Probe(counter);
        QLineEdit* box = Box(boxName);
        Type(box, "85.4\n92.1\n65\n");
        EXPECT_EQ(box->text(), "65");
        EXPECT_EQ(window->core().pendingQueue().count, 2) << "65 waits for its confirmation";
        Type(box, "\b\b250\n");
        EXPECT_EQ(box->text(), "");
        EXPECT_EQ(window->core().pendingQueue().count, 2) << "250 is refused";
        EXPECT_EQ(Logged(), "000101  85.40 61.2 S\n000102  92.10 61.2 S\n");
    }
    // Weight before probe: two typed weights wait apart and pair in order.
    QFile::remove(settings.FilePath());
    QFile::remove(LogPath());
    Station({{"WgtScaleModel", "2"}, {"WgtPrbOrder", "1"}});
    Type(Box("LEDWeight"), "85.4\n92.1\n65\n");
    EXPECT_EQ(Led().Text("LEDerr"), "Valid weight?");
    Type(Box("LEDWeight"), "\b\b250\n");
    EXPECT_EQ(Led().Text("LEDerr"), "Invalid weight");
    Probe("000101");
    Probe("000102");
    EXPECT_EQ(Logged(), "000101  85.40 61.2 S\n000102  92.10 61.2 S\n");
}

TEST_F(CurrentCarcassWindowInStation, HeaderScaleFailuresGoToTheErrorLabelWithoutABox)
{
    const struct {
        const char* model;
        const char* startKey;
        const char* start;
        const char* factor;
        const char* error; // with weight before probe
        // clang-format off
    } cases[] = {
        {"6", "WeightStartPosition", "x", "1",
         "WeightGeneric error: weight start position \"x\" is not a whole number of 1 or more"},
        {"7", "EV2000StartPosition", "0", "1",
         "Weight EV2000 error: weight start position \"0\" is not a whole number of 1 or more"},
        {"8", "TU9000StartPosition", "20", "1",
         "Weight TU9000 error: the message ends before weight start position 20"},
        {"6", "WeightStartPosition", "2", "x",
         "WeightGeneric error: factor \"x\" is not a number"},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const bool weightFirst : {true, false}) {
            SCOPED_TRACE(std::string(c.error) + (weightFirst ? " weight first" : " probe first"));
            QFile::remove(settings.FilePath());
            QFile::remove(LogPath());
            MainWindow& w = Station({{"WgtScaleModel", c.model},
                                     {"WgtPrbOrder", weightFirst ? "1" : "0"},
                                     {c.startKey, c.start},
                                     {"Factor", c.factor}});
            if (!weightFirst)
                Probe("000101");
            const int boxesBefore = static_cast<int>(dialogs.asked.size());
            scalePort->Feed("$ 85.4 kg\r\n");
            auto* error = Control<QLineEdit>("txtError");
            ASSERT_TRUE(QTest::qWaitFor([&] { return !error->text().isEmpty(); }, 2000));
            EXPECT_EQ(error->text(), weightFirst ? c.error : "Error message from weight scale");
            EXPECT_EQ(w.core().pendingQueue().count, weightFirst ? 0 : 1);
            EXPECT_EQ(Logged(), "");
            EXPECT_EQ(static_cast<int>(dialogs.asked.size()), boxesBefore);
        }
    }
}

TEST_F(CurrentCarcassWindowInStation, ShowingItSetsUpTheScalePortEachTime)
{
    MainWindow& w =
        Station({{"WeightPortNum", "3"}, {"HeaderCharacter", "#"}, {"WeightStartPosition", "3"}, {"Factor", "0.5"}});
    // The entry's dialog is the port dialogs' own business.
    WhenModalShows<PortDialog>([](PortDialog& dialog) { dialog.reject(); });
    Menu("mnuWeightGeneric")->trigger();
    EXPECT_FALSE(scalePort->PortOpen()) << "the entry itself opens nothing";

    Menu("mnuShowCC")->trigger();
    EXPECT_TRUE(Led().isVisible());
    EXPECT_TRUE(scalePort->PortOpen());
    EXPECT_EQ(scalePort->CommPort(), 3);
    EXPECT_EQ(scalePort->Settings(), "4800,e,7,2");
    EXPECT_EQ(w.StatusPanel(3), "3");
    EXPECT_EQ(w.core().scaleOptions().generic.header, "#");
    EXPECT_EQ(w.core().scaleOptions().generic.startPosition, "3");
    EXPECT_EQ(w.core().scaleOptions().generic.factor, "0.5");
    EXPECT_FALSE(Led().findChild<QWidget*>("fraPending")->isHidden());
    EXPECT_TRUE(Led().findChild<QWidget*>("fraManualInput")->isHidden());
    EXPECT_EQ(Led().weightBoxLook(), WeightBoxLook::ActiveBorder);

    Store({{"WeightPortSetting", "9600,n,8,1"}, {"Factor", "2"}});
    Menu("mnuShowCC")->trigger();
    EXPECT_TRUE(scalePort->PortOpen());
    EXPECT_EQ(scalePort->openCount, 1) << "an open port on the same number stays open";
    EXPECT_EQ(scalePort->Settings(), "9600,n,8,1");
    EXPECT_EQ(w.core().scaleOptions().generic.factor, "2");
    EXPECT_EQ(dialogs.Count("Message"), 0);

    // A port that does not open: told, the window shows all the same, and it is tried again.
    Store({{"WeightPortNum", "4"}});
    scalePort->failOpen = true;
    Menu("mnuShowCC")->trigger();
    const auto* told = dialogs.Last("Message");
    ASSERT_NE(told, nullptr);
    EXPECT_TRUE(told->text.startsWith("Weight scale can not communicate..\r\nCheck serial port configuration.\r\n"));
    EXPECT_EQ(told->icon, MessageIcon::Exclamation);
    EXPECT_TRUE(Led().isVisible());
    EXPECT_EQ(w.StatusPanel(3), "4 (no device)");
    scalePort->failOpen = false;
    w.core().parts().scalePortWatch.Retry();
    EXPECT_TRUE(scalePort->PortOpen());
    EXPECT_EQ(w.StatusPanel(3), "4");

    // Stored values that are no port or no settings: told, nothing opened.
    Store({{"WeightPortSetting", "fast"}});
    Menu("mnuShowCC")->trigger();
    EXPECT_TRUE(dialogs.Last("Message")->text.endsWith("\"fast\" are not valid."));
    EXPECT_FALSE(scalePort->PortOpen());
}

TEST_F(CurrentCarcassWindowInStation, AClosedWindowComesBackHiddenAndResultsAreLoggedAsUsual)
{
    MainWindow& w = Station({{"WgtScaleModel", "2"}});
    Type(Box("LEDWeight"), "90\n");
    Type(Box("LEDWeight"), "40\n"); // asks to confirm
    ASSERT_TRUE(Led().weightConfirmPending());
    Led().findChild<QPushButton*>("cmdHelp")->click();
    EXPECT_EQ(dialogs.Last("Notice")->text,
              "Less than 1Kg and more than 199Kg are not accepted.\r\nIf outside range (70..155Kg) then enter valid "
              "weight, or confirm with <Enter>.");
    EXPECT_EQ(dialogs.Last("Notice")->icon, MessageIcon::Information);

    Led().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(w.results().ExistingCurrentCarcassWindow(), nullptr);
    Probe("000101");
    EXPECT_EQ(Logged(), "000101  90.00 61.2 S\n");
    CurrentCarcassWindow* led = w.results().ExistingCurrentCarcassWindow();
    ASSERT_NE(led, nullptr);
    EXPECT_FALSE(led->isVisible());
    EXPECT_FALSE(led->weightConfirmPending()) << "fresh flags";
    EXPECT_EQ(led->Text("LEDcou"), "101");
    EXPECT_FALSE(led->findChild<QWidget*>("fraManualInput")->isHidden());
}
