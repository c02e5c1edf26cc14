#include "carcass/CurrentCarcassWindow.h"

#include "carcass/CarcassRoles.h"
#include "carcass/WeightBoxKeys.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CurrentCarcassWindow::CurrentCarcassWindow(const CurrentCarcassWindowLinks& links, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , links_(links)
    , pairing_(PairingWindow::CurrentCarcass, links.weighing, links.result, links.queue,
               PairingLinks{*this, links.commands, links.finisher, links.scale, links.notices, this})
{
    BuildControls();

    // Reads the last scale message again, or completes with what the box holds.
    connect(cmdWeightIn, &QPushButton::clicked, this, [this] { pairing_.OnWeightArrived(); });
    connect(cmdHelp, &QPushButton::clicked, this, &CurrentCarcassWindow::OnHelp);
    connect(Timer1S, &QTimer::timeout, this, [this] { pairing_.OnPromptTimer(); });
    connect(Timer2Sec, &QTimer::timeout, this, [this] { pairing_.OnRefreshTimer(); });
    weightKeys_ = new WeightBoxKeys(
        LEDWeight, [this](const std::string& error) { Show(CarcassRole::Error, error); },
        [this] { pairing_.AcceptTypedWeight(); });
}

CurrentCarcassWindow::~CurrentCarcassWindow() = default;

bool CurrentCarcassWindow::weightConfirmPending() const
{
    return weightKeys_->weightConfirmPending();
}

void CurrentCarcassWindow::ShowWeighingFrames(WeightSource source)
{
    const bool manual = source == WeightSource::ManualInput;
    SetWeighingFrames(source != WeightSource::NoWeight, manual);
    SetWeightBox(manual, manual ? WeightBoxLook::WindowBackground : WeightBoxLook::InactiveBorder);
}

void CurrentCarcassWindow::SetWeighingFrames(bool pending, bool manualInput)
{
    fraPending->setVisible(pending);
    fraManualInput->setVisible(manualInput);
    GrowToShowFrames();
}

void CurrentCarcassWindow::Show(CarcassRole role, const std::string& text)
{
    switch (role) {
    case CarcassRole::Counter: LEDcou->setText(Latin1(text)); break;
    // Whatever window's pairing sends it, quality reads here as a whole number.
    case CarcassRole::Quality: LEDcol->setText(Latin1(QualityRoleText(text))); break;
    case CarcassRole::Class: LEDcla->setText(Latin1(text)); break;
    case CarcassRole::MeatPercent: LEDmea->setText(Latin1(text)); break;
    case CarcassRole::Weight: LblWgt->setText(Latin1(text)); break;
    case CarcassRole::WeightInput:
        LEDWeight->setText(Latin1(text));
        LEDWeight->end(false);
        break;
    case CarcassRole::Error: LEDerr->setText(Latin1(text)); break;
    case CarcassRole::Pending:
        Label1->setText(Latin1(text));
        if (links_.pendingShown)
            links_.pendingShown(text);
        break;
    }
}

std::string CurrentCarcassWindow::WeightInputText() const
{
    return LEDWeight->text().toLatin1().toStdString();
}

void CurrentCarcassWindow::SetStatusPanel1(const std::string& text)
{
    if (links_.setStatusPanel1)
        links_.setStatusPanel1(text);
}

void CurrentCarcassWindow::EnableWeightInput()
{
    LEDWeight->setEnabled(true);
    LEDWeight->setFocus();
}

void CurrentCarcassWindow::StartPromptTimer()
{
    Timer1S->start();
}

void CurrentCarcassWindow::StartRefreshTimer()
{
    Timer2Sec->start();
}

void CurrentCarcassWindow::StopRefreshTimer()
{
    Timer2Sec->stop();
}

QString CurrentCarcassWindow::Text(const char* controlName) const
{
    if (const auto* label = findChild<QLabel*>(controlName))
        return label->text();
    const auto* edit = findChild<QLineEdit*>(controlName);
    return edit ? edit->text() : QString();
}

void CurrentCarcassWindow::ClearValues()
{
    for (QLabel* label : {LEDcla, LEDcol, LEDcou, LEDmea})
        label->clear();
}
