// The port settings dialogs, opened from the main window's menus with its ports and flags.

#include "mainwindow/MainWindow.h"

#include "ports/PortDeviceMap.h"
#include "ports/PortDialog.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"

#include <QAction>

void MainWindow::WirePortDialogMenus()
{
    if (QAction* probe = MenuAction(QStringLiteral("mnuPrb")))
        connect(probe, &QAction::triggered, this, [this] { OpenPortDialog(PortDialogKind::Probe); });
}

PortDialogDeps MainWindow::PortDialogDepsFor(PortDialogKind kind)
{
    const bool probe = kind == PortDialogKind::Probe;
    PortDialogDeps deps{probe ? core_->probePort() : core_->scalePort(),
                        probe ? core_->probePortWatch() : core_->scalePortWatch(),
                        settings_,
                        dialogs_,
                        core_->scaleOptions(),
                        deviceForPort,
                        [this](int panel, const QString& text) { SetStatusPanel(panel, text); },
                        {}};
    if (!deps.deviceForPort)
        deps.deviceForPort = [this](int port) { return PortDeviceMap(settings_).DeviceFor(port); };
    if (probe) {
        // Another device may hold another probe: the link starts afresh, as after a device's return.
        deps.portReopened = [this] {
            core_->link().OnPortBack();
            ShowProbePort();
            SetStatusPanel(1, ResourceText(1099));
        };
    }
    return deps;
}

bool MainWindow::OpenPortDialog(PortDialogKind kind)
{
    PrepareIdleScalePort(kind, core_->scalePort(), core_->scalePortWatch(),
                         [this](const std::string& key, const std::string& defaultText) {
                             return settings_.ReadSetting("Properties", key, defaultText);
                         });
    return ShowPortDialog(kind, PortDialogDepsFor(kind), this);
}
