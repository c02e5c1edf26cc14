#pragma once
// The main window's side of the pairing: the boxes of its detail frames and status panel 1.
//
// What the main window's pairing shows is shown on the current carcass window too, while that
// window exists: it is the display the line reads, and scale weights are paired here. The weight
// being typed stays in each window's own box. The current carcass window's refresh timer is the
// one both pairings start, so it also brings up the next waiting carcass after a scale weight.

#include "carcass/PairingInterfaces.h"

#include <QString>
#include <functional>

class CurrentCarcassWindow;
class QLineEdit;

class MainPairingDisplay : public PairingDisplay, public PairingTimers {
public:
    struct Boxes {
        QLineEdit* txtCarcassCounter = nullptr;
        QLineEdit* txtQuality = nullptr;
        QLineEdit* txtClass = nullptr;
        QLineEdit* txtMeatPer = nullptr;
        QLineEdit* txtWeightResult = nullptr;
        QLineEdit* txtWeight = nullptr;
        QLineEdit* txtError = nullptr;
        QLineEdit* txtPending = nullptr;
    };

    // `currentCarcassWindow`: the current carcass window, or nullptr while there is none.
    MainPairingDisplay(const Boxes& boxes, std::function<void(const QString&)> setStatusPanel1,
                       std::function<CurrentCarcassWindow*()> currentCarcassWindow);

    // PairingDisplay
    void Show(CarcassRole role, const std::string& text) override;
    std::string WeightInputText() const override;
    void SetStatusPanel1(const std::string& text) override;
    void EnableWeightInput() override;
    // PairingTimers, carried out by the current carcass window.
    void StartPromptTimer() override;
    void StartRefreshTimer() override;
    void StopRefreshTimer() override;

    // Only this window's box: the pending count the other window showed.
    void ShowPendingOnly(const std::string& text);

private:
    QLineEdit* BoxFor(CarcassRole role) const;

    Boxes boxes_;
    std::function<void(const QString&)> setStatusPanel1_;
    std::function<CurrentCarcassWindow*()> currentCarcassWindow_;
};
