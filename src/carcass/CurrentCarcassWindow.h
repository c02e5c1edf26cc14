#pragma once
// The current carcass window: a large display of the carcass being classified, meant to be read
// from the line, and the place where every probe result enters the pairing. It runs its own
// pairing (PairingWindow::CurrentCarcass) over its labels, its weight box and its two timers.
//
// CurrentCarcassWindow.cpp: behaviour (pairing, roles, timers, weight box). CurrentCarcassWindowDisplay.cpp: the
// controls and their looks.

#include "carcass/CarcassPairing.h"
#include "carcass/PairingInterfaces.h"
#include "carcass/PendingQueue.h"
#include "probe/CurrentProbeResult.h"
#include "probe/OperatorNotices.h"
#include "weighing/WeighingState.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class WeightBoxKeys;

// What the window works with besides its own controls: the weighing choices, the probe result
// being handled and the queue (all the core's), the link's command ring, where finished carcasses
// go, the scale, the operator and the main window.
struct CurrentCarcassWindowLinks {
    WeighingState& weighing;
    CurrentProbeResult& result;
    PendingQueue& queue;
    ProbeCommandSink& commands;
    CarcassFinisher& finisher;
    ScaleWeightReader& scale;
    OperatorNotices& notices;
    // Status bar panel 1 of the main window.
    std::function<void(const std::string&)> setStatusPanel1;
    // The pending count this window just showed, for the main window's own pending box: both
    // show the one queue.
    std::function<void(const std::string&)> pendingShown;
};

// The weight box's colour: the system colours the station always used for a box that takes no
// keys (active and inactive border) and for one that does (window background).
enum class WeightBoxLook { ActiveBorder, InactiveBorder, WindowBackground };

class CurrentCarcassWindow : public QWidget, public PairingDisplay, public PairingTimers {
    Q_OBJECT
public:
    explicit CurrentCarcassWindow(const CurrentCarcassWindowLinks& links, QWidget* parent = nullptr);
    ~CurrentCarcassWindow() override;

    CarcassPairing& pairing() { return pairing_; }

    // The pending and manual input frames and the weight box as a weight source wants them:
    // none for No Weight, both with an open box for Manual Input, pending only for a scale.
    void ShowWeighingFrames(WeightSource source);
    // Hides the pending and manual input frames (weighing off).
    void HideWeighingFrames() { ShowWeighingFrames(WeightSource::NoWeight); }
    void SetWeighingFrames(bool pending, bool manualInput);
    void SetWeightBox(bool enabled, WeightBoxLook look);
    WeightBoxLook weightBoxLook() const { return weightBoxLook_; }

    // The text of a value label or of the weight box, by its station name.
    QString Text(const char* controlName) const;

    // Labels the dispatch writes to directly.
    void SetError(const std::string& text) { Show(CarcassRole::Error, text); }
    // Empties the class, quality, counter and meat % labels.
    void ClearValues();
    bool weightConfirmPending() const;

    // PairingDisplay
    void Show(CarcassRole role, const std::string& text) override;
    std::string WeightInputText() const override;
    void SetStatusPanel1(const std::string& text) override;
    void EnableWeightInput() override;
    // PairingTimers
    void StartPromptTimer() override;
    void StartRefreshTimer() override;
    void StopRefreshTimer() override;

    // The inner size the window was designed at, every frame shown (CurrentCarcassWindowScaling.cpp).
    QSize designedSize() const { return designedSize_; }
    // The factor the figures are drawn at (1: as designed).
    double figureScale() const { return figureScale_; }
    // Called with the window's inner geometry when the operator closes it (not full-screen).
    std::function<void(const QRect&)> placeLeft;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // CurrentCarcassWindowScaling.cpp
    struct ScaledFigure {
        QWidget* widget;
        int points; // as designed
    };
    void RecordScaledFigures();
    void ApplyFigureScale(double factor);
    void FitFigures();
    void GrowToShowFrames();

    // CurrentCarcassWindowDisplay.cpp
    void BuildControls();
    QLabel* ValueLabel(QWidget* parent, const char* name, const QString& tip);
    void OnHelp();

    CurrentCarcassWindowLinks links_;
    CarcassPairing pairing_;
    WeightBoxLook weightBoxLook_ = WeightBoxLook::InactiveBorder;
    WeightBoxKeys* weightKeys_ = nullptr;
    std::vector<ScaledFigure> scaled_;
    double figureScale_ = 1.0;
    QSize designedSize_;

    QLabel* LEDcou = nullptr;
    QLabel* LEDcol = nullptr;
    QLabel* LEDcla = nullptr;
    QLabel* LEDmea = nullptr;
    QLabel* LblWgt = nullptr;
    QLabel* LEDerr = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* fraPending = nullptr;
    QGroupBox* fraManualInput = nullptr;
    QLineEdit* LEDWeight = nullptr;
    QPushButton* cmdWeightIn = nullptr;
    QPushButton* cmdHelp = nullptr;
    QTimer* Timer1S = nullptr;
    QTimer* Timer2Sec = nullptr;
};
