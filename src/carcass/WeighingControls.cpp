// Weighing on the windows: the main window's weight box over the core's main pairing, and the
// Weight and Sequence menus.

#include "carcass/WeighingControls.h"
#include "resources/StatusPanels.h"

#include "carcass/CurrentCarcassWindow.h"
#include "carcass/WeightBoxKeys.h"
#include "resources/AppTitle.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "settings/StartUpValues.h"
#include "station/OperatorQuestions.h"
#include "station/StationCore.h"
#include "weighing/ScaleModels.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QStringList>

namespace {

const std::string kSection = "Properties";

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

WeighingControls::WeighingControls(const WeighingControlsLinks& links, QObject* parent)
    : QObject(parent)
    , links_(links)
{
    StationCore& core = links_.core;
    StationPairings& pairings = core.pairings();
    new MainPairingDisplay(
        links_.boxes, pairings.mainDisplay(), pairings.currentDisplay(),
        [this](const QString& text) { links_.setStatusPanel(StatusPanel::ProbeStatus, text); }, this);

    // The entry's texts are for whoever types here, not for the line's display.
    QLineEdit* weightBox = links_.boxes.weightBox;
    new WeightBoxKeys(
        weightBox, [this](const std::string& error) { links_.boxes.errorBox->setText(Latin1(error)); },
        [this] { links_.core.pairings().AcceptTypedWeight(PairingWindow::Main); });
    connect(&core.link(), &ProbeLink::dataPollAccepted, this, [this, weightBox] {
        // Manual weighing: the operator types the weight as soon as the probe offers a result.
        if (links_.core.weighingState().weightSource == WeightSource::ManualInput) {
            weightBox->setEnabled(true);
            weightBox->setFocus();
        }
    });

    connect(&core, &StationCore::scalePortLost, this, &WeighingControls::ShowScalePort);
    connect(&core, &StationCore::scalePortBack, this, &WeighingControls::ShowScalePort);
    WireMenus();
}

WeighingControls::~WeighingControls() = default;

QAction* WeighingControls::Menu(const char* name) const
{
    return links_.menu(QString::fromLatin1(name));
}

void WeighingControls::WireMenus()
{
    auto on = [this](const char* name, auto&& command) {
        if (QAction* action = Menu(name))
            connect(action, &QAction::triggered, this, command);
    };
    for (const ScaleModel& model : ScaleModels()) {
        if (model.parse)
            on(model.menuEntry, [this, source = *model.source] { ChooseScaleModel(source); });
        else if (!model.entryChoosesSource)
            on(model.menuEntry, [this, &model] { ChooseDialogOnlyEntry(model); });
    }
    on("mnuWgtNon", [this] { ChooseNoWeight(); });
    on("mnuWgtMan", [this] { ChooseManualInput(); });
    on("mnuWgtEqu", [this] { ToggleWeightInEquation(); });
    on("mnuWbP", [this] { ChooseSequence(true); });
    on("mnuPbW", [this] { ChooseSequence(false); });
    on("mnuShowCC", [this] { ShowCurrentCarcassWindow(); });
}

void WeighingControls::TickWeightEntry(const char* entry)
{
    const QString ticked = QString::fromLatin1(entry);
    for (const ScaleModel& model : ScaleModels()) {
        QAction* action = Menu(model.menuEntry);
        if (!action)
            continue;
        // The entries of the sources are ticked one at a time; an entry that only opens its
        // dialog and stands for no source (Tenso) is ticked by itself and otherwise left alone.
        if (model.source)
            action->setChecked(ticked == QLatin1String(model.menuEntry));
        else if (ticked == QLatin1String(model.menuEntry))
            action->setChecked(true);
    }
}

void WeighingControls::ShowWeightFrames()
{
    // In the detail layout the weight box and the pending count show while a source is chosen.
    if (!links_.detailLayout())
        return;
    const QAction* none = Menu("mnuWgtNon");
    const bool weighing = !(none && none->isChecked());
    links_.weightFrame->setVisible(weighing);
    links_.pendingFrame->setVisible(weighing);
}

void WeighingControls::ChooseScaleModel(WeightSource model)
{
    // The model's port settings come first; cancelling them still chooses the model.
    const ScaleModel& entry = *ScaleModelOf(model);
    links_.openPortDialog(entry);
    TickWeightEntry(entry.menuEntry);
    links_.core.weighingState().weightSource = model;
    links_.carcassWindow().ShowWeighingFrames(model);
    links_.settings.WriteSetting(kSection, "WgtScaleModel", std::to_string(static_cast<int>(model)));
    ShowWeightFrames();
}

void WeighingControls::ChooseNoWeight()
{
    WeighingState& state = links_.core.weighingState();
    if (state.weightSource == WeightSource::NoWeight)
        return;
    const MainPairingDisplay::Boxes& boxes = links_.boxes;
    for (QLineEdit* box :
         {boxes.counterBox, boxes.qualityBox, boxes.classBox, boxes.meatPercentBox, boxes.pairedWeightBox})
        box->clear();
    state.useWeightInEquation = false;
    Menu("mnuWgtEqu")->setChecked(false);
    links_.settings.WriteSetting(kSection, "UseWgtInEqu", "False");
    TickWeightEntry("mnuWgtNon");
    state.weightSource = WeightSource::NoWeight;
    links_.weightFrame->hide();
    links_.settings.WriteSetting(kSection, "WgtScaleModel", "1");
    links_.core.scalePortWatch().Close();
    links_.setStatusPanel(StatusPanel::ScalePort, QString());
    links_.carcassWindow().ShowWeighingFrames(WeightSource::NoWeight);
    ShowWeightFrames();
}

void WeighingControls::ChooseManualInput()
{
    WeighingState& state = links_.core.weighingState();
    if (state.weightSource == WeightSource::ManualInput)
        return;
    TickWeightEntry("mnuWgtMan");
    state.weightSource = WeightSource::ManualInput;
    links_.settings.WriteSetting(kSection, "WgtScaleModel", "2");
    links_.core.scalePortWatch().Close();
    CurrentCarcassWindow& window = links_.carcassWindow();
    ShowCurrentCarcassWindowPlaced(window);
    window.raise();
    window.activateWindow();
    links_.setStatusPanel(StatusPanel::ScalePort, QString());
    window.ShowWeighingFrames(WeightSource::ManualInput);
    window.EnableWeightInput();
    ShowWeightFrames();
}

void WeighingControls::ChooseDialogOnlyEntry(const ScaleModel& model)
{
    // These models have a settings dialog but no parser: the weight source stays as it is.
    TickWeightEntry(model.menuEntry);
    links_.openPortDialog(model);
}

void WeighingControls::ToggleWeightInEquation()
{
    WeighingState& state = links_.core.weighingState();
    if (state.weightSource == WeightSource::NoWeight)
        return;
    state.useWeightInEquation = !state.useWeightInEquation;
    Menu("mnuWgtEqu")->setChecked(state.useWeightInEquation);
    links_.settings.WriteSetting(kSection, "UseWgtInEqu", state.useWeightInEquation ? "True" : "False");
}

void WeighingControls::ChooseSequence(bool weightBeforeProbe)
{
    WeighingState& state = links_.core.weighingState();
    PendingQueue& queue = links_.core.pendingQueue();
    if (state.weightBeforeProbe == weightBeforeProbe)
        return;
    // The halves waiting now belong to the other sequence and are dropped unlogged: a probe
    // result among them would be lost, so the operator says so first.
    if (queue.count > 0) {
        const QString question = QStringLiteral("%1: %2.\r\nChanging the sequence drops them; they are not logged.\r\n"
                                                "Change the sequence?")
                                     .arg(ResourceText(StringId::HalfProcessedCarcasses))
                                     .arg(queue.count);
        if (links_.questions.Message(question, kAppTitle, MessageIcon::Question, MessageButtons::YesNoSafe)
            != MessageAnswer::Yes)
            return;
    }
    const std::optional<SequenceChange> change = ChangeSequence(state, queue, weightBeforeProbe);
    if (!change)
        return;
    Menu("mnuWbP")->setChecked(weightBeforeProbe);
    Menu("mnuPbW")->setChecked(!weightBeforeProbe);
    links_.settings.WriteSetting(kSection, SequenceChange::kSettingKey, change->settingValue);
    links_.boxes.errorBox->setToolTip(Latin1(change->errorToolTip));
}

void WeighingControls::StartUpOff()
{
    WeighingState& state = links_.core.weighingState();
    // 16. Whatever "WgtScaleModel" holds, the station starts without weighing.
    for (const ScaleModel& model : ScaleModels())
        Menu(model.menuEntry)->setChecked(false);
    static const char* const kHidden[] = {"mnuWgtCom",        "mnuWgtNon", "mnuWgtMan", "mnuWgtWed",
                                          "mnuWeightGeneric", "mnuEV2000", "mnuTU9000"};
    for (const char* name : kHidden)
        Menu(name)->setVisible(false);
    state.weightSource = WeightSource::NoWeight;
    state.useWeightInEquation = false;
    Menu("mnuWgtNon")->setChecked(true);
    // Loaded now, shown only on request; with weighing off its pending and manual input frames
    // stay hidden.
    links_.carcassWindow().ShowWeighingFrames(state.weightSource);

    // 17. Whatever "WgtPrbOrder" holds, the weight comes before the probe.
    state.weightBeforeProbe = true;
    Menu("mnuWbP")->setChecked(true);
    Menu("mnuPbW")->setChecked(false);
    links_.core.pendingQueue().ResetPendingQueue();
}

void WeighingControls::StartUpFromStore()
{
    WeighingState& state = links_.core.weighingState();
    // 16.-17. with weighing reachable: the menus show and the stored set-up is taken.
    for (const char* name :
         {"mnuWP", "mnuWgtCom", "mnuWgtNon", "mnuWgtMan", "mnuWgtWed", "mnuWeightGeneric", "mnuEV2000", "mnuTU9000"})
        Menu(name)->setVisible(true);
    const StoredWeighing stored = ReadStoredWeighing(links_.settings);
    if (!stored.notUnderstood.empty()) {
        QStringList values;
        for (const std::string& value : stored.notUnderstood)
            values << Latin1(value);
        links_.questions.Notify(
            QStringLiteral("Stored weighing settings not understood: %1.\r\nThe station uses what it uses "
                           "without them: no weight, weight before probe, no equation.")
                .arg(values.join(QStringLiteral(", "))),
            kAppTitle, MessageIcon::Exclamation);
    }
    state.weightSource = stored.source;
    state.weightBeforeProbe = stored.weightBeforeProbe;
    state.useWeightInEquation = stored.useWeightInEquation;
    Menu("mnuTenso")->setChecked(false);
    TickWeightEntry(SourceMenuEntry(stored.source));
    Menu("mnuWgtEqu")->setChecked(stored.useWeightInEquation);
    Menu("mnuWbP")->setChecked(stored.weightBeforeProbe);
    Menu("mnuPbW")->setChecked(!stored.weightBeforeProbe);
    links_.core.pendingQueue().ResetPendingQueue();
    links_.carcassWindow().ShowWeighingFrames(state.weightSource);
    if (HasScaleParser(stored.source))
        SetUpScalePort(stored.source, false);
}
