#pragma once
// State shared by the station's windows for the life of the program.

#include "probe/CarcassMeasurement.h"
#include "weighing/WeightSource.h"

#include <string>

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
