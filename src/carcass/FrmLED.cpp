#include "carcass/FrmLED.h"

#include "carcass/CarcassRoles.h"
#include "resources/StringTable.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Captions small, values large: the values are read from the line, a metre away and more.
QFont ScaledFont(const QFont& base, int pointSize, bool bold)
{
    QFont f = base;
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

} // namespace

FrmLED::FrmLED(StationState& state, std::function<void()> finishCarcass, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , state_(state)
    , finishCarcass_(std::move(finishCarcass))
{
    setObjectName("frmLED");
    setWindowTitle(ResourceText(1166));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* fraResults = new QGroupBox(ResourceText(1227), this);
    fraResults->setObjectName("fraResults");
    auto* grid = new QGridLayout(fraResults);
    struct Row {
        const char* captionName;
        int caption;
        int tip;
        QLabel** value;
        const char* valueName;
    };
    const Row rows[] = {
        {"lblCount", 1171, 0, &LEDcou, "LEDcou"},
        {"lblColor", 1169, 1170, &LEDcol, "LEDcol"},
        {"lblClass", 1167, 1168, &LEDcla, "LEDcla"},
        {"lblMeatP", 1173, 0, &LEDmea, "LEDmea"},
        {"lblWeight", 1172, 0, &LblWgt, "LblWgt"},
    };
    int r = 0;
    for (const Row& row : rows) {
        auto* caption = new QLabel(ResourceText(row.caption), fraResults);
        caption->setObjectName(row.captionName);
        caption->setFont(ScaledFont(font(), 16, false));
        if (row.tip)
            caption->setToolTip(ResourceText(row.tip));
        *row.value = ValueLabel(row.valueName, row.tip ? ResourceText(row.tip) : QString());
        grid->addWidget(caption, r, 0, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(*row.value, r, 1);
        ++r;
    }
    LEDcla->setFont(ScaledFont(font(), 64, true));

    auto* fraError = new QGroupBox(ResourceText(1191), this);
    fraError->setObjectName("fraError");
    auto* errorLayout = new QVBoxLayout(fraError);
    LEDerr = new QLabel(fraError);
    LEDerr->setObjectName("LEDerr");
    LEDerr->setFont(ScaledFont(font(), 22, true));
    LEDerr->setStyleSheet("color: #c00000;");
    LEDerr->setWordWrap(true);
    LEDerr->setMinimumHeight(60);
    errorLayout->addWidget(LEDerr);

    fraPending = new QGroupBox(ResourceText(1228), this);
    fraPending->setObjectName("fraPending");
    auto* pendingLayout = new QHBoxLayout(fraPending);
    auto* lblPend = new QLabel(ResourceText(1174), fraPending);
    lblPend->setObjectName("lblPend");
    lblPend->setToolTip(ResourceText(1175));
    lblPend->setFont(ScaledFont(font(), 16, false));
    Label1 = ValueLabel("Label1", ResourceText(1175));
    pendingLayout->addWidget(lblPend);
    pendingLayout->addWidget(Label1, 1);

    fraManualInput = new QGroupBox(ResourceText(1226), this);
    fraManualInput->setObjectName("fraManualInput");
    auto* manualLayout = new QHBoxLayout(fraManualInput);
    auto* lblIn = new QLabel(ResourceText(1172), fraManualInput);
    lblIn->setObjectName("lblIn");
    LEDWeight = new QLineEdit(fraManualInput);
    LEDWeight->setObjectName("LEDWeight");
    LEDWeight->setFont(ScaledFont(font(), 28, true));
    LEDWeight->setEnabled(false);
    cmdWeightIn = new QPushButton("Weight", fraManualInput);
    cmdWeightIn->setObjectName("cmdWeightIn");
    auto* cmdHelp = new QPushButton(ResourceText(1070), fraManualInput);
    cmdHelp->setObjectName("cmdHelp");
    manualLayout->addWidget(lblIn);
    manualLayout->addWidget(LEDWeight, 1);
    manualLayout->addWidget(cmdWeightIn);
    manualLayout->addWidget(cmdHelp);

    // Pressed by the station itself when a probe result arrives.
    cmdProbe = new QPushButton("Probe", this);
    cmdProbe->setObjectName("cmdProbe");
    cmdProbe->hide();
    connect(cmdProbe, &QPushButton::clicked, this, &FrmLED::OnProbeResult);

    Timer1S = new QTimer(this);
    Timer1S->setObjectName("Timer1S");
    Timer1S->setInterval(1000);
    Timer1S->setSingleShot(true);
    Timer2Sec = new QTimer(this);
    Timer2Sec->setObjectName("Timer2Sec");
    Timer2Sec->setInterval(2000);
    Timer2Sec->setSingleShot(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraResults, 1);
    layout->addWidget(fraError);
    layout->addWidget(fraPending);
    layout->addWidget(fraManualInput);
    resize(560, 640);
}

QLabel* FrmLED::ValueLabel(const char* name, const QString& tip)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setFont(ScaledFont(font(), 40, true));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(220);
    label->setFrameShape(QFrame::StyledPanel);
    label->setStyleSheet("background: #101010; color: #40ff40; padding: 2px 10px;");
    if (!tip.isEmpty())
        label->setToolTip(tip);
    return label;
}

void FrmLED::SetLabel(QLabel* label, const std::string& text)
{
    label->setText(Latin1(text));
}

QString FrmLED::Text(const char* labelName) const
{
    const auto* label = findChild<QLabel*>(labelName);
    if (label)
        return label->text();
    const auto* edit = findChild<QLineEdit*>(labelName);
    return edit ? edit->text() : QString();
}

void FrmLED::HideWeighingFrames()
{
    fraPending->hide();
    fraManualInput->hide();
}

void FrmLED::ClearValues()
{
    for (QLabel* label : {LEDcla, LEDcol, LEDcou, LEDmea})
        label->clear();
}

void FrmLED::OnProbeResult()
{
    CarcassMeasurement& record = state_.currentMeasurement;
    // Without weighing every probe result is finished at once. The pairing with a scale comes
    // with the weighing work; until then the station always runs without a weight source.
    if (state_.weightSource != WeightSource::NoWeight)
        return;
    if (record.kind == 'C') {
        SetLabel(LEDerr, ResourceString(1159));
        finishCarcass_();
        return;
    }
    SetLabel(LEDcou, CounterRoleText(record.carcassCount));
    SetLabel(LEDcol, QualityRoleText(record.colour1));
    SetLabel(LEDcla, record.carcassClass);
    SetLabel(LEDmea, record.meatPercent);
    LblWgt->clear();
    finishCarcass_();
    record.weight.assign(1, ' ');
}
