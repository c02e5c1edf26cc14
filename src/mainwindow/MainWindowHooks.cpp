// Steps of the main window carried out by the results part of the station.

#include "mainwindow/MainWindow.h"

#include "carcass/CurrentCarcassWindow.h"
#include "mainwindow/OperatorDialogs.h"
#include "mainwindow/StationResults.h"
#include "resources/StringTable.h"

void MainWindow::ChooseLogFile()
{
    results_->ChooseLogFile();
}

void MainWindow::ChooseLogFileFromMenu()
{
    // Their second halves would be logged into the new file, apart from the rest of their shift.
    if (CarcassesHalfProcessed(core_->weighingState(), core_->pendingQueue())) {
        dialogs_.Message(ResourceText(1175), ResourceText(1234), MessageIcon::None, MessageButtons::Ok);
        return;
    }
    ChooseLogFile();
}
