#pragma once
// What start-up takes from the settings store, each value checked so that a bad one is skipped
// instead of stopping the station. No widgets here.

#include "weighing/WeightSource.h"

#include <optional>
#include <string>
#include <vector>

class SettingsStore;

// The probe port as stored. The probe port dialog stores what is in force under the "RZ7" keys;
// those win over the older "RZ4" keys, so a port changed in the dialog survives a restart, its
// flow control ("RZ7Hsk") included.
struct ProbePortConfig {
    std::string portText; // as stored, for diagnostics
    std::string settingsText;
    std::optional<int> port;             // 1..16, or none when the stored text is not a port
    std::optional<std::string> settings; // none when the text does not parse
    std::optional<int> handshaking;      // 0..3; none when absent or not such a number
};
ProbePortConfig ReadProbePortConfig(const SettingsStore& settings);

// "Banner": the display template 1..10; none for a text that is not such a number.
std::optional<int> TemplateNumberFromSetting(const std::string& text);

// "AnaType": the analysis type entry to tick (1..3, 5..9), or none ("900", "904", anything else).
std::optional<int> AnalysisEntryToTick(const std::string& anaType);

// The weighing set-up as stored by the Weight and Sequence menus ("WgtScaleModel",
// "WgtPrbOrder", "UseWgtInEqu"). A missing or unknown value keeps what the station starts with
// when weighing is off: No Weight, weight before probe, no equation. No Weight never uses the
// equation.
struct StoredWeighing {
    WeightSource source = WeightSource::NoWeight;
    bool weightBeforeProbe = true;
    bool useWeightInEquation = false;
    // Stored values that were present but not understood, as key="text", for the operator.
    std::vector<std::string> notUnderstood;
};
StoredWeighing ReadStoredWeighing(const SettingsStore& settings);

// "Tallion Tool  -  Kestrane Tallion Systems LTD  -  Version 7.4.1".
std::string MainWindowCaption();
