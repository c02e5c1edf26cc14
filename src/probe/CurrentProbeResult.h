#pragma once
// The probe result being handled: decoded by the dispatch, taken by the pairing, then finished.
// One message replaces it, so whoever needs it takes it before the next one is dispatched.

#include "probe/CarcassMeasurement.h"

struct CurrentProbeResult {
    CarcassMeasurement currentMeasurement;
    // The next result line is a measurement (black) rather than an alert (red).
    bool lineIsMeasurement = true;
};
