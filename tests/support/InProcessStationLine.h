#pragma once
// The set-up of the end-to-end tests that run the station inside the test rather than as a
// program: a settings file and a log file of their own, the simulated probe plugged in at
// `probeLink` as port 1 (and, when a test plugs one in, the simulated scale at `scaleLink` as
// port 2), and the main window or the station core over real serial ports on them.
//
//   InProcessStationLine line;
//   MainWindow& window = line.StartWindow();
//   line.probe.Start();

#include "mainwindow/MainWindow.h"
#include "settings/SettingsStore.h"
#include "station/StationCore.h"
#include "support/ProbeDevice.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <memory>

class InProcessStationLine {
public:
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    // The log file the station is given; empty it before the start for a station with none.
    QString log = dir.filePath(QStringLiteral("shift.dif"));
    ScriptedDialogs dialogs;
    const QString probeLink = dir.filePath(QStringLiteral("probe"));
    const QString scaleLink = dir.filePath(QStringLiteral("scale"));
    ProbeDevice device{probeLink};
    SimulatedProbe& probe = device.probe;

    // The station goes first, closing its ports while the devices are still plugged in.
    ~InProcessStationLine();

    // The scale at `scaleLink`, plugged in at the first call; plug it in before the start.
    ScaleDevice& Scale();

    // Stores `log` (and port 2 as the scale's, if one is plugged in), builds the main window and
    // runs its start-up.
    MainWindow& StartWindow(bool withWeighing = false);
    // The station core alone over the same ports, its receive tick running.
    StationCore& StartCore();

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<StationCore> core;

private:
    std::unique_ptr<SerialPort> Port() const;

    std::unique_ptr<ScaleDevice> scale_;
};
