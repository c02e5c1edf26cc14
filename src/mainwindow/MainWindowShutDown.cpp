// Shut-down: the exit question, saving the window geometry, closing the station's other windows
// and the serial ports.

#include "mainwindow/MainWindow.h"

#include "layout/LayoutGeometry.h"
#include "mainwindow/StationResults.h"
#include "printviews/PrintCommands.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "widgets/OperatorDialogs.h"

#include <QCloseEvent>
#include <cmath>

void MainWindow::AskToExit(bool saveGeometryFirst)
{
    const MessageAnswer answer =
        dialogs_.Message(ResourceText(StringId::QuitQuestion), ResourceText(StringId::ProgramName),
                         MessageIcon::Question, MessageButtons::YesNoSafe);
    if (answer != MessageAnswer::Yes)
        return;
    if (saveGeometryFirst)
        SaveWindowGeometry();
    close();
}

void MainWindow::SaveWindowGeometry()
{
    // The outer rectangle, as the station has always stored it, in whole twips.
    const QRect outer = frameGeometry();
    auto text = [](double twips) { return std::to_string(std::lround(twips)); };
    const std::string left = text(TwX(outer.x()));
    const std::string top = text(TwY(outer.y()));
    const std::string width = text(TwX(outer.width()));
    const std::string height = text(TwY(outer.height()));

    const std::string section = "Properties";
    if (TwY(outer.height()) > kMainGeometryMinHeight) {
        settings_.WriteSetting(section, "MainLeft", left);
        settings_.WriteSetting(section, "MainTop", top);
        settings_.WriteSetting(section, "MainWidth", width);
        settings_.WriteSetting(section, "MainHeight", height);
    }
    settings_.WriteSetting(section, "CCLeft", left);
    settings_.WriteSetting(section, "CCTop", top);
    settings_.WriteSetting(section, "CCWidth", width);
    settings_.WriteSetting(section, "CCHeight", height);
}

void MainWindow::RegisterStationWindow(QWidget* window)
{
    if (window && window != this && !stationWindows_.contains(window))
        stationWindows_.append(window);
}

void MainWindow::CloseStationWindows()
{
    // Last opened first; a window that is already gone is skipped.
    while (!stationWindows_.isEmpty()) {
        QPointer<QWidget> window = stationWindows_.takeLast();
        if (window)
            window->close();
    }
}

void MainWindow::ShutDownBySignal()
{
    quietShutDown_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowGeometry();
    CloseStationWindows();
    // What the station still holds stays in the journal of received messages for the next start;
    // records the log could not take also go to a recovery file, for a log that never comes back.
    const bool kept = core_->CloseReceivedJournal();
    results_->SaveUnwrittenRecords(quietShutDown_, kept);
    core_->stop();
    clock_.stop();
    printing_->StopStatusPoll();
    event->accept();
}
