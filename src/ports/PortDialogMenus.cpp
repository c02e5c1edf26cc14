#include "ports/PortDialogMenus.h"

#include "ports/PortDialog.h"
#include "settings/PortDeviceMap.h"
#include "settings/SettingsStore.h"
#include "station/StationCore.h"

#include <QAction>

PortDialogMenus::PortDialogMenus(Links links, const MenuLookup& menus, QWidget* dialogParent)
    : QObject(dialogParent)
    , links_(std::move(links))
    , dialogParent_(dialogParent)
{
    if (QAction* probe = menus(QStringLiteral("mnuPrb")))
        connect(probe, &QAction::triggered, this, [this] { Open(PortDialogKind::Probe); });
}

QString PortDialogMenus::DeviceFor(int port) const
{
    // Read each time: the settings may map a port anew while the station runs.
    return links_.devices ? links_.devices->DeviceFor(port) : PortDeviceMap(links_.settings).DeviceFor(port);
}

PortDialogDeps PortDialogMenus::DepsFor(PortDialogKind kind)
{
    StationCore& core = links_.core;
    const bool probe = kind == PortDialogKind::Probe;
    const StationCore::PortForSetUp lent = probe ? core.probePortForSetUp() : core.scalePortForSetUp();
    PortDialogDeps deps{lent.port,
                        lent.watch,
                        links_.settings,
                        links_.questions,
                        links_.scaleOptions,
                        [this](int port) { return DeviceFor(port); },
                        links_.setStatusPanel,
                        {}};
    if (probe) {
        // Another device may hold another probe: the link starts afresh, as after a device's return.
        deps.portReopened = [this, &core] {
            core.restartLink();
            emit probePortReopened();
        };
    }
    return deps;
}

bool PortDialogMenus::Open(PortDialogKind kind)
{
    StationCore& core = links_.core;
    const StationCore::PortForSetUp scale = core.scalePortForSetUp();
    PrepareIdleScalePort(kind, scale.port, scale.watch, [this](const std::string& key, const std::string& defaultText) {
        return links_.settings.ReadSetting("Properties", key, defaultText);
    });
    return ShowPortDialog(kind, DepsFor(kind), dialogParent_);
}
