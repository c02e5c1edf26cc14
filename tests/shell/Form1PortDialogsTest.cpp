// The main window's port dialogs: the Settings menu's probe port entry and what start-up takes
// back from the keys the probe dialog stores.

#include "Form1Fixture.h"
#include "shell/PortDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {

class Form1PortDialogs : public Form1Fixture {};

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
            dialog->reject();
        }
    });
}

QString Shown(PortDialog& dialog, const char* list)
{
    return dialog.findChild<QComboBox*>(QString::fromLatin1(list))->currentText();
}

} // namespace

TEST_F(Form1PortDialogs, ProbeMenuEntryMovesTheProbeToAnotherPort)
{
    Store({{"PortDevice1", "/dev/ttyUSB0"}});
    Form1& w = Make();
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

TEST_F(Form1PortDialogs, StartUpTakesTheFlowControlTheProbeDialogStored)
{
    struct Case {
        const char* stored;  // nullptr: absent
        int handshaking;
    };
    const Case cases[] = {{"2", 2}, {"3", 3}, {nullptr, 0}, {"", 0}, {"7", 0}, {"RTS", 0}};
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

TEST_F(Form1PortDialogs, ScaleDialogShowsTheStoredScalePortUntilThePortIsInUse)
{
    struct Case {
        const char* name;
        PortDialogKind kind;
        std::map<std::string, std::string> stored;
        int portInUse;  // 0: the scale port is idle
        const char* port;
        const char* speed;
        const char* parity;
    };
    const Case cases[] = {
        {"nothing stored", PortDialogKind::Generic, {}, 0, "2   /dev/ttyS1", "4800", "Even"},
        {"model default", PortDialogKind::MettlerToledo, {}, 0, "2   /dev/ttyS1", "9600", "Even"},
        {"stored", PortDialogKind::Tenso, {{"WeightPortNum", "<"}, {"WeightPortSetting", "19200,o,8,1"}}, 0,
         "12   /dev/ttyS11", "19200", "Odd"},
        {"port in use", PortDialogKind::Tenso, {{"WeightPortNum", "<"}}, 5, "5   /dev/ttyS4", "9600", "None"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(settings.FilePath());
        Store(c.stored);
        Form1& w = Make();
        if (c.portInUse) {
            scalePort->SetCommPort(c.portInUse);
            scalePort->SetSettings("9600,n,8,1");
            w.scalePortWatch().Open();
        }
        QString port;
        QString speed;
        QString parity;
        WhenShown([&](PortDialog& dialog) {
            port = Shown(dialog, "cboPort");
            speed = Shown(dialog, "cboSpeed");
            parity = Shown(dialog, "cboParity");
        });
        EXPECT_FALSE(w.OpenPortDialog(c.kind));
        EXPECT_EQ(port, QString::fromLatin1(c.port));
        EXPECT_EQ(speed, QString::fromLatin1(c.speed));
        EXPECT_EQ(parity, QString::fromLatin1(c.parity));
        EXPECT_EQ(scalePort->PortOpen(), c.portInUse != 0);
    }
}
