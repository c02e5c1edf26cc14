#include "ports/PortDialogModel.h"

#include "probe/PortWatch.h"
#include "probe/SerialPort.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "weighing/ScaleModels.h"

#include <array>
#include <string_view>
#include <utility>

namespace {

const std::string kSection = "Properties";
// The scale flags have always been written under this spelling; sections ignore case.
const std::string kFlagSection = "properties";

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

int IndexOf(const std::vector<std::string>& entries, const std::string& text)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::string Flag(bool on)
{
    return on ? "1" : "0";
}

// The probe's buttons show a settings text in the lists.
DefaultPreset ProbeDefault(const char* name, int captionId, const char* caption, const char* settingsText)
{
    return {name, captionId, caption, settingsText, -1, -1, -1, -1, {}};
}

// Speeds 4800 and 9600, 7 and 8 data bits, Even and None, 1 and 2 stop bits, as list indexes.
DefaultPreset ScaleDefault(int speed, int dataBits, int parity, int stopBits, HeaderScaleOptions fields)
{
    return {"cmdDefault", 0, "Default", nullptr, speed, dataBits, parity, stopBits, std::move(fields)};
}

const std::array<PortDialogTraits, 9>& Family()
{
    using X = PortDialogExtras;
    using P = ParsingSource;
    // clang-format off
    static const std::array<PortDialogTraits, 9> family {{
        {"frmRZ4", 1176, false, true, true, true, X::None, P::None,
         {ProbeDefault("cmdDefault", 1149, nullptr, "4800,e,7,2"),
          ProbeDefault("CmdDefaultRZ7", 0, "RZ7 Default", "38400,n,8,1")}},
        {"frmTOLEDO", 1177, true, true, true, true, X::ToledoFrame, P::None, {}},
        {"frmWdburn", 1183, true, true, true, true, X::WedderburnLink, P::None, {}},
        {"frmWeightGeneric", 1258, true, false, false, false, X::Parsing, P::RunningOptions, {}},
        {"frmEV2000", 1258, true, false, false, false, X::Parsing, P::Store,
         {ScaleDefault(5, 3, 0, 1, {"$", "2", "1"})}},
        {"frmTU9000", 1258, true, false, false, false, X::Parsing, P::Store,
         {ScaleDefault(5, 3, 0, 1, {"$", "20", "1"})}},
        {"frmD410", 1258, true, false, false, false, X::ParsingWithD410Info, P::Store,
         {ScaleDefault(5, 3, 0, 1, {"$", "2", "1"})}},
        // The Default button of TE1000L and Tenso sets "$" although an absent key reads as "~".
        {"frmTE1000L", 1258, true, false, false, false, X::Parsing, P::Store,
         {ScaleDefault(6, 4, 2, 0, {"$", "20", "1"})}},
        {"frmTenso", 1258, true, false, false, false, X::Parsing, P::Store,
         {ScaleDefault(6, 4, 2, 0, {"$", "20", "1"})}},
    }};
    // clang-format on
    return family;
}

std::string Describe(const SerialPort& port, const std::string& fallback)
{
    const std::string error = port.LastError();
    return error.empty() ? fallback : error;
}

} // namespace

const PortDialogTraits& TraitsOf(PortDialogKind kind)
{
    return Family()[static_cast<size_t>(kind)];
}

namespace {

// Every weight dialog belongs to a model of the scale-model table; the probe's to none.
const ScaleModel& ModelOf(PortDialogKind kind)
{
    return *ScaleModelOfDialog(TraitsOf(kind).objectName);
}

} // namespace

std::optional<PortDialogKind> PortDialogNamed(std::string_view objectName)
{
    for (size_t i = 0; i < Family().size(); ++i)
        if (objectName == Family()[i].objectName)
            return static_cast<PortDialogKind>(i);
    return std::nullopt;
}

std::optional<PortDialogKind> PortDialogForSource(WeightSource source)
{
    const ScaleModel* model = ScaleModelOf(source);
    return model && model->dialog ? PortDialogNamed(model->dialog) : std::nullopt;
}

const std::vector<std::string>& SpeedEntries()
{
    static const std::vector<std::string> entries{"110",   "300",    "600",    "1200",  "2400",  "4800",
                                                  "9600",  "14400",  "19200",  "28800", "38400", "56000",
                                                  "57600", "115200", "128000", "256000"};
    return entries;
}

const std::vector<std::string>& DataBitsEntries()
{
    static const std::vector<std::string> entries{"4", "5", "6", "7", "8"};
    return entries;
}

const std::vector<std::string>& ParityEntries()
{
    static const std::vector<std::string> entries{"Even", "Odd", "None", "Mark", "Space"};
    return entries;
}

const std::vector<std::string>& StopBitsEntries()
{
    static const std::vector<std::string> entries{"1", "2"};
    return entries;
}

const std::vector<std::string>& FlowEntries()
{
    static const std::vector<std::string> entries{"None", "Xon/Xoff", "RTS", "Xon/RTS"};
    return entries;
}

PortListSelection SelectionFromSettingsText(const std::string& text)
{
    PortListSelection selection;
    const std::vector<std::string> parts = Split(text, ',');
    if (parts.size() != 4)
        return selection;
    selection.speed = IndexOf(SpeedEntries(), parts[0]);
    // The letters as the port reports them; the list's order is e, o, n, m, s.
    static const std::string kParityLetters = "eonms";
    if (parts[1].size() == 1 && kParityLetters.find(parts[1][0]) != std::string::npos)
        selection.parity = static_cast<int>(kParityLetters.find(parts[1][0]));
    selection.dataBits = IndexOf(DataBitsEntries(), parts[2]);
    selection.stopBits = IndexOf(StopBitsEntries(), parts[3]);
    return selection;
}

std::string SettingsTextFromLists(const std::string& speed, const std::string& parity, const std::string& dataBits,
                                  const std::string& stopBits)
{
    return Trimmed(speed) + ',' + parity.substr(0, 1) + ',' + Trimmed(dataBits) + ',' + Trimmed(stopBits);
}

ApplyOutcome ApplyPortChoice(SerialPort& port, PortWatch& watch, bool reopenAlways, const PortChoice& choice)
{
    ApplyOutcome outcome;
    const int old = port.CommPort();
    if (choice.port != old) {
        // A port whose device is gone but still wanted counts as open: it is meant to be.
        const bool wasOpen = port.PortOpen() || watch.Wanted();
        const bool reopen = reopenAlways || wasOpen;
        watch.Close();
        bool ok = port.SetCommPort(choice.port);
        // Tried directly first, so that a number without a device is not kept being retried.
        if (ok && reopen)
            ok = port.SetPortOpen(true);
        if (!ok) {
            outcome.error = Describe(port, "Port " + std::to_string(choice.port) + " cannot be used");
            port.SetPortOpen(false);
            port.SetCommPort(old);
            // The station keeps the port it had rather than losing it to a wrong choice.
            if (wasOpen)
                watch.Open();
            return outcome;
        }
        if (reopen) {
            watch.Open();
            outcome.reopened = true;
        }
    }
    if (!port.SetSettings(choice.settingsText)) {
        outcome.error = Describe(port, "Invalid port settings \"" + choice.settingsText + "\"");
        return outcome;
    }
    if (choice.handshaking && !port.SetHandshaking(*choice.handshaking)) {
        outcome.error = Describe(port, "Invalid flow control " + std::to_string(*choice.handshaking));
        return outcome;
    }
    outcome.applied = true;
    return outcome;
}

void PrepareIdleScalePort(PortDialogKind kind, SerialPort& port, const PortWatch& watch, const SettingReader& read)
{
    if (!TraitsOf(kind).weightPort || port.PortOpen() || watch.Wanted())
        return;
    const int number = SettingsStore::PortNumberFromText(read("WeightPortNum", "2"), 0);
    if (number >= 1 && number <= kPortListCount)
        port.SetCommPort(number);
    // A stored text that does not parse leaves the port's own; the dialog then shows that.
    port.SetSettings(read("WeightPortSetting", ModelOf(kind).lineDefaults));
}

std::vector<StoredKey> PortDialogKeys(PortDialogKind kind, const SerialPort& port, const HeaderScaleOptions& fields,
                                      const ScaleOptions& options)
{
    const std::string settings = port.Settings();
    const std::string number = SettingsStore::PortNumberText(port.CommPort());
    const std::string handshaking = std::to_string(port.Handshaking());
    if (kind == PortDialogKind::Probe)
        return {{kSection, "RZ7PortSetting", settings},
                {kSection, "RZ7PortNumber", number},
                {kSection, "RZ7Hsk", handshaking},
                {kSection, "RZ7Echo", ""}};
    std::vector<StoredKey> keys{{kSection, "WeightPortSetting", settings}, {kSection, "WeightPortNum", number}};
    if (TraitsOf(kind).flowControl) {
        keys.push_back({kSection, "WeightHandshaking", handshaking});
        keys.push_back({kSection, "Echo", ""});
    }
    const ScaleModel& model = ModelOf(kind);
    for (const ScaleFlag& flag : model.flags)
        keys.push_back({kFlagSection, flag.key, Flag(flag.get(options))});
    if (model.startPositionKey) {
        keys.push_back({kSection, kHeaderCharacterKey, SettingsStore::TextFromBytes(fields.header)});
        keys.push_back({kSection, model.startPositionKey, fields.startPosition});
        keys.push_back({kSection, kFactorKey, fields.factor});
    }
    return keys;
}

HeaderScaleOptions* RunningHeaderOptions(PortDialogKind kind, ScaleOptions& options)
{
    if (kind == PortDialogKind::Probe)
        return nullptr;
    const ScaleModel& model = ModelOf(kind);
    return model.runningHeader ? &(options.*model.runningHeader) : nullptr;
}

std::string PortDialogCaption(PortDialogKind kind)
{
    const PortDialogTraits& traits = TraitsOf(kind);
    std::string caption = ResourceString(traits.captionId);
    // The dialogs that share the text-scale caption add their model's Weight menu entry.
    if (traits.parsingSource == ParsingSource::None)
        return caption;
    const ScaleModel& model = ModelOf(kind);
    std::string name = model.captionId ? ResourceString(model.captionId) : std::string(model.caption);
    std::erase(name, '&');
    return caption + " - " + name;
}
