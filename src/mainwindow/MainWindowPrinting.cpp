// The main window gives printing (src/printing) its views and the print button, and shows the
// printer's state in status panel 4.

#include "mainwindow/MainWindow.h"
#include "resources/StatusPanels.h"

#include "logviewer/LogViewer.h"
#include "printing/CupsSpooler.h"
#include "printviews/PrintCommands.h"

#include <QToolButton>

void MainWindow::WirePrintingMenus()
{
    printing_ =
        new PrintCommands(PrintCommands::Links{*core_, views_, dialogs_, settings_, *this,
                                               [this](const QString& name) { return MenuAction(name); }, printButton,
                                               [this] { return printHeaderLine_; },
                                               [this] { return logViewer_ ? logViewer_->summaryCharts() : nullptr; },
                                               [this] { return logViewer_ && logViewer_->summaryShown(); }, this},
                          std::make_unique<CupsSpooler>());
    // The status text's line end has never been visible; a panel shows one line, and its tooltip
    // the same in full where the bar is crowded.
    connect(printing_, &PrintCommands::printerStatusChanged, this, [this](const QString& text) {
        SetStatusPanel(StatusPanel::Printer, text);
        SetStatusPanelTip(StatusPanel::Printer, text);
    });
}
