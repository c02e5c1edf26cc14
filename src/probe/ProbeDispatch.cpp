#include "probe/ProbeDispatch.h"

#include "probe/ProbeStatusText.h"
#include "probe/RecordDecoders.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {

const std::string kCrLf = "\r\n";
constexpr char kFieldSeparator = 28;

std::string TimeText(const QDateTime& now)
{
    return now.time().toString(QStringLiteral("hh:mm:ss")).toStdString();
}

std::string DateText(const QDateTime& now)
{
    return now.date().toString(QStringLiteral("dd-MM-yyyy")).toStdString();
}

// Characters from 1-based position `from`, at most `count`; fewer or none past the end.
std::string Mid(const std::string& text, size_t from, size_t count = std::string::npos)
{
    return from - 1 < text.size() ? text.substr(from - 1, count) : std::string();
}

std::string ReportHeading(const char* title, const QDateTime& now)
{
    return std::string(title) + kCrLf + TimeText(now) + '\t' + DateText(now) + kCrLf + kCrLf;
}

using Decoder = void (*)(const std::string&, CarcassMeasurement&, const QDate&);

// A measurement: decoded into the current record for the pairing.
ProbeEvent Measurement(const std::string& message, CurrentProbeResult& result, const QDateTime& now, Decoder decode,
                       bool isMeasurement = true)
{
    if (isMeasurement)
        result.lineIsMeasurement = true;
    decode(message, result.currentMeasurement, now.date());
    return MeasurementDecoded{};
}

std::string ProbingErrorText(const std::string& message)
{
    std::string text = ProbeStatusText(Mid(message, 4, 2));
    return text.empty() ? "Probing error" : text;
}

} // namespace

std::string StationTimeDate(const QDateTime& now)
{
    return TimeText(now) + "  " + DateText(now);
}

std::string ClassSummaryDumpText(const std::string& message, const QDateTime& now)
{
    std::string text = ReportHeading("Class summary: ", now);
    int i = 1;
    for (size_t p = 2; p + 1 < message.size(); p += 4, ++i)
        text += "class " + std::to_string(i) + ": " + Mid(message, p, 4) + kCrLf;
    return text;
}

std::string ServiceInformationText(const std::string& message, const QDateTime& now)
{
    std::string text = ReportHeading("Service Information: ", now);
    const std::string payload = Mid(message, 2);
    const size_t lastFs = payload.rfind(kFieldSeparator);
    std::string counter = payload.substr(0, 6);
    if (lastFs != std::string::npos) {
        int fields = 0;
        size_t start = 0;
        while (start <= lastFs) {
            const size_t fs = payload.find(kFieldSeparator, start);
            text += payload.substr(start, fs - start) + '\t';
            if (++fields % 8 == 0)
                text += kCrLf;
            start = fs + 1;
        }
        counter = payload.substr(lastFs + 1, 6);
    }
    return text + kCrLf + "Non resetable carcass counter: " + counter + kCrLf;
}

std::string ProbeClockText(const std::string& message, const QDateTime& now)
{
    return "PC's" + kCrLf + "Date: " + DateText(now) + kCrLf + "Time: " + TimeText(now) + kCrLf + kCrLf + "Probe's"
           + Mid(message, 2) + '\t';
}

std::vector<ProbeEvent> DispatchProbeMessage(const std::string& message, CurrentProbeResult& result,
                                             const QDateTime& now)
{
    if (message.empty())
        return {};
    CarcassMeasurement& record = result.currentMeasurement;
    record.kind = message[0];
    record.timeDate = StationTimeDate(now);

    switch (message[0]) {
    case 'E':
        if (message.size() > 5)
            return {ErrorCleared{}, Measurement(message, result, now, DecodeBasicRecord)};
        return {ErrorCleared{}};
    case 'J': return {ErrorCleared{}, Measurement(message, result, now, DecodeColourRecord)};
    case 'B': return {ErrorCleared{}, Measurement(message, result, now, DecodeTwoSiteRecord)};
    case 'H': return {ErrorCleared{}, Measurement(message, result, now, DecodeTwoSiteColourRecord)};
    case 'L':
        if (message.size() > 5)
            return {ErrorCleared{}, Measurement(message, result, now, DecodeSingleSiteQualityRecord)};
        return {ErrorCleared{}};
    case 'M': return {ErrorCleared{}, Measurement(message, result, now, DecodeDoubleSiteQualityRecord)};
    case 'S':
        // A colour sample leaves the line colour as it was.
        return {Measurement(message, result, now, DecodeColourSampleRecord, false)};
    case 'C':
        // The cancel keeps the previous measurement's values; only kind, time and alert change.
        result.lineIsMeasurement = false;
        record.alertText = ResourceString(StringId::Cancel) + "      " + Mid(message, 4, 6);
        return {CarcassCancelled{}};
    case 'I': return {ProbeStatus{Mid(message, 4)}};
    case 'Z': return {ProbingError{ProbingErrorText(message)}};
    case 'D': return {ProbeReport{ClassSummaryDumpText(message, now)}};
    case 'N': return {ProbeReport{ServiceInformationText(message, now)}};
    case 'U': return {ProbeReport{ProbeClockText(message, now)}};
    default: return {};
    }
}
