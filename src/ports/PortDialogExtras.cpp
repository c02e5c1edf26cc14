#include "ports/PortDialogExtras.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

QLineEdit* AddField(QFormLayout* form, const char* label, const char* name, const char* tip, bool editable)
{
    auto* field = new QLineEdit(form->parentWidget());
    field->setObjectName(QString::fromLatin1(name));
    field->setToolTip(QString::fromLatin1(tip));
    field->setReadOnly(!editable);
    auto* caption = new QLabel(QString::fromLatin1(label), form->parentWidget());
    // Only the fields the operator may change are reached through an access key.
    if (editable)
        caption->setBuddy(field);
    form->addRow(caption, field);
    return field;
}

} // namespace

FlagFrame::FlagFrame(const char* objectName, int captionId, QWidget* parent)
    : QGroupBox(parent)
{
    setObjectName(QString::fromLatin1(objectName));
    setProperty("tag", QString::number(captionId));
    new QVBoxLayout(this);
}

void FlagFrame::AddBox(const char* objectName, int captionId, const char* literal, bool& flag)
{
    auto* box = new QCheckBox(captionId ? QString::number(captionId) : QString::fromLatin1(literal), this);
    box->setObjectName(QString::fromLatin1(objectName));
    if (captionId)
        box->setProperty("tag", QString::number(captionId));
    // A click holds at once, for the running station; Cancel does not undo it.
    connect(box, &QCheckBox::clicked, this, [&flag](bool ticked) { flag = ticked; });
    layout()->addWidget(box);
    boxes_.append({box, &flag});
}

void FlagFrame::Load()
{
    for (const auto& [box, flag] : boxes_)
        box->setChecked(*flag);
}

FlagFrame* BuildToledoFrame(QWidget* parent, ToledoOptions& flags)
{
    auto* frame = new FlagFrame("fraFrameControl", 1178, parent);
    frame->AddBox("CheckSISO", 0, "SI , SO", flags.SISOon);
    frame->AddBox("CheckSTX", 0, "STX", flags.STXon);
    frame->AddBox("CheckSum", 1179, nullptr, flags.ChecksumOn);
    return frame;
}

FlagFrame* BuildWedderburnFrame(QWidget* parent, WedderburnOptions& flags)
{
    auto* frame = new FlagFrame("fraLinkControl", 1184, parent);
    frame->AddBox("CheckHcode", 1185, nullptr, flags.Hcode);
    frame->AddBox("CheckStable", 1186, nullptr, flags.StableCode);
    return frame;
}

ParsingFrame::ParsingFrame(QWidget* parent)
    : QGroupBox(QStringLiteral("Parsing"), parent)
{
    setObjectName(QStringLiteral("fraParsing"));
    auto* form = new QFormLayout(this);
    headerBox =
        AddField(form, "Header Character:", "txtHeader", "eg: '$'.  Is always first character (1) in message.", true);
    startPositionBox = AddField(form, "Weight Start Position:", "txtWeightStartPosition",
                                "Position of first character of weight in received message, including "
                                "leading blanks. Range: 2,3,... .",
                                true);
    factorBox = AddField(form, "Factor:", "txtFactor",
                         "Weight from scale is multilied with this factor to derive real weight", true);
    AddField(form, "Units:", "txtUnits", "Fixed to Kg", false)->setText(QStringLiteral("Kg"));
    AddField(form, "End of Message:", "txtEndOfMessage", "Fixed to either CR or LF act as End-of-Message", false)
        ->setText(QStringLiteral("CR, LF"));
}

HeaderScaleOptions ParsingFrame::Fields() const
{
    return {Bytes(headerBox->text()), Bytes(startPositionBox->text()), Bytes(factorBox->text())};
}

void ParsingFrame::SetFields(const HeaderScaleOptions& fields)
{
    headerBox->setText(Latin1(fields.header));
    startPositionBox->setText(Latin1(fields.startPosition));
    factorBox->setText(Latin1(fields.factor));
}

QWidget* BuildD410Information(QWidget* parent)
{
    auto* info = new QWidget(parent);
    info->setObjectName(QStringLiteral("fraD410"));
    auto* form = new QFormLayout(info);
    form->setContentsMargins(0, 0, 0, 0);
    AddField(form, "Communication interface:", "txtInterface", "", false)->setText(QStringLiteral("RS232"));
    AddField(form, "Flow Control:", "txtFlowControl", "", false)->setText(QStringLiteral("None"));
    AddField(form, "Protocol:", "txtProtocol", "", false)->setText(QStringLiteral("ACK_NAK"));
    AddField(form, "String Type:", "txtStringType", "", false)->setText(QStringLiteral("Extented String"));
    return info;
}
