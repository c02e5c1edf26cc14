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

WeightParseResult ParseToledo(const ScaleModel&, const std::string& strWgtScale, const ScaleOptions& options)
{
    return ParseToledoWeight(strWgtScale, options.toledo);
}

WeightParseResult ParseWedderburn(const ScaleModel&, const std::string& strWgtScale, const ScaleOptions& options)
{
    return ParseWedderburnWeight(strWgtScale, options.wedderburn);
}

WeightParseResult ParseHeader(const ScaleModel& model, const std::string& strWgtScale, const ScaleOptions& options)
{
    return ParseHeaderWeight(*model.source, strWgtScale, options.*model.runningHeader);
}

using S = WeightSource;
const HeaderScaleOptions kNoFields{"", "", ""};

// clang-format off
const std::array<ScaleModel, 10> kModels{{
    {S::NoWeight, true, "mnuWgtNon", 1033, nullptr, nullptr, nullptr, {}, nullptr, kNoFields, nullptr, nullptr,
     nullptr, nullptr},
    {S::ManualInput, true, "mnuWgtMan", 1034, nullptr, nullptr, nullptr, {}, nullptr, kNoFields, nullptr, nullptr,
     nullptr, nullptr},
    {S::MettlerToledo, true, "mnuWgtTOL", 1035, nullptr, "frmTOLEDO", "9600,e,7,1", kToledoFlags, nullptr, kNoFields,
     nullptr, nullptr, ReadFlags, ParseToledo},
    {S::Wedderburn, true, "mnuWgtWed", 1036, nullptr, "frmWdburn", "9600,e,7,1", kWedderburnFlags, nullptr,
     kNoFields, nullptr, nullptr, ReadFlags, ParseWedderburn},
    {S::Generic, true, "mnuWeightGeneric", 1037, nullptr, "frmWeightGeneric", "4800,e,7,2", {}, "WeightStartPosition",
     {"$", "2", "1"}, "WeightGeneric error: ", &ScaleOptions::generic, ReadHeaderOptions, ParseHeader},
    {S::EV2000, true, "mnuEV2000", 1038, nullptr, "frmEV2000", "4800,e,7,2", {}, "EV2000StartPosition",
     {"$", "2", "1"}, "Weight EV2000 error: ", &ScaleOptions::ev2000, ReadHeaderOptions, ParseHeader},
    {S::TU9000, true, "mnuTU9000", 1039, nullptr, "frmTU9000", "4800,e,7,2", {}, "TU9000StartPosition",
     {"$", "20", "1"}, "Weight TU9000 error: ", &ScaleOptions::tu9000, ReadHeaderOptions, ParseHeader},
    {S::D410, false, "mnuD410", 1262, nullptr, "frmD410", "4800,e,7,2", {}, "D410StartPosition", {"$", "2", "1"},
     nullptr, nullptr, nullptr, nullptr},
    // TE1000L and Tenso share their start position; an absent header reads as "~".
    {S::TE1000L, false, "mnuTE1000L", 1261, nullptr, "frmTE1000L", "9600,n,8,1", {}, "TE1000LStartPosition",
     {"~", "20", "1"}, nullptr, nullptr, nullptr, nullptr},
    {std::nullopt, false, "mnuTenso", 0, "Tenso", "frmTenso", "9600,n,8,1", {}, "TE1000LStartPosition",
     {"~", "20", "1"}, nullptr, nullptr, nullptr, nullptr},
}};
// clang-format on

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
        if (model.dialog && model.dialog == dialog)
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
