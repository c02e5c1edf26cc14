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
    Text1 = new QLineEdit("120", this);
    Text1->setObjectName("Text1");
    Text2 = new QLineEdit("60", this);
    Text2->setObjectName("Text2");
    auto* label1 = new QLabel("&Colour 130", this);
    label1->setBuddy(Text1);
    auto* label2 = new QLabel("C&olour 61", this);
    label2->setBuddy(Text2);
    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(new QLabel("less than 250", this), 0, 2);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(new QLabel("less than 120", this), 1, 2);

    Command2 = new QPushButton("OK", this);
    Command2->setObjectName("Command2");
    Command2->setDefault(true);
    Command1 = new QPushButton("Cancel", this);
    Command1->setObjectName("Command1");
    connect(Command2, &QPushButton::clicked, this, &CalibrationWindow::OnOk);
    connect(Command1, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    Text1->selectAll();
    Text1->setFocus();
}

void CalibrationWindow::OnOk()
{
    if (const auto commands = ColourCalibrationCommands(Bytes(Text1->text()), Bytes(Text2->text()))) {
        queueCommand_(commands->colour130);
        queueCommand_(commands->colour61);
    }
    accept();
}
