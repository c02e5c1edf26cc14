#pragma once
// The current carcass window: a large display of the carcass being classified, meant to be read
// from the line. It shows what the core's current carcass pairing shows (its display model),
// and its Weight button and weight box reach that pairing.
//
// CurrentCarcassWindow.cpp: behaviour (roles, weight box). CurrentCarcassWindowDisplay.cpp: the
// controls and their looks.

#include "carcass/CarcassPairing.h"
#include "carcass/PairingDisplayModel.h"
#include "probe/OperatorNotices.h"
#include "weighing/WeighingState.h"

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StationPairings;
class WeightBoxKeys;

// What the window works with besides its own controls: the pairing it shows and feeds, and the
// operator.
struct CurrentCarcassWindowLinks {
    PairingDisplayModel& display;
    StationPairings& pairings; // its Weight button and weight box feed the current carcass pairing
    OperatorNotices& notices;
};

// The weight box's colour: the system colours the station always used for a box that takes no
// keys (active and inactive border) and for one that does (window background).
enum class WeightBoxLook { ActiveBorder, InactiveBorder, WindowBackground };

class CurrentCarcassWindow : public QWidget {
    Q_OBJECT
public:
    explicit CurrentCarcassWindow(const CurrentCarcassWindowLinks& links, QWidget* parent = nullptr);
    ~CurrentCarcassWindow() override;

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

    bool weightConfirmPending() const;

    // A role into its label or the weight box (as the display model tells it).
    void Show(CarcassRole role, const std::string& text);
    // Manual input: the weight box takes keys again and gets the focus.
    void EnableWeightInput();

    // The inner size the window was designed at, every frame shown (CurrentCarcassWindowScaling.cpp).
    QSize designedSize() const { return designedSize_; }
    // The factor the figures are drawn at (1: as designed).
    double figureScale() const { return figureScale_; }
    // Called with the window's inner geometry when the operator closes it (not full-screen).
    std::function<void(const QRect&)> placeLeft;

    // Back to a window of its designed size on the same screen (Escape, its menu).
    void LeaveFullScreen();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
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
    WeightBoxLook weightBoxLook_ = WeightBoxLook::InactiveBorder;
    WeightBoxKeys* weightKeys_ = nullptr;
    std::vector<ScaledFigure> scaled_;
    double figureScale_ = 1.0;
    QSize designedSize_;

    QLabel* counterLabel = nullptr;
    QLabel* colourLabel = nullptr;
    QLabel* classLabel = nullptr;
    QLabel* meatPercentLabel = nullptr;
    QLabel* weightLabel = nullptr;
    QLabel* errorLabel = nullptr;
    QLabel* pendingLabel = nullptr;
    QGroupBox* pendingFrame = nullptr;
    QGroupBox* manualInputFrame = nullptr;
    QLineEdit* carcassWeightBox = nullptr;
    QPushButton* weightInButton = nullptr;
    QPushButton* helpButton = nullptr;
};
