#include "ports/PortDialog.h"

#include "ports/PortDialogExtras.h"
#include "probe/SerialPort.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "station/OperatorQuestions.h"
#include "weighing/ScaleModels.h"
#include "widgets/AccessKeys.h"
#include "widgets/ApplyStringTable.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
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

// A widget laid out with a string-table id as its caption.
template <class W>
W* Tagged(W* w, const char* name, int captionId)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("tag", QString::number(captionId));
    return w;
}

QComboBox* DropDown(const char* name, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

void Fill(QComboBox* list, const std::vector<std::string>& entries)
{
    for (const std::string& entry : entries)
        list->addItem(Latin1(entry));
}

} // namespace

PortDialog::PortDialog(PortDialogKind kind, PortDialogDeps deps, QWidget* parent)
    : QDialog(parent)
    , kind_(kind)
    , deps_(std::move(deps))
{
    const PortDialogTraits& traits = TraitsOf(kind_);
    setObjectName(QString::fromLatin1(traits.objectName));
    setProperty("tag", QString::number(traits.captionId));
    setModal(true);

    auto* body = new QHBoxLayout;
    body->addWidget(BuildPortSection(), 0, Qt::AlignTop);
    if (QWidget* extras = BuildExtras())
        body->addWidget(extras, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(body);
    layout->addWidget(BuildButtons());

    ApplyStringTable(this);
    const std::string caption = PortDialogCaption(kind_);
    setWindowTitle(QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())));
    AssignAccessKeys(this);
    LoadPropertySettings();
}

QWidget* PortDialog::BuildPortSection()
{
    auto* section = new QWidget(this);
    auto* grid = new QGridLayout(section);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* portFrame = Tagged(new QGroupBox(section), "fraPort", 1150);
    portList = DropDown("cboPort", portFrame);
    // Device paths can be long (/dev/serial/by-id/...): the open list is as wide as they are.
    portList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    (new QVBoxLayout(portFrame))->addWidget(portList);
    grid->addWidget(portFrame, 0, 0);

    auto* speedFrame = Tagged(new QGroupBox(section), "fraSpeed", 1143);
    speedList = DropDown("cboSpeed", speedFrame);
    (new QVBoxLayout(speedFrame))->addWidget(speedList);
    grid->addWidget(speedFrame, 0, 1);

    auto* settingsFrame = Tagged(new QGroupBox(section), "fraSettings", 1020);
    auto* settingsGrid = new QGridLayout(settingsFrame);
    dataBitsList = DropDown("cboDatabits", settingsFrame);
    parityList = DropDown("cboParity", settingsFrame);
    stopBitsList = DropDown("cboStopBits", settingsFrame);
    const std::pair<QComboBox*, int> columns[] = {{dataBitsList, 1144}, {parityList, 1145}, {stopBitsList, 1146}};
    int column = 0;
    for (const auto& [list, captionId] : columns) {
        auto* label = new QLabel(settingsFrame);
        label->setProperty("tag", QString::number(captionId));
        label->setBuddy(list);
        settingsGrid->addWidget(label, 0, column);
        settingsGrid->addWidget(list, 1, column++);
    }
    grid->addWidget(settingsFrame, 1, 0, 1, 2);

    if (TraitsOf(kind_).flowControl) {
        auto* flowFrame = Tagged(new QGroupBox(section), "fraFlow", 1147);
        auto* flowGrid = new QGridLayout(flowFrame);
        flowButtons = new QButtonGroup(flowFrame);
        const std::vector<std::string>& options = FlowEntries();
        for (int i = 0; i < static_cast<int>(options.size()); ++i) {
            auto* option = new QRadioButton(Latin1(options[i]), flowFrame);
            option->setObjectName(QStringLiteral("optFlow%1").arg(i));
            flowButtons->addButton(option, i);
            flowGrid->addWidget(option, i / 2, i % 2);
        }
        connect(flowButtons, &QButtonGroup::idClicked, this, [this](int index) { flowChoice = index; });
        grid->addWidget(flowFrame, 2, 0, 1, 2);
    }
    return section;
}

QWidget* PortDialog::BuildExtras()
{
    switch (TraitsOf(kind_).extras) {
    case PortDialogExtras::ToledoFrame: return flags_ = BuildToledoFrame(this, deps_.scaleOptions.toledo);
    case PortDialogExtras::WedderburnLink: return flags_ = BuildWedderburnFrame(this, deps_.scaleOptions.wedderburn);
    case PortDialogExtras::Parsing: return parsing_ = new ParsingFrame(this);
    case PortDialogExtras::ParsingWithD410Info: {
        auto* column = new QWidget(this);
        auto* layout = new QVBoxLayout(column);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(parsing_ = new ParsingFrame(column));
        layout->addWidget(BuildD410Information(column));
        return column;
    }
    case PortDialogExtras::None: break;
    }
    return nullptr;
}

QWidget* PortDialog::BuildButtons()
{
    const PortDialogTraits& traits = TraitsOf(kind_);
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const DefaultPreset& preset : traits.defaults) {
        auto* button = new QPushButton(preset.captionId ? QString() : QString::fromLatin1(preset.caption), row);
        button->setObjectName(QString::fromLatin1(preset.objectName));
        if (preset.captionId)
            button->setProperty("tag", QString::number(preset.captionId));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, preset] { ApplyDefault(preset); });
        layout->addWidget(button);
    }
    layout->addStretch();
    // The probe dialog's OK keeps its designed caption; the others take theirs from the table.
    okButton = new QPushButton(QStringLiteral("OK"), row);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    if (traits.weightPort)
        okButton->setProperty("tag", QStringLiteral("1180"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &PortDialog::OnOK);
    layout->addWidget(okButton);
    if (traits.cancelButton) {
        auto* cancel = Tagged(new QPushButton(row), "CmdCancel", 1131);
        cancel->setAutoDefault(false);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        layout->addWidget(cancel);
    }
    return row;
}

void PortDialog::FillLists()
{
    // Emptied first, so that loading again never lists an entry twice.
    for (QComboBox* list : {portList, speedList, dataBitsList, parityList, stopBitsList})
        list->clear();
    for (int port = 1; port <= kPortListCount; ++port) {
        const QString device = deps_.deviceForPort ? deps_.deviceForPort(port) : QString();
        portList->addItem(device.isEmpty() ? QString::number(port) : QStringLiteral("%1   %2").arg(port).arg(device),
                          port);
    }
    Fill(speedList, SpeedEntries());
    Fill(dataBitsList, DataBitsEntries());
    Fill(parityList, ParityEntries());
    Fill(stopBitsList, StopBitsEntries());
}

void PortDialog::LoadPropertySettings()
{
    FillLists();
    portSettingsText = deps_.port.Settings();
    ShowSelection();
    if (flags_)
        flags_->Load();
    if (parsing_)
        LoadParsingFields();
}

void PortDialog::ShowSelection()
{
    const PortListSelection selection = SelectionFromSettingsText(portSettingsText);
    speedList->setCurrentIndex(selection.speed);
    parityList->setCurrentIndex(selection.parity);
    dataBitsList->setCurrentIndex(selection.dataBits);
    stopBitsList->setCurrentIndex(selection.stopBits);
    const int port = deps_.port.CommPort();
    portList->setCurrentIndex(port >= 1 && port <= kPortListCount ? port - 1 : -1);
    if (flowButtons) {
        if (QAbstractButton* option = flowButtons->button(deps_.port.Handshaking())) {
            option->setChecked(true);
            flowChoice = deps_.port.Handshaking();
        }
    }
}

void PortDialog::LoadParsingFields()
{
    const PortDialogTraits& traits = TraitsOf(kind_);
    if (traits.parsingSource == ParsingSource::RunningOptions) {
        if (const HeaderScaleOptions* running = RunningHeaderOptions(kind_, deps_.scaleOptions))
            parsing_->SetFields(*running);
        return;
    }
    const std::string section = "Properties";
    const ScaleModel& model = *ScaleModelOfDialog(traits.objectName);
    const HeaderScaleOptions& defaults = model.headerDefaults;
    // The fields hold one byte per character, as the scale's messages do.
    auto read = [&](const std::string& key, const std::string& fallback) {
        return SettingsStore::BytesFromText(deps_.settings.ReadSetting(section, key, fallback));
    };
    parsing_->SetFields({read(kHeaderCharacterKey, defaults.header),
                         read(model.startPositionKey, defaults.startPosition), read(kFactorKey, defaults.factor)});
}

void PortDialog::ApplyDefault(const DefaultPreset& preset)
{
    if (preset.settingsText) {
        portSettingsText = preset.settingsText;
        ShowSelection();
        return;
    }
    speedList->setCurrentIndex(preset.speed);
    dataBitsList->setCurrentIndex(preset.dataBits);
    parityList->setCurrentIndex(preset.parity);
    stopBitsList->setCurrentIndex(preset.stopBits);
    if (parsing_)
        parsing_->SetFields(preset.fields);
}

void PortDialog::OnOK()
{
    const PortDialogTraits& traits = TraitsOf(kind_);
    PortChoice choice;
    choice.port = portList->currentIndex() + 1;
    choice.settingsText = SettingsTextFromLists(Bytes(speedList->currentText()), Bytes(parityList->currentText()),
                                                Bytes(dataBitsList->currentText()), Bytes(stopBitsList->currentText()));
    if (traits.flowControl)
        choice.handshaking = flowChoice;

    // The probe port is always opened again on its new number; a scale port only if it was open.
    const ApplyOutcome outcome = ApplyPortChoice(deps_.port, deps_.watch, !traits.weightPort, choice);
    if (outcome.reopened && deps_.portReopened)
        deps_.portReopened();
    if (!outcome.applied) {
        deps_.questions.Message(Latin1(outcome.error), ResourceText(StringId::ProgramName), MessageIcon::Exclamation,
                                MessageButtons::Ok);
        return;
    }

    const HeaderScaleOptions fields = parsing_ ? parsing_->Fields() : HeaderScaleOptions{};
    for (const StoredKey& stored : PortDialogKeys(kind_, deps_.port, fields, deps_.scaleOptions))
        deps_.settings.WriteSetting(stored.section, stored.key, stored.text);
    // What the operator typed is what the scale's messages are read with from now on.
    if (HeaderScaleOptions* running = RunningHeaderOptions(kind_, deps_.scaleOptions); running && parsing_)
        *running = fields;

    if (deps_.setStatusPanel)
        deps_.setStatusPanel(traits.weightPort ? 3 : 2, Latin1(SettingsStore::PortNumberText(deps_.port.CommPort())));
    if (traits.weightPort)
        deps_.questions.Message(ResourceText(StringId::RestartToComplete), ResourceText(StringId::ProgramName),
                                MessageIcon::Information, MessageButtons::Ok);
    accept();
}

void PortDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!TraitsOf(kind_).centred)
        return;
    if (const QScreen* shown = screen()) {
        const QRect area = shown->geometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
}

bool ShowPortDialog(PortDialogKind kind, const PortDialogDeps& deps, QWidget* parent)
{
    PortDialog dialog(kind, deps, parent);
    return dialog.exec() == QDialog::Accepted;
}
