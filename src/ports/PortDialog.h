#pragma once
// The port settings dialogs, one family: the probe port's and one per weight-scale model. Each
// has the same port section (port, speed, data bits, parity, stop bits, and for three of them
// flow control); the scale dialogs add their model's options. OK applies the port settings to the
// live port at once, stores them and closes; a failure is shown and the dialog stays open.

#include "settings/PortDialogModel.h"

#include <QDialog>
#include <functional>
#include <string>

class FlagFrame;
class OperatorQuestions;
class ParsingFrame;
class PortWatch;
class QButtonGroup;
class QComboBox;
class QPushButton;
class SerialPort;
class SettingsStore;

// What a port dialog works on; PortDialogMenus hands these in.
struct PortDialogDeps {
    SerialPort& port; // the probe port for the probe dialog, the scale port for the others
    PortWatch& watch; // keeps that port open through a device's loss and return
    SettingsStore& settings;
    OperatorQuestions& questions; // tells a failure of OK, and that a new scale port needs a restart
    ScaleOptions& scaleOptions;   // the core's scale flags and parsing options
    // The device a port number stands for, shown beside it; empty: numbers only.
    std::function<QString(int port)> deviceForPort;
    std::function<void(int panel, const QString& text)> setStatusPanel;
    // OK moved the port to another number and opened it there.
    std::function<void()> portReopened;
};

class PortDialog : public QDialog {
    Q_OBJECT
public:
    PortDialog(PortDialogKind kind, PortDialogDeps deps, QWidget* parent = nullptr);

    PortDialogKind kind() const { return kind_; }

    // Fills the lists and selects what the port is set to now; then the model's options.
    void LoadPropertySettings();
    // cmdOK: applies, stores and closes; on a failure shows it and stays open.
    void OnOK();

    // The settings text the lists show (the probe's Default buttons change it).
    std::string portSettingsText;
    // The flow option last chosen.
    int flowChoice = 0;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildPortSection();
    QWidget* BuildExtras();
    QWidget* BuildButtons();
    void FillLists();
    // The lists from portSettingsText, the port and flow from the port as it is now.
    void ShowSelection();
    void ApplyDefault(const DefaultPreset& preset);
    void LoadParsingFields();

    PortDialogKind kind_;
    PortDialogDeps deps_;
    QComboBox* portList = nullptr;
    QComboBox* speedList = nullptr;
    QComboBox* dataBitsList = nullptr;
    QComboBox* parityList = nullptr;
    QComboBox* stopBitsList = nullptr;
    QButtonGroup* flowButtons = nullptr;
    QPushButton* okButton = nullptr;
    FlagFrame* flags_ = nullptr;
    ParsingFrame* parsing_ = nullptr;
};

// Opens the dialog of `kind` modally; true when OK applied it, false when it was closed.
bool ShowPortDialog(PortDialogKind kind, const PortDialogDeps& deps, QWidget* parent);
