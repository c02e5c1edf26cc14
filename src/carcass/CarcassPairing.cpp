// The probe-result half of the pairing, the timers and what both halves share.
// The weight half is in CarcassPairingWeight.cpp.

#include "carcass/CarcassPairing.h"

#include "carcass/CarcassRoles.h"
#include "carcass/LeanMeat.h"
#include "probe/ProbeCommands.h"
#include "probe/TextNumber.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {

// A weight prompt: its start, the probe's word for weight (at most 7 characters), "?".
std::string WeightPrompt(const char* prefix)
{
    return prefix + ResourceString(StringId::Weight).substr(0, 7) + '?';
}

} // namespace

CarcassPairing::CarcassPairing(PairingWindow window, WeighingState& weighing, CurrentProbeResult& result,
                               PendingQueue& queue, const PairingLinks& links)
    : window_(window)
    , weighing_(weighing)
    , result_(result)
    , queue_(queue)
    , links_(links)
{}

void CarcassPairing::ShowError(int stringId)
{
    Show(CarcassRole::Error, ResourceString(stringId));
}

std::string CarcassPairing::QualityText(const CarcassMeasurement& record) const
{
    return window_ == PairingWindow::CurrentCarcass ? QualityRoleText(record.colour1) : record.colour1;
}

void CarcassPairing::ShowCounterAndQuality(const CarcassMeasurement& record)
{
    Show(CarcassRole::Counter, CounterRoleText(record.carcassCount));
    Show(CarcassRole::Quality, QualityText(record));
}

void CarcassPairing::ShowQueue()
{
    Show(CarcassRole::Pending, PendingText(queue_.count));
}

FinishedCarcass CarcassPairing::FinishCarcass()
{
    return ::FinishCarcass(weighing_, result_.currentMeasurement, queue_);
}

FinishedCarcass CarcassPairing::OnProbeResult()
{
    if (weighing_.weightSource == WeightSource::NoWeight)
        return FinishWithoutWeight();
    if (weighing_.weightBeforeProbe)
        return PairWithWaitingWeight();
    StoreProbeResult();
    return std::nullopt;
}

FinishedCarcass CarcassPairing::FinishWithoutWeight()
{
    CarcassMeasurement& record = result_.currentMeasurement;
    if (record.kind == 'C') {
        ShowError(StringId::CancelProbeMeasurement);
        return record;
    }
    ShowCounterAndQuality(record);
    // The probe's class stands, unless the probe had no percentage to class by.
    if (!LeanMeatIn(record.meatPercent))
        record.carcassClass.clear();
    Show(CarcassRole::Class, record.carcassClass);
    Show(CarcassRole::MeatPercent, ShownLeanMeat(record.meatPercent));
    Show(CarcassRole::Weight, std::string());
    FinishedCarcass finished = FinishCarcass();
    // Stays in the record until the next decoder empties it.
    record.weight.assign(1, ' ');
    return finished;
}

FinishedCarcass CarcassPairing::PairWithWaitingWeight()
{
    CarcassMeasurement& record = result_.currentMeasurement;
    FinishedCarcass finished;
    if (record.kind != 'C') {
        Show(CarcassRole::Error, std::string());
        if (queue_.count < 1) {
            // Nothing to pair with: the probe is told, and asked to prompt a second later.
            ShowError(StringId::InputWeightFirst);
            links_.commands.QueueProbeCommand(kRefuseResultCommand);
            links_.display.SetStatusPanel1(ResourceString(StringId::InputWeightFirst));
            if (links_.timers)
                links_.timers->StartPromptTimer();
            ignoreNextCancel = true;
            return std::nullopt;
        }
        ShowCounterAndQuality(record);
        const std::string taken = TakeWeight();
        ClassifyCarcass(record, NumberInText(taken), weighing_.useWeightInEquation);
        record.weight = FormatWeight(taken);
        Show(CarcassRole::MeatPercent, ShownLeanMeat(record.meatPercent));
        Show(CarcassRole::Class, record.carcassClass);
        Show(CarcassRole::Weight, record.weight);
        Show(CarcassRole::Error, std::string());
        Show(CarcassRole::WeightInput, std::string());
        ShowQueue();
        finished = FinishCarcass();
        if (queue_.count > 0 && links_.timers)
            links_.timers->StartRefreshTimer();
    } else if (!ignoreNextCancel) {
        finished = GiveBackTakenWeight();
    }
    ignoreNextCancel = false;
    return finished;
}

FinishedCarcass CarcassPairing::GiveBackTakenWeight()
{
    // With nine or more waiting the slot of the taken weight may hold a newer one (it is the
    // slot the tenth weight goes into).
    if (queue_.count > 8) {
        ShowError(StringId::WeightRecordLost);
        queue_.takenWeightReturnable = false;
        return std::nullopt;
    }
    // Only the weight of the last pairing goes back, and only once: a second cancel, or one
    // with no pairing before it, would otherwise put an old or empty weight in front.
    if (queue_.takenWeightReturnable) {
        ++queue_.count;
        queue_.readIndex = PendingQueue::Before(queue_.readIndex);
        queue_.takenWeightReturnable = false;
    }
    for (CarcassRole role : {CarcassRole::Counter, CarcassRole::Quality, CarcassRole::Class, CarcassRole::MeatPercent})
        Show(role, std::string());
    ShowError(StringId::Cancel);
    Show(CarcassRole::Weight, queue_.Empty() ? std::string() : queue_.weights[queue_.readIndex]);
    ShowQueue();
    return FinishCarcass();
}

void CarcassPairing::StoreProbeResult()
{
    const CarcassMeasurement& record = result_.currentMeasurement;
    if (record.kind == 'C' && ignoreNextCancel) {
        // The probe withdraws the result that was refused, not the newest one waiting.
        ignoreNextCancel = false;
        return;
    }
    Show(CarcassRole::Error, std::string());
    if (record.kind == 'C') {
        if (queue_.count > 0) {
            ShowError(StringId::CancelProbeMeasurement);
            --queue_.count;
            queue_.writeIndex = PendingQueue::Before(queue_.writeIndex);
            ShowQueue();
        }
    } else if (queue_.Full()) {
        // An eleventh result would overwrite the oldest waiting one: refused instead.
        ignoreNextCancel = true;
    } else {
        queue_.carcasses[queue_.writeIndex] = record;
        queue_.writeIndex = PendingQueue::After(queue_.writeIndex);
        ++queue_.count;
        ignoreNextCancel = false;
        ShowQueue();
    }
    if (queue_.count > 9) {
        links_.commands.QueueProbeCommand(WeightPrompt(kWeightPromptStart));
        ShowError(StringId::InputWeightNow);
        weighing_.weightPromptShown = true;
    }
    if (queue_.count > 0) {
        ShowCounterAndQuality(queue_.carcasses[queue_.readIndex]);
        for (CarcassRole role : {CarcassRole::Class, CarcassRole::MeatPercent, CarcassRole::Weight})
            Show(role, std::string());
    }
}

void CarcassPairing::OnPromptTimer()
{
    links_.commands.QueueProbeCommand(WeightPrompt(kWeightPromptAgain));
}

void CarcassPairing::OnRefreshTimer()
{
    const auto clear = [this](std::initializer_list<CarcassRole> roles) {
        for (CarcassRole role : roles)
            Show(role, std::string());
    };
    if (weighing_.weightBeforeProbe) {
        clear({CarcassRole::Counter, CarcassRole::Quality, CarcassRole::Class, CarcassRole::MeatPercent,
               CarcassRole::Error, CarcassRole::Weight});
        if (queue_.count > 0)
            Show(CarcassRole::Weight, queue_.weights[queue_.readIndex]);
    } else if (queue_.count > 0) {
        Show(CarcassRole::Counter, CounterRoleText(queue_.carcasses[queue_.readIndex].carcassCount));
        clear({CarcassRole::Quality, CarcassRole::Class, CarcassRole::MeatPercent, CarcassRole::Error,
               CarcassRole::Weight});
    }
}
