#pragma once
// The current carcass window: a large display of the carcass being classified, meant to be read
// from the line, and the place where every probe result enters the pairing.

#include "probe/StationState.h"

#include <QWidget>
#include <functional>

class QLabel;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimer;

class FrmLED : public QWidget {
    Q_OBJECT
public:
    // `finishCarcass` presses the main window's finishing button (show and log the record).
    FrmLED(StationState& state, std::function<void()> finishCarcass, QWidget* parent = nullptr);

    // The probe button's click: a probe result has been decoded into the current record.
    void OnProbeResult();
    // Hides the pending and manual input frames (weighing off).
    void HideWeighingFrames();

    QString Text(const char* labelName) const;

private:
    QLabel* ValueLabel(const char* name, const QString& tip = QString());
    void SetLabel(QLabel* label, const std::string& text);

    StationState& state_;
    std::function<void()> finishCarcass_;
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
    QPushButton* cmdProbe = nullptr;
    QPushButton* cmdWeightIn = nullptr;
    QTimer* Timer1S = nullptr;
    QTimer* Timer2Sec = nullptr;

public:
    bool ignoreNextCancel = false;
    bool weightConfirmPending = false;

    // Labels the dispatch writes to directly.
    void SetError(const std::string& text) { SetLabel(LEDerr, text); }
    void ClearValues();
    QPushButton* ProbeButton() const { return cmdProbe; }
};
