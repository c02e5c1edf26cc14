#include "station/ProbeResults.h"

ProbeResults::ProbeResults(StationState& state, PendingQueue& queue, ResultFinishing& finishing, QObject* parent)
    : QObject(parent)
    , state_(state)
    , queue_(queue)
    , finishing_(finishing)
{}

void ProbeResults::OnProbeMessage(const std::string& message)
{
    DispatchProbeMessage(message, state_, *this, clock_());
}

void ProbeResults::FinishCarcass()
{
    ::FinishCarcass(state_, queue_, *this);
}

void ProbeResults::ShowResult(const CarcassMeasurement& record)
{
    const std::string text = finishing_.ResultLine(record);
    emit resultLine(text + '\r', state_.lineIsMeasurement);
}

void ProbeResults::WriteLogRecord(const CarcassMeasurement& record)
{
    finishing_.WriteLogRecord(record);
}
