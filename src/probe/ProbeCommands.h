#pragma once
// The texts of the commands the operator sends the probe, and the rules that decide whether an
// operator's input makes a command at all. No widgets here; the menus ask and queue.

#include <QDateTime>
#include <optional>
#include <string>

// While the operator views a log file the probe shows the station locked; "7" ends that prompt
// (and any other the station put on the probe's display).
inline constexpr char kStationLockedCommand[] = "6$AAA Locked";
inline constexpr char kEndPromptCommand[] = "7";
// "6" with no text: the probe's display is blanked (while the class summary shows).
inline constexpr char kBlankDisplayCommand[] = "6";
// The probe is to expect new firmware.
inline constexpr char kFirmwareDownloadCommand[] = "F";

// The pairing of probe results with weights: a result refused for want of a weight, the prompt
// ended once a weight came, too many weights, and which equation the first weight chose.
inline constexpr char kRefuseResultCommand[] = "8";
inline constexpr const char* kWeightTakenAfterPromptCommand = kEndPromptCommand;
inline constexpr char kTooManyWeightsCommand[] = "2.A(APeso mas";
inline constexpr char kFirstWeightLightCommand[] = "950"; // up to 110 kg
inline constexpr char kFirstWeightHeavyCommand[] = "951"; // above 110 kg
// The weight prompts: the first and the refreshed one, each followed by the probe's word for
// weight (at most 7 characters) and "?".
inline constexpr char kWeightPromptStart[] = "6$AAA";
inline constexpr char kWeightPromptAgain[] = "2*AAA";

// Counter "Set to": the question put to the operator.
inline constexpr char kCounterPrompt[] = "carcass counter (6 digits) = ";
inline constexpr char kCounterTitle[] = "Probe Carcass counter Setting";
inline constexpr char kCounterDefault[] = "000001";

// Clearing the probe's measurement store is asked first; the probe's records are gone after it.
inline constexpr char kClearStoreQuestion[] = "Probe's measurement store will be cleard.";
inline constexpr char kClearStoreTitle[] = "Clear measurement store of probe.";

// "T" and the station's clock as yymmddhhmmss, 24-hour.
std::string TimeAndDateCommand(const QDateTime& now);

// "3" and the six characters typed. None unless the answer is six digits that are not all zero:
// the probe reads the counter as digits, so a stray letter or space is not passed on.
std::optional<std::string> CounterSetCommand(const std::string& typed);

// "90" and the analysis type digit 0..9; it is also what "AnaType" stores.
std::string AnalysisTypeCommand(int type);

// The two commands of a colour calibration: "C" with the Colour 130 number, "c" with the
// Colour 61 number, each sent as typed (surrounding spaces aside).
struct CalibrationCommands {
    std::string colour130;
    std::string colour61;
};
// None when a text is not a whole number of 16 bits, or the first is not below 255 or the
// second not below 120. Only the upper bounds are checked; a negative number passes.
std::optional<CalibrationCommands> ColourCalibrationCommands(const std::string& text130, const std::string& text61);
