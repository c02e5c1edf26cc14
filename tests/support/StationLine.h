#pragma once
// The set-up the end-to-end tests share: the station program on the simulated probe (and, when a
// test plugs one in, the simulated scale), logging to a file of its own. Each device is plugged
// in at a symbolic link, as udev names a USB adapter: the probe at `link` as port 1, the scale at
// `scaleLink` as port 2.
//
//   using ProgramFaults = StationLineTest;
//   TEST_F(ProgramFaults, ...) { ASSERT_TRUE(StartStation()); Probe().probe.QueueMessage(...); }
//
// A test that tries one line after another makes a StationLine of its own for each.

#include "support/ProbeDevice.h"
#include "support/StationProcess.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <string>

class StationLine {
public:
    StationProcess station;
    const QString link = station.Path("probe");
    const QString scaleLink = station.Path("scale");
    // The log file the station is given; change it before StartStation() for another place, or
    // empty it for a station with no log file set.
    QString log = station.Path("shift.dif");

    // Stores `log` as the station's log file, plugs the probe in (unless it is), names the scale
    // port if a scale is plugged in, and starts the station with `arguments` added.
    bool StartStation(const QStringList& arguments = {});

    ProbeDevice& Probe() { return device_ ? *device_ : PlugProbe(); }
    // Plugs a new probe device in at `link`; the one before, if any, is pulled first.
    ProbeDevice& PlugProbe();
    // Pulls the probe device out: the link goes with it.
    void PullProbe() { device_.reset(); }
    // The scale at `scaleLink`, plugged in at the first call.
    ScaleDevice& Scale();

    std::string Log() const { return StationProcess::ReadFile(log); }
    // Waits up to `ms` for carcass `counter` (six digits) in the log.
    bool WaitLogged(const char* counter, int ms);

private:
    std::unique_ptr<ProbeDevice> device_;
    std::unique_ptr<ScaleDevice> scale_;
};

class StationLineTest : public ::testing::Test, public StationLine {};
