#include "station/ProbeResults.h"

#include "log/LogRecordFormat.h"

ProbeResults::ProbeResults(const WeighingState& weighing, PendingQueue& queue, ResultFinishing& finishing,
                           QObject* parent)
    : QObject(parent)
    , weighing_(weighing)
    , queue_(queue)
    , finishing_(finishing)
{}

void ProbeResults::OnProbeMessage(const std::string& message)
{
    OnProbeMessageAt(message, clock_());
}

void ProbeResults::OnProbeMessageAt(const std::string& message, const QDateTime& received)
{
    DispatchProbeMessage(message, current_, weighing_, *this, received);
}

namespace {

std::string LoggedLine(const CarcassMeasurement& record)
{
    std::string line = LogLineFor(record);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

} // namespace

void ProbeResults::FinishCarcass()
{
    ::FinishCarcass(weighing_, current_.currentMeasurement, queue_, *this);
}

void ProbeResults::ShowResult(const CarcassMeasurement& record)
{
    if (alreadyLogged_ && alreadyLogged_->Contains(LoggedLine(record)))
        return;
    const std::string text = finishing_.ResultLine(record);
    emit resultLine(text + '\r', current_.lineIsMeasurement);
}

void ProbeResults::WriteLogRecord(const CarcassMeasurement& record)
{
    if (alreadyLogged_ && alreadyLogged_->Take(LoggedLine(record)))
        return;
    finishing_.WriteLogRecord(record);
}
