// Dispatches arbitrary probe messages into one current probe result, so that every decoder runs and a
// cancel or a probing error meets whatever record the message before it left.
//
// Input: one options byte, then messages (type letter first) separated by byte 0xFF.
//   option bit 0: weight before probe; bits 1-3: the weight source (No Weight, Manual Input,
//   Mettler-Toledo, Wedderburn, Generic, EV2000, TU9000, TE1000L); bit 4: the station's clock
//   at the end of a year rather than in its middle
//
// Checks: only measurements and cancels reach the pairing, a short "E" or "L" does not; decoders
// empty the weight, alert and comment of the previous carcass; a cancel carries "Cancel"; only a
// probing error is logged or shown in the result view, and only reports reach the text window;
// every record handed on or logged is stored as one well-formed log line.

#include "FuzzInput.h"
#include "LogLineChecks.h"

#include "probe/ProbeDispatch.h"

#include <array>

using fuzz::Check;

namespace {

struct RecordingTarget : DispatchTarget {
    int pressed = 0;
    int logged = 0;
    int appended = 0;
    int texts = 0;
    CurrentProbeResult* result = nullptr;

    void SetCarcassError(const std::string&) override {}
    void ClearCarcassValues() override {}
    void PairProbeResult() override
    {
        ++pressed;
        fuzz::CheckStoredRecord(result->currentMeasurement);
    }
    void SetStatusPanel1(const std::string&) override {}
    void AppendToResultView(const std::string& text, bool isMeasurement) override
    {
        ++appended;
        Check(!isMeasurement && text.ends_with('\r'), "a probing error is a red line ending in CR", text);
    }
    void WriteLogRecord(const CarcassMeasurement& record) override
    {
        ++logged;
        Check(!record.alertText.empty(), "a logged probing error carries its text", record.alertText);
        fuzz::CheckStoredRecord(record);
    }
    void ShowProbeText(const std::string& text) override
    {
        ++texts;
        Check(text.starts_with("Class summary: ") || text.starts_with("Service Information: ")
                  || text.starts_with("PC's"),
              "the text window shows a probe report", text);
    }
};

constexpr std::array<WeightSource, 8> kSources = {
    WeightSource::NoWeight, WeightSource::ManualInput, WeightSource::MettlerToledo, WeightSource::Wedderburn,
    WeightSource::Generic,  WeightSource::EV2000,      WeightSource::TU9000,        WeightSource::TE1000L,
};

bool ReachesPairing(const std::string& message)
{
    switch (message[0]) {
    case 'E':
    case 'L': return message.size() > 5;
    case 'J':
    case 'B':
    case 'H':
    case 'M':
    case 'S':
    case 'C': return true;
    default: return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned options = data[0];
    CurrentProbeResult result;
    WeighingState weighing;
    weighing.weightBeforeProbe = (options & 1u) != 0;
    weighing.weightSource = kSources[(options >> 1) & 7u];
    const QDateTime now = (options & 16u) ? QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                          : QDateTime(QDate(2026, 6, 15), QTime(8, 0, 1));
    RecordingTarget target;
    target.result = &result;

    for (const std::string& message : fuzz::SplitPieces(data + 1, size - 1)) {
        target.pressed = target.logged = target.appended = target.texts = 0;
        DispatchProbeMessage(message, result, weighing, target, now);
        if (message.empty()) {
            Check(target.pressed + target.logged + target.appended + target.texts == 0,
                  "an empty message does nothing");
            continue;
        }
        const CarcassMeasurement& record = result.currentMeasurement;
        Check(record.kind == message[0], "the record's kind is the type letter", message);
        Check(target.pressed == (ReachesPairing(message) ? 1 : 0), "measurements and cancels reach the pairing",
              message);
        const char type = message[0];
        if (target.pressed && type != 'C')
            Check(record.weight.empty() && record.alertText.empty() && record.comment.empty(),
                  "a decoded measurement keeps nothing of the previous carcass", message);
        if (type == 'C')
            Check(record.alertText.starts_with("Cancel"), "a cancel carries the word Cancel", record.alertText);
        Check(type == 'Z' || target.logged + target.appended == 0, "only a probing error is logged here", message);
        Check(target.logged <= 1 && target.appended == target.logged, "a probing error is shown and logged once",
              message);
        Check(target.texts == ((type == 'D' || type == 'N' || type == 'U') ? 1 : 0), "reports reach the text window",
              message);
    }
    return 0;
}
