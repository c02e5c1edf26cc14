#pragma once
// The station run inside the test rather than as a program: a settings file and a log file of its
// own, the simulated probe plugged in at `probeLink` (the scale, once plugged in, at `scaleLink`),
// and the main window or the station core over real serial ports on them.

#include "mainwindow/MainWindow.h"
#include "probe/SerialPortQt.h"
#include "settings/SettingsStore.h"
#include "station/StationCore.h"
#include "support/ProbeDevice.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

struct InProcessStationLine {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    QString log = dir.filePath(QStringLiteral("shift.dif")); // empty: no log file set
    ScriptedDialogs dialogs;
    const QString probeLink = dir.filePath(QStringLiteral("probe")), scaleLink = dir.filePath(QStringLiteral("scale"));
    ProbeDevice device{probeLink};
    SimulatedProbe& probe = device.probe;
    std::unique_ptr<ScaleDevice> scale;
    // Made after the devices, so that the station closes its ports before they are pulled.
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<StationCore> core;

    // A port on `device`, whatever number it is given.
    static std::unique_ptr<SerialPort> PortOn(const QString& device)
    {
        return std::make_unique<SerialPortQt>([device](int) { return device; });
    }
    ScaleDevice& PlugScale() { return *(scale = std::make_unique<ScaleDevice>(scaleLink)); }
    // Stores `log`, builds the main window, runs its start-up and starts the probe.
    MainWindow& StartWindow()
    {
        settings.WriteSetting("Properties", "LogFilePath", log.toStdString());
        window = std::make_unique<MainWindow>(settings, dialogs, PortOn(probeLink), PortOn(scaleLink));
        window->StartUp();
        probe.Start();
        return *window;
    }
    // The core alone, its scale port opened with `scalePortSettings` and its receive tick running;
    // each scale message it takes is kept in `scaleMessages`.
    StationCore& StartCore(const std::string& scalePortSettings)
    {
        core = std::make_unique<StationCore>(PortOn(probeLink), PortOn(scaleLink));
        QObject::connect(core.get(), &StationCore::weightArrived,
                         [this] { scaleMessages.push_back(core->parts().scaleCollector.scaleMessage()); });
        core->parts().scalePort.SetSettings(scalePortSettings);
        core->parts().scalePort.SetPortOpen(true);
        core->parts().receiveTick.resume();
        return *core;
    }
    std::vector<std::string> scaleMessages;
};
