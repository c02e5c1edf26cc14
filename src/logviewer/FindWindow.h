#pragma once
// The find dialog (modeless): the text to find, match case, up or down. Its Find button runs
// the window's search; the state it edits lives with the window for the whole run.

#include "log/TextFind.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class FindWindow : public QDialog {
    Q_OBJECT
public:
    FindWindow(FindState& state, std::function<void()> find, QWidget* parent = nullptr);

    // Cancel and the Escape key.
    void reject() override;

private:
    FindState& state_;
    std::function<void()> find_;
    QLineEdit* findTextBox = nullptr;
    QCheckBox* matchCaseBox = nullptr;
    QRadioButton* directionButtons[2] = {nullptr, nullptr};
    QPushButton* findButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
