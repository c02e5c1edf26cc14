// Feeds arbitrary bytes to every record decoder and to the status code texts.
//
// Input: one probe message; its first two bytes also choose one of the station's dates.
//
// Checks: a decode always empties what the previous carcass left.

#include "probe/ProbeStatusText.h"
#include "probe/RecordDecoders.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using Decoder = void (*)(const std::string&, CarcassMeasurement&, const QDate&);

constexpr Decoder kDecoders[] = {
    DecodeBasicRecord,
    DecodeColourRecord,
    DecodeTwoSiteRecord,
    DecodeTwoSiteColourRecord,
    DecodeSingleSiteQualityRecord,
    DecodeDoubleSiteQualityRecord,
    DecodeColourSampleRecord,
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string message(reinterpret_cast<const char*>(data), size);
    // The station's date also varies with the input, including an invalid one.
    const int year = size >= 2 ? (data[0] << 8 | data[1]) - 1000 : 2026;
    const QDate stationDates[] = {QDate(2026, 3, 4), QDate(year, 1, 1), QDate()};

    for (const QDate& stationDate : stationDates) {
        for (const Decoder decode : kDecoders) {
            CarcassMeasurement record;
            record.weight = "stale";
            record.alertText = "stale";
            decode(message, record, stationDate);
            // A decode always empties what the previous carcass left.
            if (!record.weight.empty() || !record.alertText.empty() || !record.comment.empty())
                std::abort();
        }
    }
    (void)ProbeStatusText(message);
    (void)ProbeStatusText(message.substr(0, 2));
    return 0;
}
