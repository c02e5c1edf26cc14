// The port dialogs as the station opens them, without a main window: the devices beside the port
// numbers come from the map handed in, and OK on the probe dialog starts the link afresh.

#include "ports/PortDialogMenus.h"
#include "ports/PortDeviceMap.h"
#include "ports/PortDialog.h"
#include "settings/SettingsStore.h"
#include "station/StationCore.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

class PortDialogMenusTest : public ::testing::Test {
protected:
    std::unique_ptr<PortDialogMenus> Make(const PortDeviceMap* devices)
    {
        auto menus = std::make_unique<PortDialogMenus>(
            PortDialogMenus::Links{core, settings, dialogs, options, devices,
                                   [this](int panel, const QString& text) { panels[panel] = text; }},
            [this](const QString& name) { return name == QStringLiteral("mnuPrb") ? &probeEntry : nullptr; }, nullptr);
        QObject::connect(menus.get(), &PortDialogMenus::probePortReopened, [this] { ++reopened; });
        return menus;
    }

    // Runs `operate` on the port dialog once it is on screen, then closes it if still open.
    static void WhenShown(std::function<void(PortDialog&)> operate)
    {
        QTimer::singleShot(0, [operate] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<PortDialog*>(w); dialog && dialog->isVisible()) {
                    operate(*dialog);
                    if (dialog->isVisible())
                        dialog->reject();
                    return;
                }
        });
    }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    ScriptedDialogs dialogs;
    StationCore core{std::make_unique<FakeSerialPort>(), std::make_unique<FakeSerialPort>()};
    ScaleOptions options;
    QAction probeEntry;
    std::map<int, QString> panels;
    int reopened = 0;
};

} // namespace

TEST_F(PortDialogMenusTest, PortListShowsTheDevicesOfThisRun)
{
    struct Case {
        const char* name;
        const char* override1; // nullptr: no map handed in
        const char* firstPort;
    };
    const Case cases[] = {
        {"settings only", nullptr, "1   /dev/ttyUSB0"},
        {"command line", "/dev/pts/7", "1   /dev/pts/7"},
    };
    settings.WriteSetting("Properties", "PortDevice1", "/dev/ttyUSB0");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PortDeviceMap devices(settings);
        if (c.override1)
            devices.Override(1, QString::fromLatin1(c.override1));
        auto menus = Make(c.override1 ? &devices : nullptr);
        QString firstPort;
        WhenShown([&](PortDialog& dialog) {
            firstPort = dialog.findChild<QComboBox*>(QStringLiteral("cboPort"))->itemText(0);
        });
        EXPECT_FALSE(menus->Open(PortDialogKind::Probe));
        EXPECT_EQ(firstPort, QString::fromLatin1(c.firstPort));
    }
}

TEST_F(PortDialogMenusTest, ProbeEntryMovesTheProbeAndStartsTheLinkAfresh)
{
    auto menus = Make(nullptr);
    WhenShown([](PortDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("cboPort"))->setCurrentIndex(2);
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    probeEntry.trigger();

    EXPECT_EQ(core.probePort().CommPort(), 3);
    EXPECT_TRUE(core.probePort().PortOpen());
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(panels, (std::map<int, QString>{{2, QStringLiteral("3")}}));
    EXPECT_EQ(settings.ReadSetting("Properties", "RZ7PortNumber", "<absent>"), "3");
}
