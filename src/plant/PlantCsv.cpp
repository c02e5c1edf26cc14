#include "plant/PlantCsv.h"

#include <QString>

#include <algorithm>
#include <ctime>

namespace {

// UTF-8 from Latin-1, quoted where RFC 4180 wants it.
std::string Field(std::string_view latin1)
{
    // Most values are ASCII, the same in both; only the others go through Qt's conversion.
    const bool ascii = std::all_of(latin1.begin(), latin1.end(), [](char c) { return (c & 0x80) == 0; });
    const std::string text = ascii
                                 ? std::string(latin1)
                                 : QString::fromLatin1(latin1.data(), qsizetype(latin1.size())).toUtf8().toStdString();
    if (text.find_first_of(",\"\r\n\t") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

// In the server's time zone; the C library's conversion, several times faster than QDateTime's.
std::string Time(long long ms)
{
    const time_t seconds = static_cast<time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local));
}

} // namespace

std::string CsvHeader()
{
    return "station,journal,seq,logged_at,kind,carcass,probe_time,class,lean_meat_pct,fat1,fat2,meat,meat1,quality,"
           "weight,deleted_at,line\r\n";
}

std::string CsvRecord(std::string_view station, const PlantLine& line)
{
    std::string record = Field(station);
    for (const std::string& value :
         {std::to_string(line.journal), std::to_string(line.seq), Time(line.loggedMs), line.kind, line.carcass,
          line.probeTime, line.cls, line.leanMeat, line.fat1, line.fat2, line.meat, line.meat1, line.quality,
          line.weight, line.deletedMs ? Time(*line.deletedMs) : std::string(), line.line})
        record += "," + Field(value);
    return record + "\r\n";
}
