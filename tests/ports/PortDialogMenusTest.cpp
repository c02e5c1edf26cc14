// The port dialogs as the station opens them, without a main window: the devices beside the port
// numbers come from the map handed in, and OK on the probe dialog starts the link afresh.

#include "ports/PortDialogMenus.h"
#include "ports/PortDialog.h"
#include "settings/PortDeviceMap.h"
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
#include <gtest/gtest.h>
#include <map>

TEST(PortDialogMenus, ProbeEntryListsTheGivenDevicesMovesTheProbeAndStartsTheLinkAfresh)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("station.ini")));
    ScriptedDialogs dialogs;
    StationCore core(std::make_unique<FakeSerialPort>(), std::make_unique<FakeSerialPort>());
    ScaleOptions options;
    QAction probeEntry;
    std::map<int, QString> panels;
    settings.WriteSetting("Properties", "PortDevice1", "/dev/ttyUSB0");
    PortDeviceMap devices(settings);
    devices.Override(1, QStringLiteral("/dev/pts/7")); // as from the command line
    PortDialogMenus menus(
        PortDialogMenus::Links{core, settings, dialogs, options, &devices,
                               [&](int panel, const QString& text) { panels[panel] = text; }},
        [&](const QString& name) { return name == QStringLiteral("mnuPrb") ? &probeEntry : nullptr; }, nullptr);
    int reopened = 0;
    QObject::connect(&menus, &PortDialogMenus::probePortReopened, [&] { ++reopened; });

    QString firstPort;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<PortDialog*>(w); dialog && dialog->isVisible()) {
                auto* ports = dialog->findChild<QComboBox*>(QStringLiteral("cboPort"));
                firstPort = ports->itemText(0);
                ports->setCurrentIndex(2);
                dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            }
    });
    probeEntry.trigger();

    EXPECT_EQ(firstPort, QStringLiteral("1   /dev/pts/7"));
    EXPECT_EQ(core.probePort().CommPort(), 3);
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(panels, (std::map<int, QString>{{2, QStringLiteral("3")}}));
}
