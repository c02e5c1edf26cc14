#pragma once
// Colour calibration of the probe: the operator enters the two reference numbers and OK queues
// "C" and "c" with them. Numbers out of range are dropped; the dialog closes either way.

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

class CalibrationWindow : public QDialog {
    Q_OBJECT
public:
    using QueueCommand = std::function<void(const std::string&)>;
    explicit CalibrationWindow(QueueCommand queueCommand, QWidget* parent = nullptr);

private:
    void OnOk();

    QueueCommand queueCommand_;
    QLineEdit* colour130Box = nullptr;   // Colour 130
    QLineEdit* colour61Box = nullptr;    // Colour 61
    QPushButton* okButton = nullptr;     // OK
    QPushButton* cancelButton = nullptr; // Cancel
};
