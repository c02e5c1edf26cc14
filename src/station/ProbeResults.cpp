#include "station/ProbeResults.h"

ProbeResults::ProbeResults(const WeighingState& weighing, PendingQueue& queue, ResultFinishing& finishing,
                           QObject* parent)
    : QObject(parent)
    , weighing_(weighing)
    , queue_(queue)
    , finishing_(finishing)
{}

void ProbeResults::OnProbeMessage(const std::string& message)
{
    DispatchProbeMessage(message, current_, weighing_, *this, clock_());
}

void ProbeResults::FinishCarcass()
{
    ::FinishCarcass(weighing_, current_.currentMeasurement, queue_, *this);
}

void ProbeResults::ShowResult(const CarcassMeasurement& record)
{
    const std::string text = finishing_.ResultLine(record);
    emit resultLine(text + '\r', current_.lineIsMeasurement);
}

void ProbeResults::WriteLogRecord(const CarcassMeasurement& record)
{
    finishing_.WriteLogRecord(record);
}
