#include "carcass/PendingQueue.h"

#include "resources/StringTable.h"

std::string PendingText(int count)
{
    return count > 0 ? std::to_string(count) : std::string();
}

bool CarcassesHalfProcessed(const StationState& state, const PendingQueue& queue)
{
    return state.weightSource != WeightSource::NoWeight && queue.count > 0;
}

void FinishCarcass(StationState& state, PendingQueue& queue, CarcassFinisher& finisher)
{
    if (state.weightSource == WeightSource::NoWeight || state.weightBeforeProbe) {
        finisher.ShowResult(state.currentMeasurement);
        finisher.WriteLogRecord(state.currentMeasurement);
        return;
    }
    // Nothing waits: finishing now would log a stale slot and count below zero.
    if (queue.Empty())
        return;
    const CarcassMeasurement& record = queue.carcasses[queue.readIndex];
    finisher.ShowResult(record);
    finisher.WriteLogRecord(record);
    --queue.count;
    queue.readIndex = PendingQueue::After(queue.readIndex);
}

std::optional<SequenceChange> ChangeSequence(StationState& state, PendingQueue& queue, bool weightBeforeProbe)
{
    if (state.weightBeforeProbe == weightBeforeProbe)
        return std::nullopt;
    state.weightBeforeProbe = weightBeforeProbe;
    queue.ResetPendingQueue();
    return SequenceChange{weightBeforeProbe ? "1" : "0", ResourceString(weightBeforeProbe ? 1134 : 1135)};
}
