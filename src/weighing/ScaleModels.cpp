#include "weighing/ScaleModels.h"

#include <array>

namespace {

// On/off keys count as on for any text other than "0".
bool IsOn(const std::string& text)
{
    return text != "0";
}

template <auto Part, auto Flag>
constexpr ScaleFlag FlagKey(const char* key)
{
    return {key, [](const ScaleOptions& o) { return o.*Part.*Flag; },
            [](ScaleOptions& o, bool on) { (o.*Part).*Flag = on; }};
}

const ScaleFlag kToledoFlags[] = {
    FlagKey<&ScaleOptions::toledo, &ToledoOptions::SISOon>("SISO"),
    FlagKey<&ScaleOptions::toledo, &ToledoOptions::STXon>("STX"),
    FlagKey<&ScaleOptions::toledo, &ToledoOptions::ChecksumOn>("CheckSum"),
};

const ScaleFlag kWedderburnFlags[] = {
    FlagKey<&ScaleOptions::wedderburn, &WedderburnOptions::Hcode>("HeaderCode"),
    FlagKey<&ScaleOptions::wedderburn, &WedderburnOptions::StableCode>("StabilityCode"),
};

void ReadFlags(const ScaleModel& model, const SettingReader& read, ScaleOptions& options)
{
    for (const ScaleFlag& flag : model.flags)
        flag.set(options, IsOn(read(flag.key, "0")));
}

void ReadHeaderOptions(const ScaleModel& model, const SettingReader& read, ScaleOptions& options)
{
    HeaderScaleOptions& header = options.*model.runningHeader;
    header.header = read(kHeaderCharacterKey, model.headerDefaults.header);
    header.startPosition = read(model.startPositionKey, model.headerDefaults.startPosition);
    header.factor = read(kFactorKey, model.headerDefaults.factor);
}

WeightParseResult ParseToledo(const ScaleModel&, const std::string& scaleMessage, const ScaleOptions& options)
{
    return ParseToledoWeight(scaleMessage, options.toledo);
}

WeightParseResult ParseWedderburn(const ScaleModel&, const std::string& scaleMessage, const ScaleOptions& options)
{
    return ParseWedderburnWeight(scaleMessage, options.wedderburn);
}

WeightParseResult ParseHeader(const ScaleModel& model, const std::string& scaleMessage, const ScaleOptions& options)
{
    return ParseHeaderWeight(*model.source, scaleMessage, options.*model.runningHeader);
}

using S = WeightSource;

// The ASCII scales' dialogs share one caption (the model's name follows it).
constexpr int kTextScaleCaption = 1258;

// An ASCII scale's dialog whose fields are read from the store, with a Default button.
constexpr ScaleDialog kTextScaleDialog(const char* objectName)
{
    return {.objectName = objectName,
            .captionId = kTextScaleCaption,
            .extras = PortDialogExtras::Parsing,
            .parsingSource = ParsingSource::Store,
            .defaultButton = true};
}

using X = PortDialogExtras;
using P = ParsingSource;

const std::array<ScaleModel, 10> kModels{{
    {.source = S::NoWeight, .entryChoosesSource = true, .menuEntry = "mnuWgtNon", .captionId = 1033},
    {.source = S::ManualInput, .entryChoosesSource = true, .menuEntry = "mnuWgtMan", .captionId = 1034},
    {.source = S::MettlerToledo,
     .entryChoosesSource = true,
     .menuEntry = "mnuWgtTOL",
     .captionId = 1035,
     .dialog = {.objectName = "frmTOLEDO", .captionId = 1177, .framed = true, .extras = X::ToledoFrame},
     .lineDefaults = "9600,e,7,1",
     .flags = kToledoFlags,
     .readOptions = ReadFlags,
     .parse = ParseToledo},
    {.source = S::Wedderburn,
     .entryChoosesSource = true,
     .menuEntry = "mnuWgtWed",
     .captionId = 1036,
     .dialog = {.objectName = "frmWdburn", .captionId = 1183, .framed = true, .extras = X::WedderburnLink},
     .lineDefaults = "9600,e,7,1",
     .flags = kWedderburnFlags,
     .readOptions = ReadFlags,
     .parse = ParseWedderburn},
    {.source = S::Generic,
     .entryChoosesSource = true,
     .menuEntry = "mnuWeightGeneric",
     .captionId = 1037,
     .dialog = {.objectName = "frmWeightGeneric",
                .captionId = kTextScaleCaption,
                .extras = X::Parsing,
                .parsingSource = P::RunningOptions},
     .lineDefaults = "4800,e,7,2",
     .startPositionKey = "WeightStartPosition",
     .headerDefaults = {"$", "2", "1"},
     .errorPrefix = "WeightGeneric error: ",
     .runningHeader = &ScaleOptions::generic,
     .readOptions = ReadHeaderOptions,
     .parse = ParseHeader},
    {.source = S::EV2000,
     .entryChoosesSource = true,
     .menuEntry = "mnuEV2000",
     .captionId = 1038,
     .dialog = kTextScaleDialog("frmEV2000"),
     .lineDefaults = "4800,e,7,2",
     .startPositionKey = "EV2000StartPosition",
     .headerDefaults = {"$", "2", "1"},
     .errorPrefix = "Weight EV2000 error: ",
     .runningHeader = &ScaleOptions::ev2000,
     .readOptions = ReadHeaderOptions,
     .parse = ParseHeader},
    {.source = S::TU9000,
     .entryChoosesSource = true,
     .menuEntry = "mnuTU9000",
     .captionId = 1039,
     .dialog = kTextScaleDialog("frmTU9000"),
     .lineDefaults = "4800,e,7,2",
     .startPositionKey = "TU9000StartPosition",
     .headerDefaults = {"$", "20", "1"},
     .errorPrefix = "Weight TU9000 error: ",
     .runningHeader = &ScaleOptions::tu9000,
     .readOptions = ReadHeaderOptions,
     .parse = ParseHeader},
    {.source = S::D410,
     .entryChoosesSource = false,
     .menuEntry = "mnuD410",
     .captionId = 1262,
     .dialog = {.objectName = "frmD410",
                .captionId = kTextScaleCaption,
                .extras = X::ParsingWithD410Info,
                .parsingSource = P::Store,
                .defaultButton = true},
     .lineDefaults = "4800,e,7,2",
     .startPositionKey = "D410StartPosition",
     .headerDefaults = {"$", "2", "1"}},
    // TE1000L and Tenso share their start position; an absent header reads as "~".
    {.source = S::TE1000L,
     .entryChoosesSource = false,
     .menuEntry = "mnuTE1000L",
     .captionId = 1261,
     .dialog = kTextScaleDialog("frmTE1000L"),
     .lineDefaults = "9600,n,8,1",
     .startPositionKey = "TE1000LStartPosition",
     .headerDefaults = {"~", "20", "1"}},
    {.source = std::nullopt,
     .entryChoosesSource = false,
     .menuEntry = "mnuTenso",
     .caption = "Tenso",
     .dialog = kTextScaleDialog("frmTenso"),
     .lineDefaults = "9600,n,8,1",
     .startPositionKey = "TE1000LStartPosition",
     .headerDefaults = {"~", "20", "1"}},
}};

} // namespace

std::span<const ScaleModel> ScaleModels()
{
    return kModels;
}

const ScaleModel* ScaleModelOf(WeightSource source)
{
    for (const ScaleModel& model : kModels)
        if (model.source == source)
            return &model;
    return nullptr;
}

const ScaleModel* ScaleModelOfDialog(std::string_view dialog)
{
    for (const ScaleModel& model : kModels)
        if (model.dialog.objectName && model.dialog.objectName == dialog)
            return &model;
    return nullptr;
}

std::optional<WeightSource> StoredWeightSource(int number)
{
    for (const ScaleModel& model : kModels)
        if (model.source && model.entryChoosesSource && static_cast<int>(*model.source) == number)
            return model.source;
    return std::nullopt;
}

const char* SourceMenuEntry(WeightSource source)
{
    const ScaleModel* model = ScaleModelOf(source);
    if (!model || !model->entryChoosesSource)
        model = ScaleModelOf(WeightSource::NoWeight);
    return model->menuEntry;
}
