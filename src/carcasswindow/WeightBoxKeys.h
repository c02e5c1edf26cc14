#pragma once
// Keys typed into a weight box (txtWeight of the main window, LEDWeight of the current carcass
// window) go through ManualWeightEntry before the box takes them. The window says where the
// entry's error texts show and what accepting a weight does.

#include "weighing/ManualWeightEntry.h"

#include <QObject>
#include <functional>
#include <string>

class QLineEdit;

class WeightBoxKeys : public QObject {
    Q_OBJECT
public:
    // Watches `box` from now on; owned by the box.
    WeightBoxKeys(QLineEdit* box, std::function<void(const std::string& error)> showError,
                  std::function<void()> acceptWeight);

    bool weightConfirmPending() const { return entry_.weightConfirmPending(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    ManualWeightEntry entry_;
    std::function<void(const std::string&)> showError_;
    std::function<void()> acceptWeight_;
};
