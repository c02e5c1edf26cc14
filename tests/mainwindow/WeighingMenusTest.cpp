// The Weight and Sequence menus, the log file entry while carcasses wait, and start-up with the
// stored weighing set-up.

#include "MainWindowFixture.h"
#include "ModalDriver.h"

#include "carcasswindow/CurrentCarcassWindow.h"
#include "mainwindow/StationResults.h"
#include "ports/PortDialog.h"
#include "settings/PortDialogModel.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <set>

namespace {

const char* const kWeightEntries[] = {"mnuWgtNon",        "mnuWgtMan", "mnuWgtTOL", "mnuWgtWed",
                                      "mnuWeightGeneric", "mnuEV2000", "mnuTU9000", "mnuD410",
                                      "mnuTE1000L",       "mnuTenso",  "mnuWgtEqu"};

class WeighingMenus : public MainWindowFixture {
protected:
    std::set<std::string> Ticked() const
    {
        std::set<std::string> ticked;
        for (const char* name : kWeightEntries)
            if (Menu(name)->isChecked())
                ticked.insert(name);
        return ticked;
    }
    CurrentCarcassWindow& Led() { return window->results().carcassWindow(); }
    bool Shown(const char* ledControl) { return !Led().findChild<QWidget*>(ledControl)->isHidden(); }
};

// Writes down each port settings dialog that shows while it lives, and cancels it.
class PortDialogRecorder {
public:
    PortDialogRecorder()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<PortDialog*>(QApplication::activeModalWidget())) {
                shown.push_back(*PortDialogNamed(dialog->objectName().toStdString()));
                dialog->reject();
            }
        });
        timer_.start();
    }
    std::vector<PortDialogKind> shown;

private:
    QTimer timer_;
};

} // namespace

TEST_F(WeighingMenus, EntriesTickStoreAndSetUpTheWindows)
{
    struct Case {
        const char* what;
        std::vector<const char*> clicks;
        std::set<std::string> ticked;
        WeightSource source;
        std::string storedModel, storedEquation;
        std::vector<PortDialogKind> dialogs; // port settings dialogs shown
        bool pendingFrame, manualFrame, weightBoxOpen;
        // clang-format off
    } cases[] = {
        {"a scale model", {"mnuWgtTOL"}, {"mnuWgtTOL", "mnuTenso"}, WeightSource::MettlerToledo, "3", "<absent>",
         {PortDialogKind::MettlerToledo}, true, false, false},
        {"another scale, then the equation", {"mnuWgtWed", "mnuEV2000", "mnuWgtEqu"},
         {"mnuEV2000", "mnuTenso", "mnuWgtEqu"}, WeightSource::EV2000, "7", "True", {PortDialogKind::Wedderburn, PortDialogKind::EV2000}, true,
         false, false},
        {"equation twice", {"mnuWeightGeneric", "mnuWgtEqu", "mnuWgtEqu"}, {"mnuWeightGeneric", "mnuTenso"},
         WeightSource::Generic, "6", "False", {PortDialogKind::Generic}, true, false, false},
        {"manual input", {"mnuWgtMan"}, {"mnuWgtMan", "mnuTenso"}, WeightSource::ManualInput, "2", "<absent>", {},
         true, true, true},
        {"no weight clears the equation", {"mnuTU9000", "mnuWgtEqu", "mnuWgtNon"}, {"mnuWgtNon", "mnuTenso"},
         WeightSource::NoWeight, "1", "False", {PortDialogKind::TU9000}, false, false, false},
        {"the equation does nothing without weight", {"mnuWgtEqu"}, {"mnuWgtNon", "mnuTenso"},
         WeightSource::NoWeight, "<absent>", "<absent>", {}, false, false, false},
        {"D410 and TE1000L only open their dialogs", {"mnuWgtTOL", "mnuD410", "mnuTE1000L"},
         {"mnuTE1000L", "mnuTenso"}, WeightSource::MettlerToledo, "3", "<absent>", {PortDialogKind::MettlerToledo, PortDialogKind::D410, PortDialogKind::TE1000L},
         true, false, false},
        {"Tenso", {"mnuD410", "mnuTenso"}, {"mnuTenso"}, WeightSource::NoWeight, "<absent>", "<absent>",
         {PortDialogKind::D410, PortDialogKind::Tenso}, false, false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(settings.FilePath());
        settings.WriteSetting("Properties", "WeightPortNum", "2");
        MainWindow& w = Make();
        Menu("mnuTenso")->setChecked(true); // left alone by every entry but its own
        PortDialogRecorder recorder;
        for (const char* entry : c.clicks)
            Menu(entry)->trigger();
        const std::vector<PortDialogKind>& dialogsShown = recorder.shown;
        EXPECT_EQ(Ticked(), c.ticked);
        EXPECT_EQ(w.core().weighingState().weightSource, c.source);
        EXPECT_EQ(Stored("WgtScaleModel"), c.storedModel);
        EXPECT_EQ(Stored("UseWgtInEqu"), c.storedEquation);
        EXPECT_EQ(dialogsShown, c.dialogs);
        EXPECT_EQ(Shown("fraPending"), c.pendingFrame);
        EXPECT_EQ(Shown("fraManualInput"), c.manualFrame);
        auto* box = Led().findChild<QLineEdit*>("LEDWeight");
        EXPECT_EQ(box->isEnabled(), c.weightBoxOpen);
        EXPECT_EQ(Led().weightBoxLook(),
                  c.weightBoxOpen ? WeightBoxLook::WindowBackground : WeightBoxLook::InactiveBorder);
        EXPECT_EQ(Led().isVisible(), c.source == WeightSource::ManualInput);
    }
}

TEST_F(WeighingMenus, AScaleEntryOpensItsPortDialogAndStaysChosenWhenItIsCancelled)
{
    MainWindow& w = Make();
    QString shown;
    WhenModalShows<PortDialog>([&](PortDialog& dialog) {
        shown = dialog.objectName();
        dialog.reject();
    });
    Menu("mnuWgtTOL")->trigger();
    EXPECT_EQ(shown, "frmTOLEDO");
    EXPECT_EQ(w.core().weighingState().weightSource, WeightSource::MettlerToledo);
    EXPECT_TRUE(Menu("mnuWgtTOL")->isChecked());
    EXPECT_EQ(Stored("WgtScaleModel"), "3");
}

TEST_F(WeighingMenus, ManualInputAndNoWeightCloseTheScalePortAndEmptyPanel3)
{
    settings.WriteSetting("Properties", "WgtScaleModel", "6");
    weighing = true;
    MainWindow& w = Make();
    ASSERT_TRUE(scalePort->PortOpen());
    ASSERT_EQ(w.StatusPanel(3), "2");
    Menu("mnuWgtMan")->trigger();
    EXPECT_FALSE(scalePort->PortOpen());
    EXPECT_EQ(w.StatusPanel(3), "");

    // Chosen again: nothing happens, not even the window coming back.
    Led().hide();
    Menu("mnuWgtMan")->trigger();
    EXPECT_FALSE(Led().isVisible());

    Control<QLineEdit>("txtClass")->setText("S");
    Menu("mnuWgtNon")->trigger();
    EXPECT_EQ(Control<QLineEdit>("txtClass")->text(), "");
    EXPECT_EQ(w.StatusPanel(3), "");
}

TEST_F(WeighingMenus, SequenceChangeDropsWaitingHalvesOnlyWhenTheOperatorAgrees)
{
    settings.WriteSetting("Properties", "WgtScaleModel", "2");
    weighing = true;
    MainWindow& w = Make();
    w.core().parts().pendingQueue.count = 2;
    w.core().parts().pendingQueue.writeIndex = 2;
    Control<QLineEdit>("txtPending")->setText("2");

    Menu("mnuWbP")->trigger(); // already ticked: nothing
    EXPECT_EQ(dialogs.Count("Message"), 0);
    EXPECT_EQ(Stored("WgtPrbOrder"), "<absent>");

    Menu("mnuPbW")->trigger(); // the question's default answer is No
    ASSERT_NE(dialogs.Last("Message"), nullptr);
    EXPECT_EQ(dialogs.Last("Message")->text.left(37), "Carcasses that are half processed: 2.");
    EXPECT_EQ(dialogs.Last("Message")->buttons, MessageButtons::YesNoSafe) << "Return drops nothing";
    EXPECT_EQ(w.core().pendingQueue().count, 2);
    EXPECT_TRUE(Menu("mnuWbP")->isChecked());

    dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    Menu("mnuPbW")->trigger();
    EXPECT_EQ(w.core().pendingQueue().count, 0);
    EXPECT_EQ(w.core().pendingQueue().writeIndex, 0);
    EXPECT_FALSE(w.core().weighingState().weightBeforeProbe);
    EXPECT_TRUE(Menu("mnuPbW")->isChecked());
    EXPECT_FALSE(Menu("mnuWbP")->isChecked());
    EXPECT_EQ(Stored("WgtPrbOrder"), "0");
    EXPECT_EQ(Control<QLineEdit>("txtError")->toolTip(), "Errors for weight scale operator");
    EXPECT_EQ(Control<QLineEdit>("txtPending")->text(), "2") << "kept until the next pairing step";

    Menu("mnuWbP")->trigger(); // nothing waits: no question
    EXPECT_EQ(dialogs.Count("Message"), 2);
    EXPECT_EQ(Stored("WgtPrbOrder"), "1");
    EXPECT_EQ(Control<QLineEdit>("txtError")->toolTip(), "Errors for probe operator");
}

TEST_F(WeighingMenus, LogFileMenuRefusesWhileCarcassesAreHalfProcessed)
{
    settings.WriteSetting("Properties", "WgtScaleModel", "2");
    weighing = true;
    MainWindow& w = Make();
    w.core().parts().pendingQueue.count = 1;
    Menu("mnuLog")->trigger();
    const auto* refused = dialogs.Last("Message");
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->text, "Carcasses that are half processed");
    EXPECT_EQ(refused->title, "Summary");
    EXPECT_EQ(dialogs.Count("OpenFile"), 0);

    Control<QAbstractButton>("OpenLogFile")->click(); // the button does not check
    EXPECT_EQ(dialogs.Count("OpenFile"), 1);
    w.core().parts().pendingQueue.count = 0;
    Menu("mnuLog")->trigger();
    EXPECT_EQ(dialogs.Count("OpenFile"), 2);
}

TEST_F(WeighingMenus, StartUpWithWeighingTakesTheStoredSetUp)
{
    struct Case {
        std::map<std::string, std::string> stored;
        WeightSource source;
        bool weightBeforeProbe, equation;
        const char* ticked;
        QString notice = {};
        // clang-format off
    } cases[] = {
        {{{"WgtScaleModel", "3"}, {"WgtPrbOrder", "0"}, {"UseWgtInEqu", "True"}}, WeightSource::MettlerToledo, false,
         true, "mnuWgtTOL"},
        {{{"WgtScaleModel", "8"}, {"WgtPrbOrder", "1"}, {"UseWgtInEqu", "false"}}, WeightSource::TU9000, true, false,
         "mnuTU9000"},
        {{{"WgtScaleModel", "2"}, {"UseWgtInEqu", "TRUE"}}, WeightSource::ManualInput, true, true, "mnuWgtMan"},
        // Missing or unknown values: as without weighing.
        {{{"WgtScaleModel", "5"}, {"WgtPrbOrder", "x"}, {"UseWgtInEqu", "True"}}, WeightSource::NoWeight, true,
         false, "mnuWgtNon", "Stored weighing settings not understood: WgtScaleModel=\"5\", WgtPrbOrder=\"x\"."},
        {{{"WgtScaleModel", "10"}, {"WgtPrbOrder", "0"}, {"UseWgtInEqu", "yes"}}, WeightSource::NoWeight, false,
         false, "mnuWgtNon", "Stored weighing settings not understood: WgtScaleModel=\"10\", UseWgtInEqu=\"yes\"."},
        {{}, WeightSource::NoWeight, true, false, "mnuWgtNon"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ticked);
        QFile::remove(settings.FilePath());
        Store(c.stored);
        weighing = true;
        dialogs.asked.clear();
        MainWindow& w = Make();
        const auto* notice = dialogs.Last("Notice");
        EXPECT_EQ(notice ? notice->text.section("\r\n", 0, 0) : QString(), c.notice);
        EXPECT_EQ(w.core().weighingState().weightSource, c.source);
        EXPECT_EQ(w.core().weighingState().weightBeforeProbe, c.weightBeforeProbe);
        EXPECT_EQ(w.core().weighingState().useWeightInEquation, c.equation);
        std::set<std::string> ticked{c.ticked};
        if (c.equation)
            ticked.insert("mnuWgtEqu");
        EXPECT_EQ(Ticked(), ticked);
        EXPECT_EQ(Menu("mnuPbW")->isChecked(), !c.weightBeforeProbe);
        for (const char* menu : {"mnuWP", "mnuWgtCom", "mnuWgtNon", "mnuWgtWed", "mnuEV2000"})
            EXPECT_TRUE(Menu(menu)->isVisible()) << menu;
        EXPECT_EQ(scalePort->PortOpen(), c.source != WeightSource::NoWeight && c.source != WeightSource::ManualInput);
        EXPECT_FALSE(Led().isVisible());
        EXPECT_EQ(Shown("fraManualInput"), c.source == WeightSource::ManualInput);
    }
}

TEST_F(WeighingMenus, AScalePortThatFailsAtStartUpIsToldInANoticeNotABox)
{
    struct Case {
        std::map<std::string, std::string> stored;
        QString endOfNotice;
        QString panel3;
        // clang-format off
    } cases[] = {
        {{{"WeightPortNum", "4"}}, "\r\n/dev/ttyS3: No such file or directory", "4 (no device)"},
        {{{"WeightPortSetting", "fast"}}, "\r\nThe stored weight scale port settings \"fast\" are not valid.", "2"},
        {{{"WeightPortNum", "x"}}, "\r\nThe stored weight scale port \"x\" is not a port from 1 to 16.", ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.endOfNotice.toStdString());
        QFile::remove(settings.FilePath());
        Store(c.stored);
        Store({{"WgtScaleModel", "6"}});
        dialogs.asked.clear();
        MainWindow& w = Make(false);
        scalePort->missingPorts = {4};
        w.StartUp(true);
        EXPECT_EQ(dialogs.Count("Message"), 0);
        ASSERT_EQ(dialogs.Count("Notice"), 1);
        EXPECT_TRUE(dialogs.Last("Notice")->text.startsWith("Weight scale can not communicate..\r\n"));
        EXPECT_TRUE(dialogs.Last("Notice")->text.endsWith(c.endOfNotice));
        EXPECT_EQ(w.StatusPanel(3), c.panel3);
        EXPECT_EQ(w.core().weighingState().weightSource, WeightSource::Generic);
    }
}
