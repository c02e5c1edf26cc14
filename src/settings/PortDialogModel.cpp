#include "settings/PortDialogModel.h"

#include "probe/PortWatch.h"
#include "probe/SerialPort.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "weighing/ScaleModels.h"

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

// A scale's Default button: its model's line defaults in the lists, its header fields with "$"
// as the header (TE1000L and Tenso read an absent header as "~", but their button sets "$").
DefaultPreset ScaleDefault(const ScaleModel& model)
{
    const PortListSelection lists = SelectionFromSettingsText(model.lineDefaults);
    HeaderScaleOptions fields = model.headerDefaults;
    fields.header = "$";
    return {"cmdDefault", 0, "Default", nullptr, lists.speed, lists.dataBits, lists.parity, lists.stopBits, fields};
}

struct FamilyMember {
    PortDialogTraits traits;
    const ScaleModel* model; // nullptr for the probe's
};

// The probe's dialog, then each model's that has one, in the table's order (PortDialogKind's).
const std::vector<FamilyMember>& Family()
{
    static const std::vector<FamilyMember> family = [] {
        PortDialogTraits probe{.objectName = "frmRZ4",
                               .captionId = 1176,
                               .weightPort = false,
                               .centred = true,
                               .flowControl = true,
                               .cancelButton = true,
                               .extras = PortDialogExtras::None,
                               .parsingSource = ParsingSource::None,
                               .defaults = {ProbeDefault("cmdDefault", 1149, nullptr, "4800,e,7,2"),
                                            ProbeDefault("CmdDefaultRZ7", 0, "RZ7 Default", "38400,n,8,1")}};
        std::vector<FamilyMember> members{{std::move(probe), nullptr}};
        for (const ScaleModel& model : ScaleModels()) {
            const ScaleDialog& dialog = model.dialog;
            if (!dialog.objectName)
                continue;
            PortDialogTraits traits{.objectName = dialog.objectName,
                                    .captionId = dialog.captionId,
                                    .weightPort = true,
                                    .centred = dialog.framed,
                                    .flowControl = dialog.framed,
                                    .cancelButton = dialog.framed,
                                    .extras = dialog.extras,
                                    .parsingSource = dialog.parsingSource,
                                    .defaults = {}};
            if (dialog.defaultButton)
                traits.defaults.push_back(ScaleDefault(model));
            members.push_back({std::move(traits), &model});
        }
        return members;
    }();
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
    return Family()[static_cast<size_t>(kind)].traits;
}

namespace {

// Every weight dialog belongs to a model of the scale-model table; the probe's to none.
const ScaleModel& ModelOf(PortDialogKind kind)
{
    return *Family()[static_cast<size_t>(kind)].model;
}

} // namespace

std::optional<PortDialogKind> PortDialogNamed(std::string_view objectName)
{
    for (size_t i = 0; i < Family().size(); ++i)
        if (objectName == Family()[i].traits.objectName)
            return static_cast<PortDialogKind>(i);
    return std::nullopt;
}

std::optional<PortDialogKind> PortDialogOfModel(const ScaleModel& model)
{
    for (size_t i = 0; i < Family().size(); ++i)
        if (Family()[i].model == &model)
            return static_cast<PortDialogKind>(i);
    return std::nullopt;
}

std::optional<PortDialogKind> PortDialogForSource(WeightSource source)
{
    const ScaleModel* model = ScaleModelOf(source);
    return model ? PortDialogOfModel(*model) : std::nullopt;
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
