// Choosing the log file: the OpenLogFile button and File › Log to File.

#include "mainwindow/MainWindow.h"

#include "mainwindow/StationResults.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "widgets/OperatorDialogs.h"

void MainWindow::ChooseLogFile()
{
    results_->ChooseLogFile();
}

void MainWindow::ChooseLogFileFromMenu()
{
    // Their second halves would be logged into the new file, apart from the rest of their shift.
    if (CarcassesHalfProcessed(core_->weighingState(), core_->pendingQueue())) {
        dialogs_.Message(ResourceText(StringId::HalfProcessedCarcasses), ResourceText(StringId::Summary),
                         MessageIcon::None, MessageButtons::Ok);
        return;
    }
    ChooseLogFile();
}
