// Dispatches arbitrary probe messages into one current probe result, so that every decoder runs and a
// cancel or a probing error meets whatever record the message before it left.
//
// Input: one options byte, then messages (type letter first) separated by byte 0xFF.
//   option bits 0-3: unused (the seed corpus still sets them); bit 4: the station's clock at the
//   end of a year rather than in its middle
//
// Checks: only measurements and cancels reach the pairing, a short "E" or "L" does not; decoders
// empty the weight, alert and comment of the previous carcass; a cancel carries "Cancel"; only
// "Z" is a probing error, with a text, only "I" a status and only reports reach the text window;
// every record handed on, and a probing error's record as the station logs it, is stored as one
// well-formed log line.

#include "FuzzInput.h"
#include "LogLineChecks.h"

#include "probe/ProbeDispatch.h"

using fuzz::Check;

namespace {

// How many of each meaning one message had, with the record each time it reached the pairing.
struct Counts {
    const CurrentProbeResult& result;
    int pressed = 0;
    int errors = 0;
    int statuses = 0;
    int texts = 0;

    void operator()(const ErrorCleared&) {}
    void operator()(const MeasurementDecoded&) { Pressed(); }
    void operator()(const CarcassCancelled&) { Pressed(); }
    void operator()(const ProbeStatus&) { ++statuses; }
    void operator()(const ProbingError& error)
    {
        ++errors;
        Check(!error.text.empty(), "a probing error carries its text");
        CarcassMeasurement logged = result.currentMeasurement;
        logged.alertText = error.text;
        fuzz::CheckStoredRecord(logged);
    }
    void operator()(const ProbeReport& report)
    {
        ++texts;
        const std::string& text = report.text;
        Check(text.starts_with("Class summary: ") || text.starts_with("Service Information: ")
                  || text.starts_with("PC's"),
              "the text window shows a probe report", text);
    }
    void Pressed()
    {
        ++pressed;
        fuzz::CheckStoredRecord(result.currentMeasurement);
    }
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
    const QDateTime now = (options & 16u) ? QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                          : QDateTime(QDate(2026, 6, 15), QTime(8, 0, 1));

    for (const std::string& message : fuzz::SplitPieces(data + 1, size - 1)) {
        const std::vector<ProbeEvent> events = DispatchProbeMessage(message, result, now);
        if (message.empty()) {
            Check(events.empty(), "an empty message does nothing");
            continue;
        }
        Counts counts{result};
        for (const ProbeEvent& event : events)
            std::visit(counts, event);
        const CarcassMeasurement& record = result.currentMeasurement;
        Check(record.kind == message[0], "the record's kind is the type letter", message);
        Check(counts.pressed == (ReachesPairing(message) ? 1 : 0), "measurements and cancels reach the pairing",
              message);
        const char type = message[0];
        if (counts.pressed && type != 'C')
            Check(record.weight.empty() && record.alertText.empty() && record.comment.empty(),
                  "a decoded measurement keeps nothing of the previous carcass", message);
        if (type == 'C')
            Check(record.alertText.starts_with("Cancel"), "a cancel carries the word Cancel", record.alertText);
        Check(counts.errors == (type == 'Z' ? 1 : 0), "only a probing error says so, once", message);
        Check(counts.statuses == (type == 'I' ? 1 : 0), "only a status message is a status", message);
        Check(counts.texts == ((type == 'D' || type == 'N' || type == 'U') ? 1 : 0), "reports reach the text window",
              message);
    }
    return 0;
}
