#pragma once
// State shared by the station's windows for the life of the program.

#include "probe/CarcassMeasurement.h"

#include <string>

struct StationState {
    CarcassMeasurement currentMeasurement;
    // The next result line is a measurement (black) rather than an alert (red).
    bool lineIsMeasurement = true;

    // 1 No Weight, 2 Manual Input, 3 Mettler-Toledo, 4 Wedderburn, 6 Generic, 7 EV2000, 8 TU9000.
    int weightSource = 1;
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
