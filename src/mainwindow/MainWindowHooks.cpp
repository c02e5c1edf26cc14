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
    if (CarcassesHalfProcessed(state_, core_->pendingQueue())) {
        dialogs_.Message(ResourceText(1175), ResourceText(1234), MessageIcon::None, MessageButtons::Ok);
        return;
    }
    ChooseLogFile();
}

void MainWindow::LoadCurrentCarcassWindow()
{
    // Loaded now, shown only on request; with weighing off its pending and manual input frames
    // stay hidden.
    results_->carcassWindow().ShowWeighingFrames(state_.weightSource);
}

void MainWindow::FinishCarcass()
{
    core_->probeResults().FinishCarcass();
}
