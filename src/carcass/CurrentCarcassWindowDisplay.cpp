// The current carcass window's controls and looks: captions small, values large, green on
// black, so that they read from the line a metre away and more.

#include "carcass/CurrentCarcassWindow.h"

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

    auto* fraResults = new QGroupBox(ResourceText(StringId::Results), this);
    fraResults->setObjectName("fraResults");
    auto* grid = new QGridLayout(fraResults);
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
        {"lblCount", 1171, 0, &LEDcou, "LEDcou"},
        {"lblColor", 1169, 1170, &LEDcol, "LEDcol"},
        {"lblClass", 1167, 1168, &LEDcla, "LEDcla"},
        {"lblMeatP", 1173, 0, &LEDmea, "LEDmea"},
        {"lblWeight", 1172, 0, &LblWgt, "LblWgt"},
    };
    // clang-format on
    int r = 0;
    for (const Row& row : rows) {
        QLabel* caption = Caption(fraResults, row.captionName, row.caption, captionFont);
        const QString tip = row.tip ? ResourceText(row.tip) : QString();
        caption->setToolTip(tip);
        *row.value = ValueLabel(fraResults, row.valueName, tip);
        grid->addWidget(caption, r, 0, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(*row.value, r, 1);
        ++r;
    }
    // The class is what the line looks for first.
    LEDcla->setFont(ScaledFont(font(), kClassPoints, true));

    auto* fraError = new QGroupBox(ResourceText(StringId::Error), this);
    fraError->setObjectName("fraError");
    auto* errorLayout = new QVBoxLayout(fraError);
    LEDerr = new QLabel(fraError);
    LEDerr->setObjectName("LEDerr");
    LEDerr->setFont(ScaledFont(font(), kErrorPoints, true));
    LEDerr->setStyleSheet("color: #c00000;");
    LEDerr->setWordWrap(true);
    // Room for two lines: the longest scale error wraps once.
    LEDerr->setMinimumHeight(2 * LEDerr->fontMetrics().lineSpacing() + 4);
    errorLayout->addWidget(LEDerr);

    fraPending = new QGroupBox(ResourceText(StringId::BetweenProbingAndWeighing), this);
    fraPending->setObjectName("fraPending");
    auto* pendingLayout = new QHBoxLayout(fraPending);
    QLabel* lblPend = Caption(fraPending, "lblPend", 1174, captionFont);
    lblPend->setToolTip(ResourceText(StringId::HalfProcessedCarcasses));
    pendingLabel = ValueLabel(fraPending, "Label1", ResourceText(StringId::HalfProcessedCarcasses));
    pendingLayout->addWidget(lblPend);
    pendingLayout->addWidget(pendingLabel, 1);

    fraManualInput = new QGroupBox(ResourceText(StringId::ManualInput), this);
    fraManualInput->setObjectName("fraManualInput");
    auto* manualLayout = new QHBoxLayout(fraManualInput);
    QLabel* lblIn = Caption(fraManualInput, "lblIn", 1172, captionFont);
    LEDWeight = new QLineEdit(fraManualInput);
    LEDWeight->setObjectName("LEDWeight");
    LEDWeight->setFont(ScaledFont(font(), kWeightBoxPoints, true));
    LEDWeight->setAlignment(Qt::AlignRight);
    LEDWeight->setMinimumWidth(LEDWeight->fontMetrics().horizontalAdvance(kWidestValue) + 24);
    lblIn->setBuddy(LEDWeight);
    cmdWeightIn = new QPushButton(QStringLiteral("&Weight"), fraManualInput);
    cmdWeightIn->setObjectName("cmdWeightIn");
    cmdWeightIn->setFont(captionFont);
    // Enter in the weight box is the box's own; no button takes it.
    cmdWeightIn->setAutoDefault(false);
    cmdHelp = new QPushButton(ResourceText(StringId::HelpMenu), fraManualInput);
    cmdHelp->setObjectName("cmdHelp");
    cmdHelp->setFont(captionFont);
    cmdHelp->setAutoDefault(false);
    manualLayout->addWidget(lblIn);
    manualLayout->addWidget(LEDWeight, 1);
    manualLayout->addWidget(cmdWeightIn);
    manualLayout->addWidget(cmdHelp);
    SetWeightBox(false, WeightBoxLook::InactiveBorder);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraResults, 1);
    layout->addWidget(fraError);
    layout->addWidget(fraPending);
    layout->addWidget(fraManualInput);
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
    QPalette palette = LEDWeight->palette();
    palette.setColor(QPalette::Base, LookColour(look));
    LEDWeight->setPalette(palette);
    LEDWeight->setEnabled(enabled);
}

void CurrentCarcassWindow::OnHelp()
{
    const std::string text = WeightLimitsHelpText();
    links_.notices.Notify(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), kAppTitle,
                          MessageIcon::Information);
}
