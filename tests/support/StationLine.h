#pragma once
// The set-up most end-to-end tests share: the station program on the simulated probe, logging to
// a file of its own. The probe is plugged in at `link`, a symbolic link as udev names a USB
// adapter, and the station runs with --port 1=link.
//
//   using ProgramFaults = StationLineTest;
//   TEST_F(ProgramFaults, ...) { ASSERT_TRUE(StartStation()); Probe().probe.QueueMessage(...); }

#include "support/ProbeDevice.h"
#include "support/StationProcess.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <string>

class StationLineTest : public ::testing::Test {
protected:
    StationProcess station;
    const QString link = station.Path("probe");
    // The log file the station is given; change it before StartStation() for another place.
    QString log = station.Path("shift.dif");

    // Stores `log` as the station's log file, plugs the probe in (unless it is) and starts the
    // station on it with `arguments` added.
    bool StartStation(const QStringList& arguments = {});

    ProbeDevice& Probe() { return device_ ? *device_ : PlugProbe(); }
    // Plugs a new probe device in at `link`; the one before, if any, is pulled first.
    ProbeDevice& PlugProbe();
    // Pulls the probe device out: the link goes with it.
    void PullProbe() { device_.reset(); }

    std::string Log() const { return StationProcess::ReadFile(log); }
    // Waits up to `ms` for carcass `counter` (six digits) in the log.
    bool WaitLogged(const char* counter, int ms);

private:
    std::unique_ptr<ProbeDevice> device_;
};
