#include "plant/PlantCsv.h"

#include <QDateTime>
#include <QString>

namespace {

// UTF-8 from Latin-1, quoted where RFC 4180 wants it.
std::string Field(std::string_view latin1)
{
    const std::string text = QString::fromLatin1(latin1.data(), qsizetype(latin1.size())).toUtf8().toStdString();
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

std::string Time(long long ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
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
