#pragma once
// The main window's side of the pairing: the boxes of its detail frames and status panel 1,
// following the core's main pairing display model.
//
// What the main window's pairing shows is shown on the current carcass window too: it is the
// display the line reads, and scale weights are paired here. The weight being typed stays in
// each window's own box. The pending count the current carcass pairing shows comes into this
// window's pending box as well: both show the one queue.

#include "carcass/PairingDisplayModel.h"

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

class MainPairingDisplay : public QObject {
    Q_OBJECT
public:
    struct Boxes {
        QLineEdit* counterBox = nullptr;
        QLineEdit* qualityBox = nullptr;
        QLineEdit* classBox = nullptr;
        QLineEdit* meatPercentBox = nullptr;
        QLineEdit* pairedWeightBox = nullptr;
        QLineEdit* weightBox = nullptr;
        QLineEdit* errorBox = nullptr;
        QLineEdit* pendingResultsBox = nullptr;
    };

    // `display`: the main pairing's model; `carcassDisplay`: the current carcass pairing's.
    MainPairingDisplay(const Boxes& boxes, PairingDisplayModel& display, PairingDisplayModel& carcassDisplay,
                       std::function<void(const QString&)> setStatusPanel1, QObject* parent = nullptr);

private:
    void Show(CarcassRole role, const std::string& text);
    QLineEdit* BoxFor(CarcassRole role) const;

    Boxes boxes_;
    PairingDisplayModel& carcassDisplay_;
};
