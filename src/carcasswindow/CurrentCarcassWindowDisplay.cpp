// The current carcass window's controls and looks: captions small, values large, green on
// black, so that they read from the line a metre away and more.

#include "carcasswindow/CurrentCarcassWindow.h"

#include "resources/AppTitle.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "weighing/ManualWeightEntry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kCaptionPoints = 16;
constexpr int kValuePoints = 36;
constexpr int kClassPoints = 56;
constexpr int kErrorPoints = 22;
constexpr int kWeightBoxPoints = 28;

// The widest texts each kind of value takes: a six-digit counter, "199.90" kg.
const QString kWidestValue = QStringLiteral("888888");

QFont ScaledFont(const QFont& base, int pointSize, bool bold)
{
    QFont f = base;
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

QLabel* Caption(QWidget* parent, const char* name, int id, const QFont& font)
{
    auto* label = new QLabel(ResourceText(id), parent);
    label->setObjectName(name);
    label->setFont(font);
    return label;
}

QColor LookColour(WeightBoxLook look)
{
    switch (look) {
    case WeightBoxLook::ActiveBorder: return QColor(180, 180, 180);
    case WeightBoxLook::InactiveBorder: return QColor(212, 208, 200);
    case WeightBoxLook::WindowBackground: break;
    }
    return QPalette().color(QPalette::Active, QPalette::Base);
}

} // namespace

void CurrentCarcassWindow::BuildControls()
{
    setObjectName("frmLED");
    setWindowTitle(ResourceText(StringId::CurrentCarcass));
    setAttribute(Qt::WA_DeleteOnClose);
    const QFont captionFont = ScaledFont(font(), kCaptionPoints, false);

    auto* resultsFrame = new QGroupBox(ResourceText(StringId::Results), this);
    resultsFrame->setObjectName("fraResults");
    auto* grid = new QGridLayout(resultsFrame);
    grid->setColumnStretch(1, 1);
    struct Row {
        const char* captionName;
        int caption;
        int tip;
        QLabel** value;
        const char* valueName;
    };
    // clang-format off
    const Row rows[] = {
        {"lblCount", 1171, 0, &counterLabel, "LEDcou"},
        {"lblColor", 1169, 1170, &colourLabel, "LEDcol"},
        {"lblClass", 1167, 1168, &classLabel, "LEDcla"},
        {"lblMeatP", 1173, 0, &meatPercentLabel, "LEDmea"},
        {"lblWeight", 1172, 0, &weightLabel, "LblWgt"},
    };
    // clang-format on
    int r = 0;
    for (const Row& row : rows) {
        QLabel* caption = Caption(resultsFrame, row.captionName, row.caption, captionFont);
        const QString tip = row.tip ? ResourceText(row.tip) : QString();
        caption->setToolTip(tip);
        *row.value = ValueLabel(resultsFrame, row.valueName, tip);
        grid->addWidget(caption, r, 0, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(*row.value, r, 1);
        ++r;
    }
    // The class is what the line looks for first.
    classLabel->setFont(ScaledFont(font(), kClassPoints, true));

    auto* errorFrame = new QGroupBox(ResourceText(StringId::Error), this);
    errorFrame->setObjectName("fraError");
    auto* errorLayout = new QVBoxLayout(errorFrame);
    errorLabel = new QLabel(errorFrame);
    errorLabel->setObjectName("LEDerr");
    errorLabel->setFont(ScaledFont(font(), kErrorPoints, true));
    errorLabel->setStyleSheet("color: #c00000;");
    errorLabel->setWordWrap(true);
    // Room for two lines: the longest scale error wraps once.
    errorLabel->setMinimumHeight(2 * errorLabel->fontMetrics().lineSpacing() + 4);
    errorLayout->addWidget(errorLabel);

    pendingFrame = new QGroupBox(ResourceText(StringId::BetweenProbingAndWeighing), this);
    pendingFrame->setObjectName("fraPending");
    auto* pendingLayout = new QHBoxLayout(pendingFrame);
    QLabel* pendingCountLabel = Caption(pendingFrame, "lblPend", 1174, captionFont);
    pendingCountLabel->setToolTip(ResourceText(StringId::HalfProcessedCarcasses));
    pendingLabel = ValueLabel(pendingFrame, "Label1", ResourceText(StringId::HalfProcessedCarcasses));
    pendingLayout->addWidget(pendingCountLabel);
    pendingLayout->addWidget(pendingLabel, 1);

    manualInputFrame = new QGroupBox(ResourceText(StringId::ManualInput), this);
    manualInputFrame->setObjectName("fraManualInput");
    auto* manualLayout = new QHBoxLayout(manualInputFrame);
    QLabel* inLabel = Caption(manualInputFrame, "lblIn", 1172, captionFont);
    carcassWeightBox = new QLineEdit(manualInputFrame);
    carcassWeightBox->setObjectName("LEDWeight");
    carcassWeightBox->setFont(ScaledFont(font(), kWeightBoxPoints, true));
    carcassWeightBox->setAlignment(Qt::AlignRight);
    carcassWeightBox->setMinimumWidth(carcassWeightBox->fontMetrics().horizontalAdvance(kWidestValue) + 24);
    inLabel->setBuddy(carcassWeightBox);
    weightInButton = new QPushButton(QStringLiteral("&Weight"), manualInputFrame);
    weightInButton->setObjectName("cmdWeightIn");
    weightInButton->setFont(captionFont);
    // Enter in the weight box is the box's own; no button takes it.
    weightInButton->setAutoDefault(false);
    helpButton = new QPushButton(ResourceText(StringId::HelpMenu), manualInputFrame);
    helpButton->setObjectName("cmdHelp");
    helpButton->setFont(captionFont);
    helpButton->setAutoDefault(false);
    manualLayout->addWidget(inLabel);
    manualLayout->addWidget(carcassWeightBox, 1);
    manualLayout->addWidget(weightInButton);
    manualLayout->addWidget(helpButton);
    SetWeightBox(false, WeightBoxLook::InactiveBorder);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(resultsFrame, 1);
    layout->addWidget(errorFrame);
    layout->addWidget(pendingFrame);
    layout->addWidget(manualInputFrame);
    RecordScaledFigures();
    resize(designedSize_.expandedTo(QSize(560, 640)));
}

QLabel* CurrentCarcassWindow::ValueLabel(QWidget* parent, const char* name, const QString& tip)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(ScaledFont(font(), kValuePoints, true));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameShape(QFrame::StyledPanel);
    label->setStyleSheet("background: #101010; color: #40ff40; padding: 0px 10px;");
    // Wide enough for the widest value, so that none is ever cut.
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(kWidestValue) + 28);
    label->setMinimumHeight(label->fontMetrics().height() + 4);
    label->setToolTip(tip);
    label->setProperty("valueLabel", true);
    return label;
}

void CurrentCarcassWindow::SetWeightBox(bool enabled, WeightBoxLook look)
{
    weightBoxLook_ = look;
    QPalette palette = carcassWeightBox->palette();
    palette.setColor(QPalette::Base, LookColour(look));
    carcassWeightBox->setPalette(palette);
    carcassWeightBox->setEnabled(enabled);
}

void CurrentCarcassWindow::OnHelp()
{
    const std::string text = WeightLimitsHelpText();
    links_.notices.Notify(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), kAppTitle,
                          MessageIcon::Information);
}
