#include "carcasswindow/CurrentCarcassWindow.h"

#include "carcass/CarcassRoles.h"
#include "carcasswindow/WeightBoxKeys.h"
#include "station/StationPairings.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CurrentCarcassWindow::CurrentCarcassWindow(const CurrentCarcassWindowLinks& links, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , links_(links)
{
    BuildControls();
    // What the pairing showed before this window existed, then whatever it shows next.
    PairingDisplayModel& display = links_.display;
    for (CarcassRole role : {CarcassRole::Counter, CarcassRole::Quality, CarcassRole::Class, CarcassRole::MeatPercent,
                             CarcassRole::Weight, CarcassRole::WeightInput, CarcassRole::Error, CarcassRole::Pending})
        Show(role, display.Text(role));
    connect(&display, &PairingDisplayModel::roleShown, this, &CurrentCarcassWindow::Show);
    connect(&display, &PairingDisplayModel::weightInputEnabled, this, &CurrentCarcassWindow::EnableWeightInput);
    // The pairing reads the weight input from the model: it follows the box.
    connect(carcassWeightBox, &QLineEdit::textChanged, this,
            [this](const QString& text) { links_.display.WeightInputTyped(text.toLatin1().toStdString()); });

    // Reads the last scale message again, or completes with what the box holds.
    connect(weightInButton, &QPushButton::clicked, this,
            [this] { links_.pairings.OnWeightArrived(PairingWindow::CurrentCarcass); });
    connect(helpButton, &QPushButton::clicked, this, &CurrentCarcassWindow::OnHelp);
    // Full-screen on the line's display is left with Escape or from the window's menu.
    auto* windowed = new QAction(QStringLiteral("Leave &Full Screen"), this);
    windowed->setObjectName(QStringLiteral("mnuLeaveFullScreen"));
    connect(windowed, &QAction::triggered, this, &CurrentCarcassWindow::LeaveFullScreen);
    addAction(windowed);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    weightKeys_ = new WeightBoxKeys(
        carcassWeightBox, [this](const std::string& error) { links_.display.Show(CarcassRole::Error, error); },
        [this] { links_.pairings.AcceptTypedWeight(PairingWindow::CurrentCarcass); });
}

CurrentCarcassWindow::~CurrentCarcassWindow() = default;

void CurrentCarcassWindow::LeaveFullScreen()
{
    if (!isFullScreen())
        return;
    showNormal();
    // Its designed size, centred on the screen it was filling.
    const QRect area = screen() ? screen()->availableGeometry() : QRect(QPoint(0, 0), designedSize_);
    QRect place(QPoint(0, 0), designedSize_.boundedTo(area.size() - (frameGeometry().size() - size())));
    place.moveCenter(area.center());
    setGeometry(place);
}

void CurrentCarcassWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && isFullScreen()) {
        LeaveFullScreen();
        return;
    }
    QWidget::keyPressEvent(event);
}

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
    pendingFrame->setVisible(pending);
    manualInputFrame->setVisible(manualInput);
    GrowToShowFrames();
}

void CurrentCarcassWindow::Show(CarcassRole role, const std::string& text)
{
    switch (role) {
    case CarcassRole::Counter: counterLabel->setText(Latin1(text)); break;
    // Whatever window's pairing sends it, quality reads here as a whole number.
    case CarcassRole::Quality: colourLabel->setText(Latin1(QualityRoleText(text))); break;
    case CarcassRole::Class: classLabel->setText(Latin1(text)); break;
    case CarcassRole::MeatPercent: meatPercentLabel->setText(Latin1(text)); break;
    case CarcassRole::Weight: weightLabel->setText(Latin1(text)); break;
    case CarcassRole::WeightInput:
        carcassWeightBox->setText(Latin1(text));
        carcassWeightBox->end(false);
        break;
    case CarcassRole::Error: errorLabel->setText(Latin1(text)); break;
    case CarcassRole::Pending: pendingLabel->setText(Latin1(text)); break;
    }
}

void CurrentCarcassWindow::EnableWeightInput()
{
    carcassWeightBox->setEnabled(true);
    carcassWeightBox->setFocus();
}

QString CurrentCarcassWindow::Text(const char* controlName) const
{
    if (const auto* label = findChild<QLabel*>(controlName))
        return label->text();
    const auto* edit = findChild<QLineEdit*>(controlName);
    return edit ? edit->text() : QString();
}
