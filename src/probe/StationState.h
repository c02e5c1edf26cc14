#pragma once
// State shared by the station's windows for the life of the program.

#include "probe/CarcassMeasurement.h"

#include <string>

// Where carcass weights come from; the numbers are those stored as "WgtScaleModel" (5 is not
// used; D410 and TE1000L have settings dialogs but no menu entry sets them as the source).
enum class WeightSource : int {
    NoWeight = 1,
    ManualInput = 2,
    MettlerToledo = 3,
    Wedderburn = 4,
    Generic = 6,
    EV2000 = 7,
    TU9000 = 8,
    D410 = 9,
    TE1000L = 10,
};

struct StationState {
    CarcassMeasurement currentMeasurement;
    // The next result line is a measurement (black) rather than an alert (red).
    bool lineIsMeasurement = true;

    WeightSource weightSource = WeightSource::NoWeight;
    bool weightBeforeProbe = true;
    bool useWeightInEquation = false;
    bool weightPromptShown = false;

    // Result log: empty path means nothing is logged.
    std::string logFilePath;
    int templateNumber = 3;
    bool summaryShown = false;
    std::string viewedLogFile;
    std::string decimalMark = ".";
};
