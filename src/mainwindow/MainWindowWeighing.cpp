// Weighing on the main window: the scale half of the receive tick, the main window's pairing and
// weight box, and the Weight and Sequence menus.

#include "mainwindow/MainWindow.h"

#include "carcass/CarcassPairing.h"
#include "carcass/CurrentCarcassWindow.h"
#include "carcass/ParsedScaleReader.h"
#include "carcass/WeightBoxKeys.h"
#include "mainwindow/MainPairingDisplay.h"
#include "mainwindow/OperatorDialogs.h"
#include "mainwindow/StationResults.h"
#include "ports/PortDialogModel.h"
#include "probecommands/LinkCommandSink.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "settings/StartUpValues.h"
#include "weighing/ScaleCollector.h"
#include "weighing/ScaleModels.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

const std::string kSection = "Properties";

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void MainWindow::WireWeighing()
{
    MainPairingDisplay::Boxes boxes;
    boxes.txtCarcassCounter = Control<QLineEdit>("txtCarcassCounter");
    boxes.txtQuality = Control<QLineEdit>("txtQuality");
    boxes.txtClass = Control<QLineEdit>("txtClass");
    boxes.txtMeatPer = Control<QLineEdit>("txtMeatPer");
    boxes.txtWeightResult = txtWeightResult;
    boxes.txtWeight = txtWeight;
    boxes.txtError = txtError;
    boxes.txtPending = Control<QLineEdit>("txtPending");
    mainDisplay_ = std::make_unique<MainPairingDisplay>(
        boxes, [this](const QString& text) { SetStatusPanel(1, text); },
        [this]() -> CurrentCarcassWindow* { return results_->ExistingCurrentCarcassWindow(); });
    mainPairing_ = std::make_unique<CarcassPairing>(
        PairingWindow::Main, state_, core_->pendingQueue(),
        PairingLinks{*mainDisplay_, *linkCommands_, *results_, *scaleReader_, core_->notices(), mainDisplay_.get()});
    results_->pendingShown = [this](const std::string& text) { mainDisplay_->ShowPendingOnly(text); };

    // The scale half of every receive tick, before the probe half. A message taken goes to the
    // pairing at once; both run inside the tick, so they tell the operator only through notices.
    // Command1, hidden, stands for the same arrival.
    connect(Control<QPushButton>("Command1"), &QPushButton::clicked, this, [this] { mainPairing_->OnWeightArrived(); });
    connect(core_.get(), &StationCore::weightArrived, this, [this] { mainPairing_->OnWeightArrived(); });

    // The entry's texts are for whoever types here, not for the line's display.
    new WeightBoxKeys(
        txtWeight, [this](const std::string& error) { txtError->setText(Latin1(error)); },
        [this] { mainPairing_->AcceptTypedWeight(); });

    connect(core_.get(), &StationCore::scalePortLost, this, &MainWindow::ShowScalePort);
    connect(core_.get(), &StationCore::scalePortBack, this, &MainWindow::ShowScalePort);
}

void MainWindow::WireWeighingMenus()
{
    auto on = [this](const char* name, auto&& command) {
        if (QAction* action = MenuAction(QString::fromLatin1(name)))
            connect(action, &QAction::triggered, this, command);
    };
    for (const ScaleModel& model : ScaleModels()) {
        if (model.parse)
            on(model.menuEntry, [this, source = *model.source] { ChooseScaleModel(source); });
        else if (!model.entryChoosesSource)
            on(model.menuEntry,
               [this, &model] { ChooseDialogOnlyEntry(model.menuEntry, *PortDialogNamed(model.dialog)); });
    }
    on("mnuWgtNon", [this] { ChooseNoWeight(); });
    on("mnuWgtMan", [this] { ChooseManualInput(); });
    on("mnuWgtEqu", [this] { ToggleWeightInEquation(); });
    on("mnuWbP", [this] { ChooseSequence(true); });
    on("mnuPbW", [this] { ChooseSequence(false); });
    on("mnuShowCC", [this] { ShowCurrentCarcassWindow(); });
}

void MainWindow::TickWeightEntry(const char* entry)
{
    const QString ticked = QString::fromLatin1(entry);
    for (const ScaleModel& model : ScaleModels()) {
        QAction* action = MenuAction(QString::fromLatin1(model.menuEntry));
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

void MainWindow::ShowWeightFrames()
{
    // In the detail layout the weight box and the pending count show while a source is chosen.
    if (!isShow_)
        return;
    const bool weighing = !NoWeightTicked();
    frWeight->setVisible(weighing);
    Frame3->setVisible(weighing);
}

void MainWindow::ChooseScaleModel(WeightSource model)
{
    // The model's port settings come first; cancelling them still chooses the model.
    if (showWeightPortDialog)
        showWeightPortDialog(*PortDialogForSource(model));
    TickWeightEntry(ScaleModelOf(model)->menuEntry);
    state_.weightSource = model;
    results_->carcassWindow().ShowWeighingFrames(model);
    settings_.WriteSetting(kSection, "WgtScaleModel", std::to_string(static_cast<int>(model)));
    ShowWeightFrames();
}

void MainWindow::ChooseNoWeight()
{
    if (state_.weightSource == WeightSource::NoWeight)
        return;
    for (const char* name : {"txtCarcassCounter", "txtQuality", "txtClass", "txtMeatPer", "txtWeightResult"})
        Control<QLineEdit>(name)->clear();
    state_.useWeightInEquation = false;
    MenuAction(QStringLiteral("mnuWgtEqu"))->setChecked(false);
    settings_.WriteSetting(kSection, "UseWgtInEqu", "False");
    TickWeightEntry("mnuWgtNon");
    state_.weightSource = WeightSource::NoWeight;
    frWeight->hide();
    settings_.WriteSetting(kSection, "WgtScaleModel", "1");
    core_->scalePortWatch().Close();
    SetStatusPanel(3, QString());
    results_->carcassWindow().ShowWeighingFrames(WeightSource::NoWeight);
    ShowWeightFrames();
}

void MainWindow::ChooseManualInput()
{
    if (state_.weightSource == WeightSource::ManualInput)
        return;
    TickWeightEntry("mnuWgtMan");
    state_.weightSource = WeightSource::ManualInput;
    settings_.WriteSetting(kSection, "WgtScaleModel", "2");
    core_->scalePortWatch().Close();
    CurrentCarcassWindow& window = results_->carcassWindow();
    ShowCurrentCarcassWindowPlaced(window);
    window.raise();
    window.activateWindow();
    SetStatusPanel(3, QString());
    window.ShowWeighingFrames(WeightSource::ManualInput);
    window.EnableWeightInput();
    ShowWeightFrames();
}

void MainWindow::ChooseDialogOnlyEntry(const char* entry, PortDialogKind dialog)
{
    // These models have a settings dialog but no parser: the weight source stays as it is.
    TickWeightEntry(entry);
    if (showWeightPortDialog)
        showWeightPortDialog(dialog);
}

void MainWindow::ToggleWeightInEquation()
{
    if (state_.weightSource == WeightSource::NoWeight)
        return;
    state_.useWeightInEquation = !state_.useWeightInEquation;
    MenuAction(QStringLiteral("mnuWgtEqu"))->setChecked(state_.useWeightInEquation);
    settings_.WriteSetting(kSection, "UseWgtInEqu", state_.useWeightInEquation ? "True" : "False");
}

void MainWindow::ChooseSequence(bool weightBeforeProbe)
{
    if (state_.weightBeforeProbe == weightBeforeProbe)
        return;
    // The halves waiting now belong to the other sequence and are dropped unlogged: a probe
    // result among them would be lost, so the operator says so first.
    if (core_->pendingQueue().count > 0) {
        const QString question = QStringLiteral("%1: %2.\r\nChanging the sequence drops them; they are not logged.\r\n"
                                                "Change the sequence?")
                                     .arg(ResourceText(1175))
                                     .arg(core_->pendingQueue().count);
        if (dialogs_.Message(question, QStringLiteral("Tallion"), MessageIcon::Question, MessageButtons::YesNo)
            != MessageAnswer::Yes)
            return;
    }
    const std::optional<SequenceChange> change = ChangeSequence(state_, core_->pendingQueue(), weightBeforeProbe);
    if (!change)
        return;
    MenuAction(QStringLiteral("mnuWbP"))->setChecked(weightBeforeProbe);
    MenuAction(QStringLiteral("mnuPbW"))->setChecked(!weightBeforeProbe);
    settings_.WriteSetting(kSection, SequenceChange::kSettingKey, change->settingValue);
    txtError->setToolTip(Latin1(change->errorToolTip));
}

void MainWindow::StartUpWeighingFromStore()
{
    // 16.-17. with weighing reachable: the menus show and the stored set-up is taken.
    for (const char* name :
         {"mnuWP", "mnuWgtCom", "mnuWgtNon", "mnuWgtMan", "mnuWgtWed", "mnuWeightGeneric", "mnuEV2000", "mnuTU9000"})
        MenuAction(QString::fromLatin1(name))->setVisible(true);
    const StoredWeighing stored = ReadStoredWeighing(settings_);
    if (!stored.notUnderstood.empty()) {
        QStringList values;
        for (const std::string& value : stored.notUnderstood)
            values << Latin1(value);
        dialogs_.Notify(QStringLiteral("Stored weighing settings not understood: %1.\r\nThe station uses what it uses "
                                       "without them: no weight, weight before probe, no equation.")
                            .arg(values.join(QStringLiteral(", "))),
                        QStringLiteral("Tallion"), MessageIcon::Exclamation);
    }
    state_.weightSource = stored.source;
    state_.weightBeforeProbe = stored.weightBeforeProbe;
    state_.useWeightInEquation = stored.useWeightInEquation;
    MenuAction(QStringLiteral("mnuTenso"))->setChecked(false);
    TickWeightEntry(SourceMenuEntry(stored.source));
    MenuAction(QStringLiteral("mnuWgtEqu"))->setChecked(stored.useWeightInEquation);
    MenuAction(QStringLiteral("mnuWbP"))->setChecked(stored.weightBeforeProbe);
    MenuAction(QStringLiteral("mnuPbW"))->setChecked(!stored.weightBeforeProbe);
    core_->pendingQueue().ResetPendingQueue();
    LoadCurrentCarcassWindow();
    if (HasScaleParser(stored.source))
        SetUpScalePort(stored.source, false);
}
