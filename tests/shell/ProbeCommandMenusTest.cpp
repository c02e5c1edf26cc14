// The "Command-To-Probe" menu: what the probe receives for each entry, and what is not sent.

#include "Form1Fixture.h"
#include "ModalDriver.h"

#include "probe/ProbeFraming.h"
#include "shell/FrmCalibration.h"

#include <QAction>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ProbeBytes;

namespace {

class ProbeCommandMenus : public Form1Fixture {
protected:
    void SetUp() override
    {
        Make();
        window->RxTimer.stop();  // the tests run the link's ticks themselves
    }

    std::string Receive(const std::string& bytes)
    {
        probePort->Feed(bytes);
        window->link().OnReceiveTick();
        window->link().OnReceiveTick();
        return probePort->TakeWritten();
    }

    // The probe is heard and has taken its start-up commands.
    void LinkUp()
    {
        Receive("x");
        ASSERT_TRUE(window->link().probeLinkAlive());
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
            Receive(std::string{ACK});  // closes the exchange
            if (frame.size() < 7 || frame.compare(0, 3, std::string{'H', ACK, SOH}) != 0 || frame[4] != STX
                || frame[frame.size() - 2] != ETX) {
                ADD_FAILURE() << "not a command frame";
                return {};
            }
            return frame.substr(3, 1) + frame.substr(5, frame.size() - 7);
        }
        return {};
    }

    void Trigger(const char* name)
    {
        QAction* action = Menu(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

} // namespace

TEST_F(ProbeCommandMenus, EachEntrySendsItsCommand)
{
    LinkUp();
    const struct {
        const char* entry;
        const char* command;
    } rows[] = {
        {"mnuDT", "B"},          {"mnuCntInc", "5"},      {"mnuCntDec", "4"},
        {"mnuRZ2on", "I0"},      {"mnuRZ4on", "I1"},      {"mnuRZ4on2", "K0"},
        {"mnuRZ7on", "K1"},      {"mnuQualityOff", "A0"}, {"mnuQualityOn", "A1"},
        {"mnuL00", "L00"},       {"mnuL01", "L01"},       {"mnuL02", "L02"},
        {"mnuL03", "L03"},       {"mnuL04", "L04"},       {"mnuL05", "L05"},
        {"mnul06", "L06"},       {"mnul07", "L07"},       {"mnul08", "L08"},
        {"mnuAnal0", "900"},     {"mnuAnal1", "901"},     {"mnuAnal2", "902"},
        {"mnuAnal3", "903"},     {"mnuAnal4", "904"},     {"mnuAnal5", "905"},
        {"mnuAnal6", "906"},     {"mnuAnal7", "907"},     {"mnuAnal8", "908"},
        {"mnuAnal9", "909"},     {"mnuClassSumDump", "D"}, {"Retrieve_M_Store", "M1"},
        {"mnuProbeHealth", "U"}, {"mnuServiceInfo", "N"},
    };
    for (const auto& row : rows) {
        Trigger(row.entry);
        EXPECT_EQ(NextCommand(), row.command) << row.entry;
        EXPECT_EQ(window->link().Queue().count, 0) << row.entry << " sent more than one command";
    }

    // The station's clock, yymmddhhmmss.
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    Trigger("mnuTime");
    const std::string time = NextCommand();
    ASSERT_EQ(time.size(), 13u);
    EXPECT_EQ(time[0], 'T');
    auto field = [&](int i) { return std::stoi(time.substr(1 + 2 * i, 2)); };
    const QDateTime sent(QDate(2000 + field(0), field(1), field(2)), QTime(field(3), field(4), field(5)));
    EXPECT_GE(sent, before.addMSecs(-before.time().msec()));
    EXPECT_LE(sent, QDateTime::currentDateTime());

    // Set to: six characters typed, sent as typed.
    dialogs.QueueInput(QStringLiteral("004711"));
    Trigger("mnuCntClr");
    EXPECT_EQ(NextCommand(), "3004711");
    const auto* asked = dialogs.Last("InputBox");
    ASSERT_NE(asked, nullptr);
    EXPECT_EQ(asked->text, "carcass counter (6 digits) = ");
    EXPECT_EQ(asked->title, "Probe Carcass counter Setting");
    EXPECT_EQ(asked->detail, "000001");

    // Clear Measurement Store after OK.
    dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    Trigger("Clear_M_Store");
    EXPECT_EQ(NextCommand(), "M0");
    const auto* question = dialogs.Last("Message");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text, "Probe's measurement store will be cleard.");
    EXPECT_EQ(question->title, "Clear measurement store of probe.");
    EXPECT_EQ(question->buttons, MessageButtons::OkCancel);
}

TEST_F(ProbeCommandMenus, QuestionsAnsweredWithoutACommandSendNothing)
{
    LinkUp();
    for (const char* typed : {"12", "000000", "0000012"}) {
        dialogs.QueueInput(QString::fromLatin1(typed));
        Trigger("mnuCntClr");
        EXPECT_EQ(NextCommand(), "") << typed;
    }
    dialogs.QueueInput(std::nullopt);
    Trigger("mnuCntClr");
    dialogs.QueueMessageAnswer(MessageAnswer::Cancel);
    Trigger("Clear_M_Store");
    EXPECT_EQ(NextCommand(), "");
    EXPECT_EQ(dialogs.Count("InputBox"), 4);
    EXPECT_EQ(dialogs.Count("Message"), 1);
}

TEST_F(ProbeCommandMenus, NothingAtAllWhileTheLinkIsDown)
{
    ASSERT_FALSE(window->link().probeLinkAlive());
    ASSERT_TRUE(Menu("mnuAnal1")->isChecked());  // the stored default, "901"
    for (const char* entry : {"mnuDT", "mnuTime", "mnuCntInc", "mnuCntDec", "mnuRZ2on", "mnuRZ4on",
                              "mnuRZ4on2", "mnuRZ7on", "mnuQualityOff", "mnuQualityOn", "mnuL00",
                              "mnul08", "mnuClassSumDump", "Retrieve_M_Store", "mnuProbeHealth",
                              "mnuServiceInfo", "mnuAnal0", "mnuAnal7"})
        Trigger(entry);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(window->link().Queue().count, 0);
    EXPECT_EQ(Stored("AnaType"), "<absent>");
    EXPECT_TRUE(Menu("mnuAnal1")->isChecked());
    EXPECT_FALSE(Menu("mnuAnal7")->isChecked());

    // These two still ask, and still send nothing.
    dialogs.QueueInput(QStringLiteral("000123"));
    Trigger("mnuCntClr");
    dialogs.QueueMessageAnswer(MessageAnswer::Ok);
    Trigger("Clear_M_Store");
    EXPECT_EQ(dialogs.Count("InputBox"), 1);
    EXPECT_EQ(dialogs.Count("Message"), 1);
    EXPECT_EQ(window->link().Queue().count, 0);
}

TEST_F(ProbeCommandMenus, AnalysisTypeIsTickedAndStored)
{
    LinkUp();
    Trigger("mnuAnal7");
    EXPECT_EQ(Stored("AnaType"), "907");
    for (int i = 0; i <= 9; ++i)
        EXPECT_EQ(Menu(QStringLiteral("mnuAnal%1").arg(i).toLatin1().constData())->isChecked(), i == 7) << i;
    Trigger("mnuAnal4");
    EXPECT_EQ(Stored("AnaType"), "904");
    EXPECT_TRUE(Menu("mnuAnal4")->isChecked());
    EXPECT_FALSE(Menu("mnuAnal7")->isChecked());
}

TEST_F(ProbeCommandMenus, ColourCalibration)
{
    LinkUp();
    enum class Answer { Ok, ReturnKey, Cancel, EscapeKey };
    const struct {
        const char* colour130;
        const char* colour61;
        Answer answer;
        std::vector<std::string> sent;
    } cases[] = {
        {"254", "119", Answer::Ok, {"C254", "c119"}},
        {"255", "60", Answer::Ok, {}},
        {"abc", "60", Answer::Ok, {}},
        {"120", "119", Answer::ReturnKey, {"C120", "c119"}},
        {"100", "50", Answer::Cancel, {}},
        {"100", "50", Answer::EscapeKey, {}},
    };
    for (const auto& c : cases) {
        bool shown = false;
        WhenModalShows<FrmCalibration>([&](FrmCalibration& dialog) {
            shown = true;
            EXPECT_EQ(dialog.windowTitle(), "Colour Calibration");
            auto* text1 = dialog.findChild<QLineEdit*>("Text1");
            auto* text2 = dialog.findChild<QLineEdit*>("Text2");
            EXPECT_EQ(text1->text(), "120");
            EXPECT_EQ(text2->text(), "60");
            text1->setText(QString::fromLatin1(c.colour130));
            text2->setText(QString::fromLatin1(c.colour61));
            switch (c.answer) {
            case Answer::Ok: dialog.findChild<QPushButton*>("Command2")->click(); break;
            case Answer::Cancel: dialog.findChild<QPushButton*>("Command1")->click(); break;
            case Answer::ReturnKey: QTest::keyClick(text2, Qt::Key_Return); break;
            case Answer::EscapeKey: QTest::keyClick(text1, Qt::Key_Escape); break;
            }
        });
        Trigger("mnuCalibration");
        EXPECT_TRUE(shown);
        std::vector<std::string> sent;
        for (std::string command = NextCommand(); !command.empty(); command = NextCommand())
            sent.push_back(command);
        EXPECT_EQ(sent, c.sent) << c.colour130 << " / " << c.colour61;
    }
}
