#include "carcass/MainPairingDisplay.h"

#include "carcass/CurrentCarcassWindow.h"

#include <QLineEdit>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MainPairingDisplay::MainPairingDisplay(const Boxes& boxes, std::function<void(const QString&)> setStatusPanel1,
                                       std::function<CurrentCarcassWindow*()> currentCarcassWindow)
    : boxes_(boxes)
    , setStatusPanel1_(std::move(setStatusPanel1))
    , currentCarcassWindow_(std::move(currentCarcassWindow))
{}

QLineEdit* MainPairingDisplay::BoxFor(CarcassRole role) const
{
    switch (role) {
    case CarcassRole::Counter: return boxes_.txtCarcassCounter;
    case CarcassRole::Quality: return boxes_.txtQuality;
    case CarcassRole::Class: return boxes_.txtClass;
    case CarcassRole::MeatPercent: return boxes_.txtMeatPer;
    case CarcassRole::Weight: return boxes_.txtWeightResult;
    case CarcassRole::WeightInput: return boxes_.txtWeight;
    case CarcassRole::Error: return boxes_.txtError;
    case CarcassRole::Pending: return boxes_.txtPending;
    }
    return nullptr;
}

void MainPairingDisplay::Show(CarcassRole role, const std::string& text)
{
    if (QLineEdit* box = BoxFor(role)) {
        box->setText(Latin1(text));
        if (role == CarcassRole::WeightInput)
            box->end(false);
    }
    if (role == CarcassRole::WeightInput)
        return;
    if (CurrentCarcassWindow* led = currentCarcassWindow_()) {
        led->Show(role, text);
        // The quality there belongs to the counter beside it (this window shows no quality of a
        // stored weight).
        if (role == CarcassRole::Counter && text.empty())
            led->Show(CarcassRole::Quality, std::string());
    }
}

void MainPairingDisplay::ShowPendingOnly(const std::string& text)
{
    boxes_.txtPending->setText(Latin1(text));
}

std::string MainPairingDisplay::WeightInputText() const
{
    return boxes_.txtWeight->text().toLatin1().toStdString();
}

void MainPairingDisplay::SetStatusPanel1(const std::string& text)
{
    setStatusPanel1_(Latin1(text));
}

void MainPairingDisplay::EnableWeightInput()
{
    boxes_.txtWeight->setEnabled(true);
    boxes_.txtWeight->setFocus();
}

void MainPairingDisplay::StartPromptTimer()
{
    if (CurrentCarcassWindow* led = currentCarcassWindow_())
        led->StartPromptTimer();
}

void MainPairingDisplay::StartRefreshTimer()
{
    if (CurrentCarcassWindow* led = currentCarcassWindow_())
        led->StartRefreshTimer();
}

void MainPairingDisplay::StopRefreshTimer()
{
    if (CurrentCarcassWindow* led = currentCarcassWindow_())
        led->StopRefreshTimer();
}
