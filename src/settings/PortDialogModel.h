#pragma once
// What the port settings dialogs know without a display: the family's members and how they
// differ, the entries of the port section's lists, reading a port's settings text into list
// selections and building it back, the Default buttons' values, applying a choice to a live port
// and the keys each dialog stores.

#include "weighing/ScaleModels.h"
#include "weighing/ScaleOptions.h"
#include "weighing/WeightSource.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class PortWatch;
class SerialPort;

// One dialog per port: the probe's, and one per weight-scale model.
enum class PortDialogKind { Probe, MettlerToledo, Wedderburn, Generic, EV2000, TU9000, D410, TE1000L, Tenso };

// List indexes chosen by a Default button; parsing fields too for the ASCII scales.
struct DefaultPreset {
    const char* objectName; // cmdDefault, CmdDefaultRZ7
    int captionId;          // 0: `caption` is a literal
    const char* caption;
    // Probe: the settings text whose selection the button shows.
    const char* settingsText = nullptr;
    // Weight scales: indexes into the lists.
    int speed = -1;
    int dataBits = -1;
    int parity = -1;
    int stopBits = -1;
    HeaderScaleOptions fields; // txtHeader, txtWeightStartPosition, txtFactor
};

// The probe's dialog, and each scale model's dialog as its row of the scale-model table says.
struct PortDialogTraits {
    const char* objectName; // frmRZ4, frmTOLEDO, ...
    int captionId;
    bool weightPort; // the scale port; else the probe port
    bool centred;    // placed in the middle of the screen
    bool flowControl;
    bool cancelButton; // the others close through OK or the window's close control
    PortDialogExtras extras;
    ParsingSource parsingSource;
    std::vector<DefaultPreset> defaults;
};

const PortDialogTraits& TraitsOf(PortDialogKind kind);

// The window caption: the text-scale dialogs share one, so the model's menu name (without its
// access key) follows it: "Generic Weight Scale Interface - EV2000".
std::string PortDialogCaption(PortDialogKind kind);

// The dialog of a weight source (Mettler-Toledo ... TE1000L); none for No Weight and Manual Input.
std::optional<PortDialogKind> PortDialogForSource(WeightSource source);

// The dialog of a scale model; none for the models without one.
std::optional<PortDialogKind> PortDialogOfModel(const ScaleModel& model);

// The dialog whose object name is `objectName` (frmTOLEDO, ...); none for any other name.
std::optional<PortDialogKind> PortDialogNamed(std::string_view objectName);

// The port section's lists, in list order (the Default buttons select by index).
constexpr int kPortListCount = 16; // "1" .. "16"
const std::vector<std::string>& SpeedEntries();
const std::vector<std::string>& DataBitsEntries();
const std::vector<std::string>& ParityEntries();
const std::vector<std::string>& StopBitsEntries();
// The flow control options; the index is the port's Handshaking value.
const std::vector<std::string>& FlowEntries();

// List indexes that show a settings text; -1 where the list has no matching entry.
struct PortListSelection {
    int speed = -1;
    int dataBits = -1;
    int parity = -1;
    int stopBits = -1;
    bool operator==(const PortListSelection&) const = default;
};

// "4800,e,7,2" -> speed "4800", parity Even, 7 data bits, 2 stop bits. Only the parity letters
// e, o, n, m and s select a parity; a part that is no list entry ("1.5" stop bits) selects nothing.
PortListSelection SelectionFromSettingsText(const std::string& text);

// The text OK applies: speed, the parity's first letter, data bits and stop bits, each trimmed
// and joined by commas ("4800", "Even", "7", "2" -> "4800,E,7,2").
std::string SettingsTextFromLists(const std::string& speed, const std::string& parity, const std::string& dataBits,
                                  const std::string& stopBits);

// What OK asks of the port.
struct PortChoice {
    int port = 0;
    std::string settingsText;
    std::optional<int> handshaking; // only the dialogs with flow control
};

struct ApplyOutcome {
    bool applied = false;
    // Why not, as the port told it.
    std::string error;
    // The port was closed and opened again on another number.
    bool reopened = false;
};

// Applies `choice` to a live port in OK's order: a new port number (closing the port first and
// opening it again afterwards, always when `reopenAlways`, else only if it was open or wanted),
// then the settings, then the flow control. A port number that cannot be set or opened is
// undone: the old number comes back, open again if it was, and nothing further is applied. A
// failure of the settings or the flow control stops there; what was applied before stays.
ApplyOutcome ApplyPortChoice(SerialPort& port, PortWatch& watch, bool reopenAlways, const PortChoice& choice);

// A scale port that nothing uses yet (closed and not wanted) is put at the number and settings
// the scale set-up would give it ("WeightPortNum", "WeightPortSetting" with the model's default),
// so that its dialog shows those rather than the port's values from start-up, port 1 being the
// probe's. A port in use is left as it is.
void PrepareIdleScalePort(PortDialogKind kind, SerialPort& port, const PortWatch& watch, const SettingReader& read);

// One value a dialog stores.
struct StoredKey {
    std::string section;
    std::string key;
    std::string text;
    bool operator==(const StoredKey&) const = default;
};

// The keys `kind` stores on OK, from the port as it now reports itself, the parsing fields as
// they stand (not checked: the weight parser does that) and the scale flags.
std::vector<StoredKey> PortDialogKeys(PortDialogKind kind, const SerialPort& port, const HeaderScaleOptions& fields,
                                      const ScaleOptions& options);

// The running station's parsing options that a dialog's fields stand for: Generic, EV2000 and
// TU9000; nullptr for the others (D410, TE1000L and Tenso keep theirs in the store only).
HeaderScaleOptions* RunningHeaderOptions(PortDialogKind kind, ScaleOptions& options);
