#include "carcasswindow/MainPairingDisplay.h"

#include <QLineEdit>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

MainPairingDisplay::MainPairingDisplay(const Boxes& boxes, PairingDisplayModel& display,
                                       PairingDisplayModel& carcassDisplay,
                                       std::function<void(const QString&)> setStatusPanel1, QObject* parent)
    : QObject(parent)
    , boxes_(boxes)
    , carcassDisplay_(carcassDisplay)
{
    connect(&display, &PairingDisplayModel::roleShown, this, &MainPairingDisplay::Show);
    connect(&display, &PairingDisplayModel::statusPanel1Shown, this,
            [setStatusPanel1 = std::move(setStatusPanel1)](const std::string& text) { setStatusPanel1(Latin1(text)); });
    connect(&display, &PairingDisplayModel::weightInputEnabled, this, [this] {
        boxes_.weightBox->setEnabled(true);
        boxes_.weightBox->setFocus();
    });
    // The pairing reads the weight input from the model: it follows the box.
    display.WeightInputTyped(boxes_.weightBox->text().toLatin1().toStdString());
    connect(boxes_.weightBox, &QLineEdit::textChanged, this,
            [&display](const QString& text) { display.WeightInputTyped(text.toLatin1().toStdString()); });
    connect(&carcassDisplay, &PairingDisplayModel::roleShown, this, [this](CarcassRole role, const std::string& text) {
        if (role == CarcassRole::Pending)
            boxes_.pendingResultsBox->setText(Latin1(text));
    });
}

QLineEdit* MainPairingDisplay::BoxFor(CarcassRole role) const
{
    switch (role) {
    case CarcassRole::Counter: return boxes_.counterBox;
    case CarcassRole::Quality: return boxes_.qualityBox;
    case CarcassRole::Class: return boxes_.classBox;
    case CarcassRole::MeatPercent: return boxes_.meatPercentBox;
    case CarcassRole::Weight: return boxes_.pairedWeightBox;
    case CarcassRole::WeightInput: return boxes_.weightBox;
    case CarcassRole::Error: return boxes_.errorBox;
    case CarcassRole::Pending: return boxes_.pendingResultsBox;
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
    carcassDisplay_.Show(role, text);
    // The quality there belongs to the counter beside it (this window shows no quality of a
    // stored weight).
    if (role == CarcassRole::Counter && text.empty())
        carcassDisplay_.Show(CarcassRole::Quality, std::string());
}
