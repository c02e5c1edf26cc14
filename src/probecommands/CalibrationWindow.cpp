#include "probecommands/CalibrationWindow.h"

#include "probe/ProbeCommands.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::string Bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace

CalibrationWindow::CalibrationWindow(QueueCommand queueCommand, QWidget* parent)
    : QDialog(parent)
    , queueCommand_(std::move(queueCommand))
{
    setObjectName("frmCalibration");
    setWindowTitle("Colour Calibration");
    // Read at the probe's side of the line, not only at the desk.
    QFont large = font();
    large.setPointSize(14);
    setFont(large);

    auto* prompt = new QLabel("Enter your Colour calibration number :", this);
    colour130Box = new QLineEdit("120", this);
    colour130Box->setObjectName("Text1");
    colour61Box = new QLineEdit("60", this);
    colour61Box->setObjectName("Text2");
    auto* label1 = new QLabel("&Colour 130", this);
    label1->setBuddy(colour130Box);
    auto* label2 = new QLabel("C&olour 61", this);
    label2->setBuddy(colour61Box);
    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(colour130Box, 0, 1);
    grid->addWidget(new QLabel("less than 250", this), 0, 2);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(colour61Box, 1, 1);
    grid->addWidget(new QLabel("less than 120", this), 1, 2);

    okButton = new QPushButton("OK", this);
    okButton->setObjectName("Command2");
    okButton->setDefault(true);
    cancelButton = new QPushButton("Cancel", this);
    cancelButton->setObjectName("Command1");
    connect(okButton, &QPushButton::clicked, this, &CalibrationWindow::OnOk);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    colour130Box->selectAll();
    colour130Box->setFocus();
}

void CalibrationWindow::OnOk()
{
    if (const auto commands = ColourCalibrationCommands(Bytes(colour130Box->text()), Bytes(colour61Box->text()))) {
        queueCommand_(commands->colour130);
        queueCommand_(commands->colour61);
    }
    accept();
}
