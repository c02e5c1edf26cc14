#include "station/ScalePortSetUp.h"

#include "settings/SettingsStore.h"

namespace {

const std::string kSection = "Properties";

ScalePortSetUp OpenPort(WeightSource model, SettingsStore& settings, SerialPort& port, PortWatch& watch)
{
    ScalePortSetUp result;
    result.stored = settings.ReadSetting(kSection, "WeightPortNum", "2");
    result.port = SettingsStore::PortNumberFromText(result.stored, 2);
    if (result.port < 1 || result.port > 16) {
        result.fault = ScalePortFault::PortNumberNotValid;
        return result;
    }
    result.stored.clear();
    if (port.CommPort() != result.port) {
        watch.Close();
        if (!port.SetCommPort(result.port)) {
            result.fault = ScalePortFault::PortNotSelected;
            result.reason = port.LastError();
        }
    }
    const std::string lineSettings =
        settings.ReadSetting(kSection, "WeightPortSetting", DefaultWeightPortSetting(model));
    if (result.fault == ScalePortFault::None && !port.SetSettings(lineSettings)) {
        result.fault = ScalePortFault::LineSettingsNotValid;
        result.stored = lineSettings;
    }
    if (result.fault != ScalePortFault::None) {
        // Nothing to keep trying with until the settings are mended.
        watch.Close();
    } else if (!watch.Open()) {
        // Tried again every second: a scale switched on later comes up by itself.
        result.fault = ScalePortFault::PortNotOpened;
        result.reason = port.LastError();
    }
    return result;
}

} // namespace

ScalePortSetUp SetUpScalePort(WeightSource model, SettingsStore& settings, SerialPort& port, PortWatch& watch,
                              ScaleOptions& options)
{
    const ScalePortSetUp result = OpenPort(model, settings, port, watch);
    ReadScaleOptions(
        model,
        [&settings](const std::string& key, const std::string& fallback) {
            // Scale options are characters of the scale's one-byte messages.
            return SettingsStore::BytesFromText(settings.ReadSetting(kSection, key, fallback));
        },
        options);
    return result;
}
