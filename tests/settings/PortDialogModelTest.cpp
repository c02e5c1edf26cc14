// The port dialogs' logic without a display: settings texts and list selections, access keys.

#include "settings/PortDialogModel.h"
#include "probe/PortWatch.h"
#include "probe/SerialPortQt.h"
#include "support/FakeSerialPort.h"
#include "widgets/AccessKeys.h"

#include <gtest/gtest.h>
#include <map>

TEST(PortDialogModel, SettingsTextSelectsListEntries)
{
    struct Case {
        const char* text;
        PortListSelection expected; // speed, data bits, parity, stop bits
    };
    // clang-format off
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
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SelectionFromSettingsText(c.text), c.expected);
    }
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

TEST(PortDialogModel, IdleScalePortStandsWhereTheScaleSetUpWouldPutIt)
{
    struct Case {
        const char* name;
        PortDialogKind kind;
        std::map<std::string, std::string> stored;
        bool inUse; // wanted by its watch: left as it is
        int port;
        const char* settings;
    };
    // clang-format off
    const Case cases[] = {
        {"nothing stored", PortDialogKind::Generic, {}, false, 2, "4800,e,7,2"},
        {"model default", PortDialogKind::MettlerToledo, {}, false, 2, "9600,e,7,1"},
        {"tenso as TE1000L", PortDialogKind::Tenso, {}, false, 2, "9600,n,8,1"},
        {"stored", PortDialogKind::EV2000, {{"WeightPortNum", "<"}, {"WeightPortSetting", "19200,o,8,1"}}, false, 12,
         "19200,o,8,1"},
        {"not a port, not settings", PortDialogKind::D410, {{"WeightPortNum", "x"}, {"WeightPortSetting", "fast"}},
         false, 5, "110,s,5,1"},
        {"in use", PortDialogKind::Wedderburn, {{"WeightPortNum", "<"}}, true, 5, "110,s,5,1"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSerialPort port;
        PortWatch watch(port);
        port.SetCommPort(5);
        port.SetSettings("110,s,5,1");
        if (c.inUse)
            watch.Open();
        PrepareIdleScalePort(c.kind, port, watch, [&](const std::string& key, const std::string& defaultText) {
            const auto it = c.stored.find(key);
            return it == c.stored.end() ? defaultText : it->second;
        });
        EXPECT_EQ(port.CommPort(), c.port);
        EXPECT_EQ(port.Settings(), c.settings);
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
    // clang-format off
    const Case cases[] = {
        {"Port", "", "&Port", "p"},
        {"Speed", "ps", "Sp&eed", "pse"},
        {"Stop Bits", "s", "Stop &Bits", "sb"},
        {"&Settings", "", "&Settings", "s"},
        {"SI , SO", "sio", "SI , SO", "sio"},
        {"R&&D", "", "&R&&D", "r"},
        {"RZ2/4 Default", "rz", "RZ2/4 &Default", "rzd"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        QString taken = QString::fromLatin1(c.takenBefore);
        EXPECT_EQ(WithAccessKey(QString::fromLatin1(c.caption), taken), QString::fromLatin1(c.expected));
        EXPECT_EQ(taken, QString::fromLatin1(c.takenAfter));
    }
}

TEST(PortDialogModel, TextScaleDialogsNameTheirModel)
{
    using K = PortDialogKind;
    const std::pair<K, std::string> cases[] = {
        {K::Probe, "Probe Interface"},
        {K::Generic, "Generic Weight Scale Interface - Generic"},
        {K::EV2000, "Generic Weight Scale Interface - EV2000"},
        {K::TU9000, "Generic Weight Scale Interface - TU9000"},
        {K::D410, "Generic Weight Scale Interface - D410"},
        {K::TE1000L, "Generic Weight Scale Interface - TE1000L"},
        {K::Tenso, "Generic Weight Scale Interface - Tenso"},
    };
    for (const auto& [kind, caption] : cases)
        EXPECT_EQ(PortDialogCaption(kind), caption);
}
