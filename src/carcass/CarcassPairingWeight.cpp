// The weight half of the pairing: weights from the scale or the weight box, stored while probe
// results are to come, or completing the oldest waiting probe result.

#include "carcass/CarcassPairing.h"

#include "carcass/CarcassRoles.h"
#include "carcass/LeanMeat.h"
#include "probe/ProbeCommands.h"
#include "probe/TextNumber.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "weighing/WeightParsers.h"

bool WeightInRange(double weight)
{
    return weight > 0 && weight < 200;
}

FinishedCarcass CarcassPairing::OnWeightArrived()
{
    if (weighing_.weightSource == WeightSource::NoWeight)
        return std::nullopt;
    if (!weighing_.weightBeforeProbe)
        return CompleteOldest(false);
    StoreScaleWeight();
    return std::nullopt;
}

FinishedCarcass CarcassPairing::AcceptTypedWeight()
{
    if (!weighing_.weightBeforeProbe)
        return CompleteOldest(true);
    const std::string typed = links_.display.WeightInputText();
    // The box asks its own range question; this keeps a stray call from queueing a bad weight.
    if (!WeightInRange(NumberInText(typed)))
        ShowError(StringId::InvalidWeight);
    else
        StoreWeight(FormatWeight(typed));
    return std::nullopt;
}

void CarcassPairing::StoreScaleWeight()
{
    if (links_.timers)
        links_.timers->StopRefreshTimer();
    Show(CarcassRole::Error, std::string());
    if (!HasScaleParser(weighing_.weightSource))
        return;
    const ScaleReading reading = links_.scale.ReadScaleWeight(weighing_.weightSource);
    Show(CarcassRole::WeightInput, reading.weightText);
    if (reading.Refused()) {
        if (!reading.errorText.empty())
            Show(CarcassRole::Error, reading.errorText);
        return;
    }
    if (WeightInRange(NumberInText(reading.weightText)))
        StoreWeight(FormatWeight(reading.weightText));
    else
        ShowError(StringId::InvalidWeight);
}

FinishedCarcass CarcassPairing::CompleteOldest(bool typed)
{
    Show(CarcassRole::Error, std::string());
    if (queue_.Empty()) {
        ShowError(StringId::UnexpectedWeight);
        return std::nullopt;
    }
    double weight = 0.0;
    const bool fromBox = typed || weighing_.weightSource == WeightSource::ManualInput;
    if (fromBox) {
        weight = NumberInText(links_.display.WeightInputText());
    } else if (HasScaleParser(weighing_.weightSource)) {
        const ScaleReading reading = links_.scale.ReadScaleWeight(weighing_.weightSource);
        if (reading.Refused()) {
            ShowError(StringId::ScaleErrorMessage);
            return std::nullopt;
        }
        weight = NumberInText(reading.weightText);
        Show(CarcassRole::WeightInput, PlainNumberText(weight));
    } else {
        return std::nullopt; // a model without a parser delivers no weight
    }
    // Typed weights too: the Weight button can send whatever the box holds.
    if (!WeightInRange(weight)) {
        ShowError(StringId::InvalidWeight);
        return std::nullopt;
    }
    CompleteWithWeight(weight);
    // A typed weight is used up: left in the box, the next one typed would be appended to it.
    if (fromBox)
        Show(CarcassRole::WeightInput, std::string());
    if (weighing_.weightPromptShown) {
        links_.commands.QueueProbeCommand(kWeightTakenAfterPromptCommand);
        weighing_.weightPromptShown = false;
    }
    // Shown before the finish, which counts the completed carcass out of the queue.
    Show(CarcassRole::Pending, PendingText(queue_.count - 1));
    FinishedCarcass finished = FinishCarcass();
    if (queue_.count > 0 && links_.timers)
        links_.timers->StartRefreshTimer();
    return finished;
}

void CarcassPairing::StoreWeight(const std::string& formattedWeight)
{
    if (queue_.Full()) {
        // Not queued, and no waiting weight is replaced.
        ShowError(StringId::TooManyWeights);
        links_.commands.QueueProbeCommand(kTooManyWeightsCommand);
        links_.display.SetStatusPanel1(ResourceString(StringId::TooManyWeights));
        return;
    }
    queue_.weights[queue_.writeIndex] = formattedWeight;
    queue_.writeIndex = PendingQueue::After(queue_.writeIndex);
    ++queue_.count;
    ShowQueue();
    for (CarcassRole role : {CarcassRole::WeightInput, CarcassRole::Error, CarcassRole::Counter,
                             CarcassRole::MeatPercent, CarcassRole::Class})
        Show(role, std::string());
    const std::string& oldest = queue_.weights[queue_.readIndex];
    Show(CarcassRole::Weight, oldest);
    if (window_ == PairingWindow::CurrentCarcass) {
        Show(CarcassRole::Quality, std::string());
        if (queue_.count == 1) {
            links_.commands.QueueProbeCommand(
                NumberInText(oldest) > kEquationWeightThreshold ? kFirstWeightHeavyCommand : kFirstWeightLightCommand);
        }
    }
}

std::string CarcassPairing::TakeWeight()
{
    if (queue_.Empty())
        return std::string();
    std::string weight = queue_.weights[queue_.readIndex];
    --queue_.count;
    queue_.readIndex = PendingQueue::After(queue_.readIndex);
    queue_.takenWeightReturnable = true;
    if (weighing_.weightSource == WeightSource::ManualInput)
        links_.display.EnableWeightInput();
    return weight;
}

void CarcassPairing::CompleteWithWeight(double weight)
{
    if (queue_.Empty())
        return;
    CarcassMeasurement& record = queue_.carcasses[queue_.readIndex];
    ClassifyCarcass(record, weight, weighing_.useWeightInEquation);
    // The weight of the equation is the weight stored and shown.
    const std::string weightText = FormatWeight(PlainNumberText(weight));
    record.weight = weightText;
    Show(CarcassRole::MeatPercent, ShownLeanMeat(record.meatPercent));
    Show(CarcassRole::Weight, weightText);
    Show(CarcassRole::Class, record.carcassClass);
    // The counter of the carcass that gets the weight, also where nothing has shown it yet.
    Show(CarcassRole::Counter, CounterRoleText(record.carcassCount));
    Show(CarcassRole::Error, std::string());
    if (window_ == PairingWindow::CurrentCarcass)
        Show(CarcassRole::Quality, QualityText(record));
    else
        Show(CarcassRole::WeightInput, std::string());
}
