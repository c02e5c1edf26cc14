#include "station/ResultFinishing.h"

#include "log/LogRecordFormat.h"

ResultFinishing::ResultFinishing(const StationState& state, ResultLog& log, QObject* parent)
    : QObject(parent)
    , state_(state)
    , log_(log)
{}

std::string ResultFinishing::ResultLine(const CarcassMeasurement& record)
{
    if (record.kind == 'C')
        return record.alertText;
    std::string line = FormatResultLine(record, state_.templateNumber);
    emit lineToPrint(line);
    return line;
}
