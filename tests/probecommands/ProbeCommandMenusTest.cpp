// The "Command-To-Probe" menu: what the probe receives for each entry, and what is not sent.

#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/ModalDriver.h"

#include "probe/ProbeFraming.h"
#include "probecommands/CalibrationWindow.h"

#include <QAction>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ProbeBytes;

namespace {

class ProbeCommandMenus : public MainWindowFixture {
protected:
    void SetUp() override
    {
        Make();
        window->core().parts().receiveTick.pause(); // the tests run the link's ticks themselves
    }

    std::string Receive(const std::string& bytes)
    {
        probePort->Feed(bytes);
        window->core().parts().link.OnReceiveTick();
        window->core().parts().link.OnReceiveTick();
        return probePort->TakeWritten();
    }

    // The probe is heard and has taken its three start-up commands.
    void LinkUp()
    {
        Receive("x");
        for (int i = 0; i < 3; ++i)
            ASSERT_FALSE(NextCommand().empty());
    }

    // The command the probe gets at its next command polls (an ordinary probe takes one at every
    // second poll), unframed; empty when none comes.
    std::string NextCommand()
    {
        for (int poll = 0; poll < 2; ++poll) {
            const std::string frame = Receive(kCommandPoll);
            if (frame == kNothingToSend)
                continue;
            Receive(std::string{ACK});
            EXPECT_EQ(frame.substr(0, 3), (std::string{'H', ACK, SOH}));
            return frame.size() < 7 ? "<short frame>" : frame.substr(3, 1) + frame.substr(5, frame.size() - 7);
        }
        return {};
    }

    void Trigger(const char* name) { Menu(name)->trigger(); }
};

} // namespace

TEST_F(ProbeCommandMenus, EachEntrySendsItsCommand)
{
    LinkUp();
    dialogs.QueueInput(QStringLiteral("004711"));
    dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        {"mnuDT", "B"},          {"mnuCntInc", "5"},        {"mnuCntDec", "4"},       {"mnuCntClr", "3004711"},
        {"mnuRZ2on", "I0"},      {"mnuRZ4on", "I1"},        {"mnuRZ4on2", "K0"},      {"mnuRZ7on", "K1"},
        {"mnuQualityOff", "A0"}, {"mnuQualityOn", "A1"},    {"mnuL00", "L00"},        {"mnuL01", "L01"},
        {"mnuL02", "L02"},       {"mnuL03", "L03"},         {"mnuL04", "L04"},        {"mnuL05", "L05"},
        {"mnul06", "L06"},       {"mnul07", "L07"},         {"mnul08", "L08"},        {"mnuAnal0", "900"},
        {"mnuAnal1", "901"},     {"mnuAnal2", "902"},       {"mnuAnal3", "903"},      {"mnuAnal4", "904"},
        {"mnuAnal5", "905"},     {"mnuAnal6", "906"},       {"mnuAnal7", "907"},      {"mnuAnal8", "908"},
        {"mnuAnal9", "909"},     {"mnuClassSumDump", "D"},  {"Retrieve_M_Store", "M1"}, {"Clear_M_Store", "M0"},
        {"mnuProbeHealth", "U"}, {"mnuServiceInfo", "N"},
    };
    // clang-format on
    for (const auto& [entry, command] : rows) {
        Trigger(entry);
        EXPECT_EQ(NextCommand(), command) << entry;
        EXPECT_EQ(window->core().link().Queue().count, 0) << entry << " sent more than one command";
    }
    const auto* input = dialogs.Last("InputBox");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->text + "|" + input->title + "|" + input->detail,
              "carcass counter (6 digits) = |Probe Carcass counter Setting|000001");
    const auto* question = dialogs.Last("Message");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text + "|" + question->title,
              "Probe's measurement store will be cleard.|Clear measurement store of probe.");
    EXPECT_EQ(question->buttons, MessageButtons::OkCancelSafe) << "Return keeps the store";

    // The analysis type is ticked and stored.
    EXPECT_EQ(Stored("AnaType"), "909");
    EXPECT_TRUE(Menu("mnuAnal9")->isChecked());
    EXPECT_FALSE(Menu("mnuAnal1")->isChecked() || Menu("mnuAnal8")->isChecked());

    // The station's clock, yymmddhhmmss.
    const QDateTime before = QDateTime::currentDateTime();
    Trigger("mnuTime");
    const std::string time = NextCommand();
    ASSERT_EQ(time.size(), 13u);
    EXPECT_EQ(time[0], 'T');
    auto at = [&](int i) { return std::stoi(time.substr(1 + 2 * i, 2)); };
    EXPECT_LE(std::abs(QDateTime(QDate(2000 + at(0), at(1), at(2)), QTime(at(3), at(4), at(5))).secsTo(before)), 2);

    // Questions answered without a command.
    dialogs.QueueInput(QStringLiteral("12"));
    Trigger("mnuCntClr");
    dialogs.QueueMessageAnswer(MessageAnswer::Cancel);
    Trigger("Clear_M_Store");
    EXPECT_EQ(NextCommand(), "");
}

TEST_F(ProbeCommandMenus, NothingAtAllWhileTheLinkIsDown)
{
    for (const char* entry : {"mnuDT", "mnuTime", "mnuCntInc", "mnuRZ7on", "mnuQualityOn", "mnuL00", "mnuClassSumDump",
                              "mnuProbeHealth", "mnuServiceInfo", "mnuAnal7"})
        Trigger(entry);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(Stored("AnaType"), "<absent>");
    EXPECT_TRUE(Menu("mnuAnal1")->isChecked()) << "the start-up tick stays";
    EXPECT_FALSE(Menu("mnuAnal7")->isChecked());

    // These two still ask, and still send nothing.
    dialogs.QueueInput(QStringLiteral("000123"));
    Trigger("mnuCntClr");
    dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    Trigger("Clear_M_Store");
    EXPECT_EQ(dialogs.Count("InputBox") + dialogs.Count("Message"), 2);
    EXPECT_EQ(window->core().link().Queue().count, 0);
}

TEST_F(ProbeCommandMenus, ColourCalibration)
{
    LinkUp();
    const struct {
        const char* colour130;
        const char* colour61;
        Qt::Key key; // Return: OK, the default button; Escape: Cancel
        const char* sent;
        // clang-format off
    } cases[] = {
        {"254", "119", Qt::Key_Return, "C254 c119"},
        {"255", "60", Qt::Key_Return, ""},
        {"abc", "60", Qt::Key_Return, ""},
        {"100", "50", Qt::Key_Escape, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        WhenModalShows<CalibrationWindow>([&](CalibrationWindow& dialog) {
            auto* text1 = dialog.findChild<QLineEdit*>("Text1");
            auto* text2 = dialog.findChild<QLineEdit*>("Text2");
            EXPECT_EQ(text1->text() + " " + text2->text(), "120 60");
            text1->setText(QString::fromLatin1(c.colour130));
            text2->setText(QString::fromLatin1(c.colour61));
            QTest::keyClick(text2, c.key);
        });
        Trigger("mnuCalibration");
        std::string sent = NextCommand();
        if (!sent.empty())
            sent += " " + NextCommand();
        EXPECT_EQ(sent, c.sent) << c.colour130 << " / " << c.colour61;
    }
}
