#pragma once
// The scale port set up for a scale model as the settings store describes it: the port number
// ("WeightPortNum") and line settings ("WeightPortSetting", the model's defaults when absent),
// the port opened under its watch, then the model's message options loaded. What went wrong is
// told as a meaning; the window decides how the operator hears of it (a box for a menu command,
// a notice at start-up).

#include "probe/PortWatch.h"
#include "probe/SerialPort.h"
#include "weighing/ScaleOptions.h"
#include "weighing/WeightSource.h"

#include <string>

class SettingsStore;

enum class ScalePortFault {
    None,
    // The stored port number (`stored`) names no port from 1 to 16: the port is left as it was.
    PortNumberNotValid,
    // The port layer refused the number (`reason`); the port stays closed.
    PortNotSelected,
    // The stored line settings (`stored`) do not parse; the port stays closed.
    LineSettingsNotValid,
    // The device did not open (`reason`); the watch tries it again every second.
    PortNotOpened,
};

struct ScalePortSetUp {
    ScalePortFault fault = ScalePortFault::None;
    // The port number read from the store (meaningful unless PortNumberNotValid).
    int port = 0;
    std::string stored;
    std::string reason;

    bool portChosen() const { return fault != ScalePortFault::PortNumberNotValid; }
};

// Never waits: opening a port that is not there fails at once and is left to the watch. A port
// already open on the same number stays open; its line settings are applied afresh. The options
// are loaded whatever became of the port.
ScalePortSetUp SetUpScalePort(WeightSource model, SettingsStore& settings, SerialPort& port, PortWatch& watch,
                              ScaleOptions& options);
