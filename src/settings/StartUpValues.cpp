#include "settings/StartUpValues.h"

#include "probe/SerialPort.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "weighing/ScaleModels.h"

#include <QByteArray>

namespace {

const std::string kSection = "Properties";

// Reads `key`, falling back to `olderKey` when `key` is absent or empty.
std::string ReadPreferred(const SettingsStore& settings, const std::string& key, const std::string& olderKey,
                          const std::string& olderDefault)
{
    const std::string text = settings.ReadSetting(kSection, key, std::string());
    return text.empty() ? settings.ReadSetting(kSection, olderKey, olderDefault) : text;
}

} // namespace

ProbePortConfig ReadProbePortConfig(const SettingsStore& settings)
{
    ProbePortConfig config;
    config.portText = ReadPreferred(settings, "RZ7PortNumber", "RZ4PortNumber", "1");
    config.settingsText = ReadPreferred(settings, "RZ7PortSetting", "RZ4PortSetting", "4800,e,7,2");

    const int port = SettingsStore::PortNumberFromText(config.portText, 0);
    if (port >= 1 && port <= 16)
        config.port = port;
    SerialSettings parsed;
    if (ParseSerialSettings(config.settingsText, parsed))
        config.settings = config.settingsText;
    const std::string flow = settings.ReadSetting(kSection, "RZ7Hsk", std::string());
    if (flow.size() == 1 && flow[0] >= '0' && flow[0] <= '3')
        config.handshaking = flow[0] - '0';
    return config;
}

std::optional<int> TemplateNumberFromSetting(const std::string& text)
{
    bool ok = false;
    const int n = QByteArray::fromStdString(text).trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 10)
        return std::nullopt;
    return n;
}

std::optional<int> AnalysisEntryToTick(const std::string& anaType)
{
    // The two calibration types (0 and 4) are never restored: they are one-off procedures.
    static const char* const kTicked[] = {"901", "902", "903", "905", "906", "907", "908", "909"};
    for (const char* t : kTicked)
        if (anaType == t)
            return t[2] - '0';
    return std::nullopt;
}

StoredWeighing ReadStoredWeighing(const SettingsStore& settings)
{
    StoredWeighing stored;
    // A value that is not there at all is no fault: the menus have not stored it yet.
    const std::string absent(1, '\0');
    auto read = [&](const char* key) {
        const std::string text = settings.ReadSetting(kSection, key, absent);
        return text == absent ? std::optional<std::string>() : std::optional<std::string>(text);
    };
    auto notUnderstood = [&](const char* key, const std::string& text) {
        stored.notUnderstood.push_back(std::string(key) + "=\"" + text + '"');
    };

    if (const auto model = read("WgtScaleModel")) {
        bool ok = false;
        const int n = QByteArray::fromStdString(*model).trimmed().toInt(&ok);
        // Only the sources a menu entry can choose; 9 and 10 have no parser.
        const std::optional<WeightSource> source = ok ? StoredWeightSource(n) : std::nullopt;
        if (source)
            stored.source = *source;
        else
            notUnderstood("WgtScaleModel", *model);
    }
    if (const auto order = read("WgtPrbOrder")) {
        if (*order == "0" || *order == "1")
            stored.weightBeforeProbe = *order == "1";
        else
            notUnderstood("WgtPrbOrder", *order);
    }
    if (const auto equation = read("UseWgtInEqu")) {
        const QByteArray text = QByteArray::fromStdString(*equation).trimmed();
        if (text.compare("True", Qt::CaseInsensitive) == 0)
            stored.useWeightInEquation = stored.source != WeightSource::NoWeight;
        else if (text.compare("False", Qt::CaseInsensitive) != 0)
            notUnderstood("UseWgtInEqu", *equation);
    }
    return stored;
}

std::string MainWindowCaption()
{
    const std::string separator = "  -  ";
    return ResourceString(StringId::ProgramName) + separator + ResourceString(StringId::MakerName) + separator
           + ResourceString(StringId::Version) + " " + std::to_string(TALLION_VERSION_MAJOR) + "."
           + std::to_string(TALLION_VERSION_MINOR) + "." + std::to_string(TALLION_VERSION_PATCH);
}
