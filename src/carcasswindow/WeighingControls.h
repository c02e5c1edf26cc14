#pragma once
// The weighing side of the windows over the station core: the Weight and Sequence menus, the
// scale port as the windows set it up (a box for a menu command, a notice at start-up) and its
// status panel, showing and placing the current carcass window, and the main window's weight
// boxes over the core's main pairing (scale weights as they arrive, the weight typed in its box).
//
// WeighingControls.cpp: wiring, the menus and start-up. WeighingScalePort.cpp: the scale port
// and the current carcass window. WeighingCarcassWindowPlace.cpp: where that window opens.

#include "carcasswindow/MainPairingDisplay.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

class CurrentCarcassWindow;
class OperatorQuestions;
class QAction;
class QGroupBox;
class QWidget;
class SettingsStore;
class StationCore;
struct ScaleModel;

// What the weighing controls work with; each belongs to the main window or the core.
struct WeighingControlsLinks {
    StationCore& core;
    SettingsStore& settings;
    OperatorQuestions& questions;
    // The main window's weight boxes and the detail frames that show while weighing.
    MainPairingDisplay::Boxes boxes;
    QGroupBox* weightFrame = nullptr;
    QGroupBox* pendingFrame = nullptr;
    // The main window: the current carcass window opens on its screen or beside it.
    QWidget* mainWindow = nullptr;
    // A menu entry by its station name; nullptr for an unknown name.
    std::function<QAction*(const QString&)> menu;
    std::function<void(int panel, const QString& text)> setStatusPanel;
    std::function<void(int panel, const QString& tip)> setStatusPanelTip;
    // The main window shows its detail frames.
    std::function<bool()> detailLayout;
    // The current carcass window: made, hidden, unless it exists.
    std::function<CurrentCarcassWindow&()> carcassWindow;
    // Shows a scale model's port settings dialog, modally.
    std::function<void(const ScaleModel& model)> openPortDialog;
};

class WeighingControls : public QObject {
    Q_OBJECT
public:
    explicit WeighingControls(const WeighingControlsLinks& links, QObject* parent = nullptr);
    ~WeighingControls() override;

    // Start-up: weighing off whatever the store holds; or, with weighing asked for, the stored
    // weight source, sequence and equation with the menus shown and a scale's port opened.
    void StartUpOff();
    void StartUpFromStore();

    // mnuShowCC: sets up the scale port for the weight source, then shows the window.
    void ShowCurrentCarcassWindow();
    // Shows the current carcass window: a hidden one where the operator left it, else on a
    // second screen, beside the main window or centred.
    void ShowCurrentCarcassWindowPlaced(CurrentCarcassWindow& window);
    // The place the operator last left the current carcass window at, if one is stored.
    std::optional<QRect> SavedCurrentCarcassPlace() const;

private:
    void WireMenus();
    void ChooseScaleModel(WeightSource model);
    void ChooseNoWeight();
    void ChooseManualInput();
    void ChooseDialogOnlyEntry(const ScaleModel& model);
    void ToggleWeightInEquation();
    void ChooseSequence(bool weightBeforeProbe);
    // Ticks `entry` and unticks the other weight entries (Tenso only for the Tenso entry).
    void TickWeightEntry(const char* entry);
    void ShowWeightFrames();
    QAction* Menu(const char* name) const;
    // WeighingScalePort.cpp. `ask`: a failure is told in a modal box (a menu command) rather
    // than a notice (start-up).
    void SetUpScalePort(WeightSource model, bool ask);
    void ShowScalePort();

    WeighingControlsLinks links_;
};
