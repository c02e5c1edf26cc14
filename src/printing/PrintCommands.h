#pragma once
// The main window's printing: real-time printing of each result and the printer status in panel
// 4 (mnuRTPrint, TimerPStatus), the print dialog (CmdPrint, mnuPrint), and printing the grid
// and the summary to a text file (CmdPTF) or to paper (CmdPTP).

#include "printing/StationPrinter.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

class MainWindow;
class PrintWindow;

class PrintCommands : public QObject, public PrinterStatusSink {
    Q_OBJECT
public:
    PrintCommands(MainWindow& form, std::unique_ptr<PrintSpooler> spooler);

    StationPrinter& printer() { return printer_; }

    // mnuRTPrint Click: toggles its check mark, and with it real-time printing and the poll.
    void ToggleRealTimePrinting();
    // A result's display line (never a cancel), printed when real-time printing is on.
    void PrintResultLine(const std::string& line);

    // CmdPrint Click: the print dialog, when there is a log file and the pane holds text.
    void OpenPrintDialog();
    PrintWindow* PrintDialog() const;
    // CmdPTF and CmdPTP.
    void PrintToFile();
    void PrintToPaper();

    // The file PrintToFile writes; set by the print dialog.
    std::string textFilePath;
    // What follows the grid when printed: the pane's text while the summary is shown, else empty.
    std::function<std::string()> summaryText;

    // PrinterStatusSink
    void ShowPrinterStatus(const std::string& text) override;
    void TellProbe(ProbePrinterNotice notice) override;
    void TellOperator(const std::string& text) override;

private:
    MainWindow& form_;
    StationPrinter printer_;
    QPointer<PrintWindow> frmPrint_;
};
