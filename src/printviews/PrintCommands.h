#pragma once
// The station's printing commands: real-time printing of each result and the printer status
// poll (mnuRTPrint and its 100 ms timer), the print dialog (CmdPrint, mnuPrint), and printing the
// grid and the summary to a text file or to paper.

#include "logviews/ResultView.h"
#include "printing/StationPrinter.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

class OperatorDialogs;
class PrintWindow;
class QAbstractButton;
class QAction;
class SettingsStore;
class StationCore;
class StationWindowAccess;
class SummaryChartPanel;

class PrintCommands : public QObject, public PrinterStatusSink {
    Q_OBJECT
public:
    // What printing works with; the menu entries and the print button are wired here.
    struct Links {
        StationCore& core; // the log file, the probe link, the finished results
        ResultViews views;
        OperatorDialogs& dialogs;
        SettingsStore& settings;
        StationWindowAccess& window; // the print dialog closes with the station's windows
        std::function<QAction*(const QString&)> menu;
        QAbstractButton* printButton; // CmdPrint
        // The current template's titles, each followed by three spaces.
        std::function<std::string()> printHeaderLine;
        // The summary's charts while they are shown, else nullptr.
        std::function<const SummaryChartPanel*()> summaryCharts;
        // Whether the class summary holds the pane.
        std::function<bool()> summaryShown;
        QWidget* parent; // the print dialog's
    };

    PrintCommands(Links links, std::unique_ptr<PrintSpooler> spooler);
    ~PrintCommands() override;

    StationPrinter& printer() { return printer_; }
    // The 100 ms printer status poll ("TimerPStatus"): runs while real-time printing is on.
    const QTimer& statusTimer() const { return statusTimer_; }
    // The poll rests until real-time printing is switched on again (shut-down).
    void StopStatusPoll() { statusTimer_.stop(); }

    // mnuRTPrint Click: toggles its check mark, and with it real-time printing and the poll.
    void ToggleRealTimePrinting();
    // A result's display line (never a cancel), printed when real-time printing is on.
    void PrintResultLine(const std::string& line);

    // CmdPrint Click: the print dialog, when there is a log file and the pane holds text.
    void OpenPrintDialog();
    PrintWindow* PrintDialog() const;
    // The print dialog's two ways out.
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

signals:
    // Status bar panel 4: the printer's state, one line; empty once no printer is watched.
    void printerStatusChanged(const QString& text);

private:
    Links links_;
    QTimer statusTimer_;
    StationPrinter printer_;
    QPointer<PrintWindow> printWindow_;
};
