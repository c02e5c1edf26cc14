#include "weighing/ScaleOptions.h"

namespace {

// On/off keys count as on for any text other than "0".
bool IsOn(const std::string& text)
{
    return text != "0";
}

} // namespace

HeaderScaleOptions& ScaleOptions::HeaderOptions(WeightSource model)
{
    switch (model) {
    case WeightSource::EV2000: return ev2000;
    case WeightSource::TU9000: return tu9000;
    default: return generic;
    }
}

const HeaderScaleOptions& ScaleOptions::HeaderOptions(WeightSource model) const
{
    return const_cast<ScaleOptions*>(this)->HeaderOptions(model);
}

std::string StartPositionKey(WeightSource model)
{
    switch (model) {
    case WeightSource::Generic: return "WeightStartPosition";
    case WeightSource::EV2000: return "EV2000StartPosition";
    case WeightSource::TU9000: return "TU9000StartPosition";
    default: return {};
    }
}

void ReadScaleOptions(WeightSource source, const SettingReader& read, ScaleOptions& options)
{
    switch (source) {
    case WeightSource::MettlerToledo:
        options.toledo.SISOon = IsOn(read("SISO", "0"));
        options.toledo.STXon = IsOn(read("STX", "0"));
        options.toledo.ChecksumOn = IsOn(read("CheckSum", "0"));
        break;
    case WeightSource::Wedderburn:
        options.wedderburn.Hcode = IsOn(read("HeaderCode", "0"));
        options.wedderburn.StableCode = IsOn(read("StabilityCode", "0"));
        break;
    case WeightSource::Generic:
    case WeightSource::EV2000:
    case WeightSource::TU9000: {
        HeaderScaleOptions& header = options.HeaderOptions(source);
        header.header = read("HeaderCharacter", "$");
        header.startPosition = read(StartPositionKey(source), source == WeightSource::TU9000 ? "20" : "2");
        header.factor = read("Factor", "1");
        break;
    }
    default: break;
    }
}

std::string DefaultWeightPortSetting(WeightSource source)
{
    switch (source) {
    case WeightSource::MettlerToledo:
    case WeightSource::Wedderburn: return "9600,e,7,1";
    case WeightSource::TE1000L: return "9600,n,8,1";
    default: return "4800,e,7,2";
    }
}
