// The port dialogs' logic without a display: settings texts and list selections, access keys.

#include "probe/SerialPortQt.h"
#include "shell/AccessKeys.h"
#include "shell/PortDialogModel.h"
#include "support/FakeSerialPort.h"

#include <gtest/gtest.h>

TEST(PortDialogModel, SettingsTextSelectsListEntries)
{
    struct Case {
        const char* text;
        PortListSelection expected;  // speed, data bits, parity, stop bits
    };
    const Case cases[] = {
        {"4800,e,7,2", {5, 3, 0, 1}},
        {"38400,n,8,1", {10, 4, 2, 0}},
        {"115200,s,5,2", {13, 1, 4, 1}},
        {"110,m,4,1", {0, 0, 3, 0}},
        {"9600,o,6,1", {6, 2, 1, 0}},
        // Only lower-case parity letters select; each part that is no entry leaves its list empty.
        {"9600,E,7,1", {6, 3, -1, 0}},
        {"9600,n,8,1.5", {6, 4, 2, -1}},
        {"1234,x,9,3", {-1, -1, -1, -1}},
        {"4800,e,7", {-1, -1, -1, -1}},
        {"", {-1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SelectionFromSettingsText(c.text), c.expected);
    }
}

TEST(PortDialogModel, ListsBuildTheSettingsText)
{
    EXPECT_EQ(SettingsTextFromLists("4800", "Even", "7", "2"), "4800,E,7,2");
    EXPECT_EQ(SettingsTextFromLists(" 9600 ", "None", " 8", "1 "), "9600,N,8,1");
    EXPECT_EQ(SettingsTextFromLists("38400", "", "8", ""), "38400,,8,");
}

TEST(PortDialogModel, PortsReportParityInLowerCaseSoTheListIsPreselected)
{
    FakeSerialPort fake;
    SerialPortQt real([](int) { return QStringLiteral("/dev/null-no-such-port"); });
    for (SerialPort* port : {static_cast<SerialPort*>(&fake), static_cast<SerialPort*>(&real)}) {
        ASSERT_TRUE(port->SetSettings("4800,E,7,2"));
        EXPECT_EQ(port->Settings(), "4800,e,7,2");
        EXPECT_EQ(SelectionFromSettingsText(port->Settings()).parity, 0);
        ASSERT_TRUE(port->SetSettings("38400,N,8,1"));
        EXPECT_EQ(port->Settings(), "38400,n,8,1");
    }
}

TEST(AccessKeys, FreeLetterPreferringWordStarts)
{
    struct Case {
        const char* caption;
        const char* takenBefore;
        const char* expected;
        const char* takenAfter;
    };
    const Case cases[] = {
        {"Port", "", "&Port", "p"},
        {"Speed", "ps", "Sp&eed", "pse"},
        {"Stop Bits", "s", "Stop &Bits", "sb"},
        {"&Settings", "", "&Settings", "s"},
        {"Header Character:", "h", "Header &Character:", "hc"},
        {"SI , SO", "sio", "SI , SO", "sio"},
        {"R&&D", "", "&R&&D", "r"},
        {"RZ2/4 Default", "rz", "RZ2/4 &Default", "rzd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        QString taken = QString::fromLatin1(c.takenBefore);
        EXPECT_EQ(WithAccessKey(QString::fromLatin1(c.caption), taken), QString::fromLatin1(c.expected));
        EXPECT_EQ(taken, QString::fromLatin1(c.takenAfter));
    }
}
