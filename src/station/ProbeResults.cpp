#include "station/ProbeResults.h"

#include "log/LogRecordFormat.h"

namespace {

// With the probe after the weight, or without weighing, a probing error belongs to the record:
// it is shown and logged with it. With the probe before a weight it is only a status text.
bool ProbingErrorIsLogged(const WeighingState& weighing)
{
    return weighing.weightBeforeProbe || weighing.weightSource == WeightSource::NoWeight;
}

std::string LoggedLine(const CarcassMeasurement& record)
{
    std::string line = LogLineFor(record);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

} // namespace

ProbeResults::ProbeResults(const WeighingState& weighing, ResultFinishing& finishing, QObject* parent)
    : QObject(parent)
    , weighing_(weighing)
    , finishing_(finishing)
{}

void ProbeResults::OnProbeMessage(const std::string& message)
{
    OnProbeMessageAt(message, clock_());
}

void ProbeResults::OnProbeMessageAt(const std::string& message, const QDateTime& received)
{
    for (const ProbeEvent& event : DispatchProbeMessage(message, current_, received))
        std::visit([this](const auto& meaning) { Apply(meaning); }, event);
}

void ProbeResults::PairProbeResult()
{
    emit probeResultToPair();
    if (pairing_)
        Finish(pairing_->OnProbeResult());
}

void ProbeResults::Apply(const ProbingError& error)
{
    emit statusText(error.text);
    if (!ProbingErrorIsLogged(weighing_))
        return;
    CarcassMeasurement& record = current_.currentMeasurement;
    record.alertText = error.text;
    emit carcassError(error.text);
    emit resultLine(error.text + '\r', false);
    // The weight-first window keeps the values it shows; otherwise they go with the error.
    if (!weighing_.weightBeforeProbe)
        emit carcassValuesCleared();
    WriteLogRecord(record);
}

void ProbeResults::Finish(const FinishedCarcass& finished)
{
    if (!finished)
        return;
    ShowResult(*finished);
    WriteLogRecord(*finished);
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
