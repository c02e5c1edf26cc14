#include "carcass/PendingQueue.h"

#include "resources/StringIds.h"
#include "resources/StringTable.h"

std::string PendingText(int count)
{
    return count > 0 ? std::to_string(count) : std::string();
}

bool CarcassesHalfProcessed(const WeighingState& weighing, const PendingQueue& queue)
{
    return weighing.weightSource != WeightSource::NoWeight && queue.count > 0;
}

FinishedCarcass FinishCarcass(const WeighingState& weighing, const CarcassMeasurement& current, PendingQueue& queue)
{
    if (weighing.weightSource == WeightSource::NoWeight || weighing.weightBeforeProbe)
        return current;
    // Nothing waits: finishing now would log a stale slot and count below zero.
    if (queue.Empty())
        return std::nullopt;
    CarcassMeasurement record = queue.carcasses[queue.readIndex];
    --queue.count;
    queue.readIndex = PendingQueue::After(queue.readIndex);
    return record;
}

std::optional<SequenceChange> ChangeSequence(WeighingState& weighing, PendingQueue& queue, bool weightBeforeProbe)
{
    if (weighing.weightBeforeProbe == weightBeforeProbe)
        return std::nullopt;
    weighing.weightBeforeProbe = weightBeforeProbe;
    queue.ResetPendingQueue();
    return SequenceChange{
        weightBeforeProbe ? "1" : "0",
        ResourceString(weightBeforeProbe ? StringId::ProbeOperatorErrors : StringId::ScaleOperatorErrors)};
}
