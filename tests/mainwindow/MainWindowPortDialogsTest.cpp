// The main window's port dialogs: the Settings menu's probe port entry, the scale dialogs opened
// through the window, and what start-up takes back from the keys the probe dialog stores.

#include "MainWindowFixture.h"
#include "ports/PortDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {

class MainWindowPortDialogs : public MainWindowFixture {};

// The port dialog on screen, or nullptr.
PortDialog* ShownPortDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<PortDialog*>(w); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// What the operator does once the next port dialog is on screen; it is closed afterwards unless
// `operate` closed it.
void WhenShown(std::function<void(PortDialog&)> operate)
{
    QTimer::singleShot(0, [operate] {
        if (PortDialog* dialog = ShownPortDialog()) {
            operate(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        }
    });
}

} // namespace

TEST_F(MainWindowPortDialogs, ProbeMenuEntryMovesTheProbeToAnotherPort)
{
    Store({{"PortDevice1", "/dev/ttyUSB0"}});
    MainWindow& w = Make();
    QString caption;
    QString firstPort;
    WhenShown([&](PortDialog& dialog) {
        caption = dialog.windowTitle();
        auto* ports = dialog.findChild<QComboBox*>(QStringLiteral("cboPort"));
        firstPort = ports->itemText(0);
        ports->setCurrentIndex(1);
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    Menu("mnuPrb")->trigger();

    EXPECT_EQ(caption, QStringLiteral("Probe Interface"));
    EXPECT_EQ(firstPort, QStringLiteral("1   /dev/ttyUSB0"));
    EXPECT_EQ(probePort->CommPort(), 2);
    EXPECT_TRUE(probePort->PortOpen());
    EXPECT_EQ(w.StatusPanel(2), QStringLiteral("2"));
    EXPECT_EQ(Stored("RZ7PortNumber"), "2");
    EXPECT_EQ(Stored("RZ7PortSetting"), "4800,e,7,2");
}

TEST_F(MainWindowPortDialogs, StartUpTakesTheFlowControlTheProbeDialogStored)
{
    struct Case {
        const char* stored; // nullptr: absent
        int handshaking;
    };
    const Case cases[] = {{"2", 2}, {nullptr, 0}, {"", 0}, {"7", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "absent");
        QFile::remove(settings.FilePath());
        if (c.stored)
            Store({{"RZ7Hsk", c.stored}});
        Make();
        EXPECT_EQ(probePort->Handshaking(), c.handshaking);
        EXPECT_TRUE(probePort->PortOpen());
    }
}

TEST_F(MainWindowPortDialogs, ScaleDialogOpensOnTheStoredScalePort)
{
    Store({{"WeightPortNum", "<"}});
    MainWindow& w = Make();
    QString port;
    WhenShown(
        [&](PortDialog& dialog) { port = dialog.findChild<QComboBox*>(QStringLiteral("cboPort"))->currentText(); });
    EXPECT_FALSE(w.portDialogs().Open(PortDialogKind::TE1000L));
    EXPECT_EQ(port, QStringLiteral("12   /dev/ttyS11"));
    EXPECT_EQ(scalePort->Settings(), "9600,n,8,1");
}
