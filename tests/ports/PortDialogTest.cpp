// The port settings dialogs over in-memory ports, a scripted operator and a settings file of
// their own.

#include "ports/PortDialog.h"
#include "probe/PortWatch.h"
#include "settings/SettingsStore.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>

namespace {

class PortDialogTest : public ::testing::Test {
protected:
    PortDialogTest()
    {
        probePort.SetSettings("4800,e,7,2");
        scalePort.SetCommPort(2);
        scalePort.SetSettings("9600,e,7,1");
    }

    PortDialog& Open(PortDialogKind kind)
    {
        const bool probe = kind == PortDialogKind::Probe;
        PortDialogDeps deps{probe ? probePort : scalePort,
                            probe ? probeWatch : scaleWatch,
                            settings,
                            dialogs,
                            options,
                            [](int port) { return QStringLiteral("/dev/ttyS%1").arg(port - 1); },
                            [this](int panel, const QString& text) { panels[panel] = text; },
                            [this] { ++reopened; }};
        dialog = std::make_unique<PortDialog>(kind, deps);
        dialog->show();
        return *dialog;
    }

    template <class T>
    T* Find(const char* name) const
    {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }
    QComboBox* List(const char* name) const { return Find<QComboBox>(name); }
    void Click(const char* name) const { Find<QAbstractButton>(name)->click(); }
    std::string Stored(const std::string& key) const { return settings.ReadSetting("Properties", key, "<absent>"); }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    ScriptedDialogs dialogs;
    FakeSerialPort probePort;
    FakeSerialPort scalePort;
    PortWatch probeWatch{probePort};
    PortWatch scaleWatch{scalePort};
    ScaleOptions options;
    std::map<int, QString> panels;
    int reopened = 0;
    std::unique_ptr<PortDialog> dialog;
};

} // namespace

TEST_F(PortDialogTest, PortChangeOpensTheProbePortButOnlyAScalePortThatWasOpen)
{
    struct Case {
        PortDialogKind kind;
        bool openBefore;
        bool openAfter;
        int panel;
    };
    // clang-format off
    const Case cases[] = {
        {PortDialogKind::Probe, false, true, 2},
        {PortDialogKind::Generic, false, false, 3},
        {PortDialogKind::MettlerToledo, true, true, 3},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        const bool probe = c.kind == PortDialogKind::Probe;
        FakeSerialPort& port = probe ? probePort : scalePort;
        PortWatch& watch = probe ? probeWatch : scaleWatch;
        watch.Close();
        port.SetCommPort(1);
        if (c.openBefore)
            watch.Open();
        panels.clear();
        reopened = 0;

        Open(c.kind);
        EXPECT_EQ(List("cboPort")->currentText(), QStringLiteral("1   /dev/ttyS0"));
        List("cboPort")->setCurrentIndex(2);
        Click("cmdOK");

        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(port.CommPort(), 3);
        EXPECT_EQ(port.PortOpen(), c.openAfter);
        EXPECT_EQ(watch.Wanted(), c.openAfter);
        EXPECT_EQ(reopened, c.openAfter ? 1 : 0);
        EXPECT_EQ(panels[c.panel], QStringLiteral("3"));
    }
}

TEST_F(PortDialogTest, FailureIsShownAndTheDialogStaysOpenWithNothingStored)
{
    struct Case {
        const char* name;
        int portIndex;
        int stopBitsIndex;
        const char* message;
        int portAfter;
    };
    const Case cases[] = {
        // The old number comes back, open again: the probe is not lost to a wrong choice.
        {"port without device", 2, 1, "/dev/ttyS2: No such file or directory", 1},
        {"no port chosen", -1, 1, "Invalid port number", 1},
        // The new port stays: only a port number that fails is undone.
        {"no stop bits chosen", 3, -1, "Invalid port settings", 4},
    };
    probePort.missingPorts = {3};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        probeWatch.Close();
        probePort.SetCommPort(1);
        probeWatch.Open();
        dialogs.asked.clear();

        Open(PortDialogKind::Probe);
        List("cboPort")->setCurrentIndex(c.portIndex);
        List("cboStopBits")->setCurrentIndex(c.stopBitsIndex);
        Click("cmdOK");

        ASSERT_EQ(dialogs.Count(QStringLiteral("Message")), 1);
        const auto* box = dialogs.Last(QStringLiteral("Message"));
        EXPECT_EQ(box->text, QString::fromLatin1(c.message));
        EXPECT_EQ(box->icon, MessageIcon::Exclamation);
        EXPECT_EQ(box->title, QStringLiteral("Tallion Tool"));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(probePort.CommPort(), c.portAfter);
        EXPECT_TRUE(probePort.PortOpen());
        EXPECT_EQ(Stored("RZ7PortNumber"), "<absent>");
        EXPECT_TRUE(panels.empty());
    }
}

TEST_F(PortDialogTest, Rz7DefaultTwiceThenOkAppliesItsSettingsOnly)
{
    probePort.SetHandshaking(2);
    Open(PortDialogKind::Probe);
    EXPECT_EQ(List("cboParity")->currentText(), QStringLiteral("Even"));
    Find<QAbstractButton>("optFlow0")->click();
    List("cboPort")->setCurrentIndex(4);

    Click("CmdDefaultRZ7");
    Click("CmdDefaultRZ7");
    // The port and flow selections return to what the port is set to.
    EXPECT_EQ(List("cboPort")->currentIndex(), 0);
    EXPECT_TRUE(Find<QAbstractButton>("optFlow2")->isChecked());
    // clang-format off
    const std::pair<const char*, int> counts[] = {
        {"cboPort", 16}, {"cboSpeed", 16}, {"cboDatabits", 5}, {"cboParity", 5}, {"cboStopBits", 2}};
    for (const auto& [name, count] : counts)
        EXPECT_EQ(List(name)->count(), count) << name;
    Click("cmdOK");

    EXPECT_EQ(probePort.Settings(), "38400,n,8,1");
    EXPECT_EQ(probePort.Handshaking(), 2);
    EXPECT_EQ(Stored("RZ7PortSetting"), "38400,n,8,1");
    EXPECT_EQ(dialogs.Count(QStringLiteral("Message")), 0);
}

TEST_F(PortDialogTest, ParsingFieldsLoadFromTheStoreAndDefaultButtonsSetThem)
{
    struct Case {
        PortDialogKind kind;
        const char* header;
        const char* start;
        const char* defaultLists;  // speed, parity, data bits, stop bits after Default
    };
    // clang-format on
    // clang-format off
    const Case cases[] = {
        {PortDialogKind::EV2000, "$", "2", "4800 Even 7 2"},
        {PortDialogKind::TU9000, "$", "20", "4800 Even 7 2"},
        {PortDialogKind::D410, "$", "2", "4800 Even 7 2"},
        {PortDialogKind::TE1000L, "~", "20", "9600 None 8 1"},
        {PortDialogKind::Tenso, "~", "20", "9600 None 8 1"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Open(c.kind);
        EXPECT_EQ(Find<QLineEdit>("txtHeader")->text(), QString::fromLatin1(c.header));
        EXPECT_EQ(Find<QLineEdit>("txtWeightStartPosition")->text(), QString::fromLatin1(c.start));
        EXPECT_EQ(Find<QLineEdit>("txtFactor")->text(), QStringLiteral("1"));
        Click("cmdDefault");
        EXPECT_EQ(Find<QLineEdit>("txtHeader")->text(), QStringLiteral("$"));
        const QStringList lists{List("cboSpeed")->currentText(), List("cboParity")->currentText(),
                                List("cboDatabits")->currentText(), List("cboStopBits")->currentText()};
        EXPECT_EQ(lists.join(QLatin1Char(' ')), QString::fromLatin1(c.defaultLists));
    }

    // TE1000L and Tenso share their start position.
    Open(PortDialogKind::TE1000L);
    Click("cmdDefault");
    Find<QLineEdit>("txtWeightStartPosition")->setText(QStringLiteral("17"));
    Click("cmdOK");
    EXPECT_EQ(scalePort.Settings(), "9600,n,8,1");
    Open(PortDialogKind::Tenso);
    EXPECT_EQ(Find<QLineEdit>("txtWeightStartPosition")->text(), QStringLiteral("17"));
    EXPECT_EQ(Find<QLineEdit>("txtHeader")->text(), QStringLiteral("$"));
}

TEST_F(PortDialogTest, ScaleBoxClicksHoldAtOnceAndCancelStoresNothing)
{
    options.toledo.SISOon = true;
    Open(PortDialogKind::MettlerToledo);
    EXPECT_TRUE(Find<QCheckBox>("CheckSISO")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("CheckSTX")->isChecked());
    Click("CheckSTX");
    EXPECT_TRUE(options.toledo.STXon);
    Click("CmdCancel");
    EXPECT_TRUE(options.toledo.STXon);
    EXPECT_EQ(Stored("STX"), "<absent>");

    Open(PortDialogKind::Wedderburn);
    Click("CheckStable");
    EXPECT_TRUE(options.wedderburn.StableCode);
    EXPECT_FALSE(options.wedderburn.Hcode);

    // A dialog without Cancel closes on Escape without applying; Return is OK.
    Open(PortDialogKind::Generic);
    List("cboSpeed")->setCurrentIndex(0);
    List("cboSpeed")->setFocus();
    QTest::keyClick(List("cboSpeed"), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(scalePort.Settings(), "9600,e,7,1");
    EXPECT_EQ(Stored("WeightPortSetting"), "<absent>");
    Open(PortDialogKind::Generic);
    Find<QLineEdit>("txtFactor")->setText(QStringLiteral("0.5"));
    QTest::keyClick(Find<QLineEdit>("txtFactor"), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(options.generic.factor, "0.5");
}

TEST_F(PortDialogTest, KeysStoredByEachDialog)
{
    struct Case {
        PortDialogKind kind;
        std::map<std::string, std::string> keys;
    };
    const std::map<std::string, std::string> scalePortKeys{{"WeightPortSetting", "9600,e,7,1"}, {"WeightPortNum", "<"}};
    auto with = [&](std::map<std::string, std::string> more) {
        more.insert(scalePortKeys.begin(), scalePortKeys.end());
        return more;
    };
    // clang-format off
    const Case cases[] = {
        {PortDialogKind::Probe,
         {{"RZ7PortSetting", "4800,e,7,2"}, {"RZ7PortNumber", "1"}, {"RZ7Hsk", "1"}, {"RZ7Echo", ""}}},
        {PortDialogKind::MettlerToledo,
         with({{"WeightHandshaking", "3"}, {"Echo", ""}, {"SISO", "0"}, {"STX", "1"}, {"CheckSum", "1"}})},
        {PortDialogKind::Wedderburn,
         with({{"WeightHandshaking", "3"}, {"Echo", ""}, {"HeaderCode", "0"}, {"StabilityCode", "1"}})},
        {PortDialogKind::Generic,
         with({{"HeaderCharacter", "#"}, {"WeightStartPosition", "3"}, {"Factor", "0.5"}})},
        {PortDialogKind::EV2000, with({{"HeaderCharacter", "$"}, {"EV2000StartPosition", "2"}, {"Factor", "1"}})},
        {PortDialogKind::TU9000, with({{"HeaderCharacter", "$"}, {"TU9000StartPosition", "20"}, {"Factor", "1"}})},
        {PortDialogKind::D410, with({{"HeaderCharacter", "$"}, {"D410StartPosition", "2"}, {"Factor", "1"}})},
        {PortDialogKind::TE1000L, with({{"HeaderCharacter", "~"}, {"TE1000LStartPosition", "20"}, {"Factor", "1"}})},
        {PortDialogKind::Tenso, with({{"HeaderCharacter", "~"}, {"TE1000LStartPosition", "20"}, {"Factor", "1"}})},
    };
    // clang-format on
    std::set<std::string> everyKey;
    for (const Case& c : cases)
        for (const auto& [key, text] : c.keys)
            everyKey.insert(key);

    probePort.SetHandshaking(1);
    scalePort.SetCommPort(12);
    scalePort.SetHandshaking(3);
    options.toledo = {true, false, true}; // STX, SI/SO, checksum
    options.wedderburn = {true, false};   // stable sign, header code
    options.generic = {"#", "3", "0.5"};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        QFile::remove(settings.FilePath());
        dialogs.asked.clear();
        Open(c.kind);
        Click("cmdOK");
        ASSERT_EQ(dialog->result(), QDialog::Accepted);
        for (const std::string& key : everyKey) {
            const auto expected = c.keys.find(key);
            EXPECT_EQ(Stored(key), expected == c.keys.end() ? "<absent>" : expected->second) << key;
        }
        // Scale dialogs ask for a restart; the probe's applies without.
        if (c.kind == PortDialogKind::Probe) {
            EXPECT_EQ(dialogs.asked.size(), 0u);
        } else {
            ASSERT_EQ(dialogs.asked.size(), 1u);
            EXPECT_EQ(dialogs.asked[0].text, QStringLiteral("Please restart program to complete this action."));
            EXPECT_EQ(dialogs.asked[0].title, QStringLiteral("Tallion Tool"));
            EXPECT_EQ(dialogs.asked[0].icon, MessageIcon::Information);
        }
    }
}
