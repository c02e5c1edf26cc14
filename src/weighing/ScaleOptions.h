#pragma once
// How each scale model frames its weight messages, as the operator set it up, and where those
// choices are kept in the settings store.

#include "weighing/WeightSource.h"

#include <functional>
#include <string>

// Mettler-Toledo: the main window's flags STXon, SISOon and ChecksumOn.
struct ToledoOptions {
    bool STXon = false;      // the message carries STX
    bool SISOon = false;     // the weight is framed by SO and SI
    bool ChecksumOn = false; // a checksum byte follows the CR
};

// Wedderburn: the main window's flags StableCode and Hcode.
struct WedderburnOptions {
    bool StableCode = false; // a stable sign (00H) opens the message
    bool Hcode = false;      // a header code ("0" net, "4" tare) comes before the weight
};

// Generic, EV2000 and TU9000: the texts of the model dialog's boxes txtHeader,
// txtWeightStartPosition and txtFactor, exactly as typed (the parser checks them).
struct HeaderScaleOptions {
    std::string header = "$";
    std::string startPosition = "2";
    std::string factor = "1";
};

// Every model's options; each window reads the part of the weight source in use.
struct ScaleOptions {
    ToledoOptions toledo;
    WedderburnOptions wedderburn;
    HeaderScaleOptions generic;
    HeaderScaleOptions ev2000;
    HeaderScaleOptions tu9000{"$", "20", "1"};

    // The header-scale options of `model` (Generic, EV2000 or TU9000; any other gives Generic's).
    HeaderScaleOptions& HeaderOptions(WeightSource model);
    const HeaderScaleOptions& HeaderOptions(WeightSource model) const;
};

// Reads one key of section "Properties": the stored text, or `defaultText` when absent.
using SettingReader = std::function<std::string(const std::string& key, const std::string& defaultText)>;

// Loads the stored options of `source` into `options` (the other models' parts stay as they
// are), as the scale port is set up for that source.
void ReadScaleOptions(WeightSource source, const SettingReader& read, ScaleOptions& options);

// The settings key of the start position of a header scale ("WeightStartPosition",
// "EV2000StartPosition", "TU9000StartPosition", "D410StartPosition", "TE1000LStartPosition");
// empty for other sources.
std::string StartPositionKey(WeightSource model);

// "WeightPortSetting" when nothing is stored: "9600,e,7,1" for Mettler-Toledo and Wedderburn,
// "9600,n,8,1" for TE1000L, else "4800,e,7,2".
std::string DefaultWeightPortSetting(WeightSource source);
