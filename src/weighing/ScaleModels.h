#pragma once
// Every weight source and scale model the station knows, in one table: the number stored as
// "WgtScaleModel", the Weight menu's entry, the port settings dialog, the line's defaults, the
// settings keys of the model's options, how they are read and how a message is parsed. Whatever
// differs between models is looked up here rather than decided case by case.

#include "weighing/ScaleOptions.h"
#include "weighing/WeightParsers.h"
#include "weighing/WeightSource.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The keys of a header scale's options beside its own start position key.
inline constexpr const char* kHeaderCharacterKey = "HeaderCharacter";
inline constexpr const char* kFactorKey = "Factor";

// The options of a port settings dialog beyond the port section that every one has.
enum class PortDialogExtras { None, ToledoFrame, WedderburnLink, Parsing, ParsingWithD410Info };

// Where the header, start position and factor fields of an ASCII-scale dialog come from when
// it opens.
enum class ParsingSource {
    None,           // no parsing fields
    RunningOptions, // the running station's options (Generic: what the scale set-up last loaded)
    Store,          // the settings store, with the model's defaults
};

// A model's port settings dialog.
struct ScaleDialog {
    const char* objectName = nullptr; // frmTOLEDO, ...; nullptr: the model has none
    int captionId = 0;
    // Centred on the screen, with flow control and a Cancel button; the others close through OK
    // or the window's close control.
    bool framed = false;
    PortDialogExtras extras = PortDialogExtras::None;
    ParsingSource parsingSource = ParsingSource::None;
    // A Default button that puts back the model's line defaults and header fields (the header
    // as "$", whatever an absent key reads as).
    bool defaultButton = false;
};

// An on/off option kept under a key of its own: "0" is off, any other text on.
struct ScaleFlag {
    const char* key;
    bool (*get)(const ScaleOptions&);
    void (*set)(ScaleOptions&, bool);
};

struct ScaleModel {
    // Stored as "WgtScaleModel"; Tenso has a dialog only and no number.
    std::optional<WeightSource> source = std::nullopt;
    // Choosing the menu entry makes this the weight source; otherwise it only opens the dialog.
    bool entryChoosesSource = false;
    // The Weight menu's entry: object name and caption (a string-table id, or `caption` when 0).
    const char* menuEntry = nullptr;
    int captionId = 0;
    const char* caption = nullptr;
    // The port settings dialog; its object name is nullptr for the models without one.
    ScaleDialog dialog = {};
    // "WeightPortSetting" when nothing is stored; nullptr for the sources without a scale line.
    const char* lineDefaults = nullptr;
    // Mettler-Toledo and Wedderburn: their framing flags, in the order they are read and stored.
    std::span<const ScaleFlag> flags = {};
    // Header scales: the key of their start position (beside "HeaderCharacter" and "Factor"),
    // what a read from the store gives for absent keys, and the prefix of their error texts.
    const char* startPositionKey = nullptr;
    HeaderScaleOptions headerDefaults = {"", "", ""};
    const char* errorPrefix = nullptr;
    // The running options the scale set-up loads and the dialog's OK updates; nullptr for the
    // models that keep theirs in the store only.
    HeaderScaleOptions ScaleOptions::*runningHeader = nullptr;
    // Loads the model's options from the store; nullptr: nothing to load.
    void (*readOptions)(const ScaleModel& model, const SettingReader& read, ScaleOptions& options) = nullptr;
    // Reads the weight out of one message; nullptr: the model has no parser.
    WeightParseResult (*parse)(const ScaleModel& model, const std::string& scaleMessage,
                               const ScaleOptions& options) = nullptr;
};

// The table, in the order of the stored numbers, Tenso last.
std::span<const ScaleModel> ScaleModels();

// The entry of `source`; nullptr for a number that is no source.
const ScaleModel* ScaleModelOf(WeightSource source);

// The entry whose port settings dialog is `dialog` (an object name); nullptr for none.
const ScaleModel* ScaleModelOfDialog(std::string_view dialog);

// The source a stored "WgtScaleModel" number stands for, among those a menu entry can choose;
// nothing for any other number.
std::optional<WeightSource> StoredWeightSource(int number);

// The menu entry ticked for `source`: its own where a menu entry chooses it, else No Weight's.
const char* SourceMenuEntry(WeightSource source);
