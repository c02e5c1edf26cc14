#pragma once
// Helpers of the end-to-end tests: the simulated probe and scale, each on a fresh pseudo-terminal
// reached through a symbolic link (as udev names a USB adapter), records with chosen carcass
// counters, and the check that a log holds each of them once, in order.

#include "tools/sim/DeviceLink.h"
#include "tools/sim/PtyPair.h"
#include "tools/sim/SimulatedProbe.h"
#include "tools/sim/SimulatedScale.h"

#include <QString>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

struct ProbeDevice {
    PtyPair pty;
    SimulatedProbe probe{pty.masterFd()};
    DeviceLink name; // goes with the device when it is pulled

    // Points `link` at the new device in one step.
    explicit ProbeDevice(const QString& link);
    ~ProbeDevice() { probe.Stop(); }

    bool StartUpCommandsArrived() const;
};

struct ScaleDevice {
    PtyPair pty;
    SimulatedScale scale{pty.masterFd()};
    DeviceLink name;

    explicit ScaleDevice(const QString& link)
        : name(link, pty.slavePath())
    {}
};

// A basic measurement of carcass `counter` (six digits).
std::string BasicRecord(const std::string& counter);

// Succeeds when `log` holds each counter's line exactly once, in the order given; says what is
// wrong otherwise.
::testing::AssertionResult LoggedOnceInOrder(const std::string& log, std::initializer_list<const char*> counters);
