// The main window's printing commands: real-time printing, the printer status poll, the print
// dialog and printing to a file or to paper (PrintCommands does the work).

#include "mainwindow/MainWindow.h"

#include "printing/CupsSpooler.h"
#include "printing/PrintCommands.h"

#include <QAbstractButton>
#include <QAction>

void MainWindow::WirePrintingMenus()
{
    printing_ = new PrintCommands(*this, std::make_unique<CupsSpooler>());
    if (QAction* realTime = MenuAction(QStringLiteral("mnuRTPrint")))
        connect(realTime, &QAction::triggered, printing_, &PrintCommands::ToggleRealTimePrinting);
    auto onClick = [this](const char* name, void (PrintCommands::*command)()) {
        if (auto* button = Control<QAbstractButton>(name))
            connect(button, &QAbstractButton::clicked, printing_, command);
    };
    onClick("CmdPrint", &PrintCommands::OpenPrintDialog);
    onClick("CmdPTF", &PrintCommands::PrintToFile);
    onClick("CmdPTP", &PrintCommands::PrintToPaper);
}
