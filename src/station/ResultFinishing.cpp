#include "station/ResultFinishing.h"

#include "log/LogRecordFormat.h"

ResultFinishing::ResultFinishing(ResultLog& log, QObject* parent)
    : QObject(parent)
    , log_(log)
{}

std::string ResultFinishing::ResultLine(const CarcassMeasurement& record)
{
    if (record.kind == 'C')
        return record.alertText;
    std::string line = FormatResultLine(record, templateNumber_);
    emit lineToPrint(line);
    return line;
}
