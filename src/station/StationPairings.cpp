#include "station/StationPairings.h"

#include "station/ProbeResults.h"

StationPairings::StationPairings(const StationPairingLinks& links, QObject* parent)
    : QObject(parent)
    , current_(PairingWindow::CurrentCarcass, links.weighing, links.result, links.queue,
               PairingLinks{currentDisplay_, links.commands, links.scale, links.notices, this})
    , main_(PairingWindow::Main, links.weighing, links.result, links.queue,
            PairingLinks{mainDisplay_, links.commands, links.scale, links.notices, this})
{
    prompt_.setObjectName(QStringLiteral("Timer1S"));
    prompt_.setInterval(kPromptMs);
    prompt_.setSingleShot(true);
    refresh_.setObjectName(QStringLiteral("Timer2Sec"));
    refresh_.setInterval(kRefreshMs);
    refresh_.setSingleShot(true);
    // Both timers belong to the current carcass pairing, whoever started them.
    connect(&prompt_, &QTimer::timeout, this, [this] { current_.OnPromptTimer(); });
    connect(&refresh_, &QTimer::timeout, this, [this] { current_.OnRefreshTimer(); });
}

void StationPairings::TakeResultsFrom(ProbeResults& results)
{
    // Inside the dispatch, in its order: the pairing takes the record before the next message
    // can replace it.
    results.SetPairing(current_);
    results_ = &results;
    connect(&results, &ProbeResults::carcassError, this,
            [this](const std::string& text) { currentDisplay_.Show(CarcassRole::Error, text); });
    connect(&results, &ProbeResults::carcassValuesCleared, this, [this] {
        for (CarcassRole role :
             {CarcassRole::Class, CarcassRole::Quality, CarcassRole::Counter, CarcassRole::MeatPercent})
            currentDisplay_.Show(role, std::string());
    });
}

void StationPairings::OnWeightArrived(PairingWindow window)
{
    Finish(pairing(window).OnWeightArrived());
}

void StationPairings::AcceptTypedWeight(PairingWindow window)
{
    Finish(pairing(window).AcceptTypedWeight());
}

void StationPairings::Finish(const FinishedCarcass& finished)
{
    if (results_)
        results_->Finish(finished);
}
