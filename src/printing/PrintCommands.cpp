#include "printing/PrintCommands.h"

#include "charts/SummaryChartPanel.h"
#include "charts/SummaryChartPrint.h"
#include "log/ResultGridModel.h"
#include "log/ResultView.h"
#include "log/TerminalPane.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OperatorDialogs.h"
#include "printing/FlexGridPrint.h"
#include "printing/PrintTextFile.h"
#include "printing/PrintWindow.h"
#include "resources/Twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QTableView>

namespace {

const QString kAppTitle = QStringLiteral("Tallion");

// The printer font of the grid; the nearest font of the desktop stands in when it is missing.
QFont PrinterFont()
{
    QFont font(QStringLiteral("News Gothic MT"), 10);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The summary lines up in columns of spaces: on paper too it needs every character equally wide.
QFont SummaryFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    return font;
}

// The grid's picture on paper: top border 1000 twips, flush left, no rows repeated.
constexpr double kTopBorderTwips = 1000;
constexpr double kLeftBorderTwips = 0;

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The hourglass for as long as the work lasts.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

PrintCommands::PrintCommands(MainWindow& form, std::unique_ptr<PrintSpooler> spooler)
    : QObject(&form)
    , form_(form)
    , printer_(std::move(spooler), *this, form.TimerPStatus, this)
{
    summaryText = [this] {
        if (!form_.state().summaryShown || !form_.views().terminal)
            return std::string();
        return form_.views().terminal->Text().toLatin1().toStdString();
    };
}

void PrintCommands::ToggleRealTimePrinting()
{
    QAction* entry = form_.MenuAction(QStringLiteral("mnuRTPrint"));
    const bool on = entry ? !entry->isChecked() : !printer_.RealTimePrinting();
    if (entry)
        entry->setChecked(on);
    printer_.SetRealTimePrinting(on);
    // No printer is watched any more: an old state would read as the current one.
    if (!on)
        ShowPrinterStatus(std::string());
}

void PrintCommands::PrintResultLine(const std::string& line)
{
    printer_.PrintResultLine(form_.printHeaderLine(), line);
}

void PrintCommands::OpenPrintDialog()
{
    const TerminalPane* pane = form_.views().terminal;
    if (form_.state().logFilePath.empty() || !pane || pane->Length() == 0)
        return;
    // A dialog closed a moment ago may still wait for its deletion: a new one is made then.
    if (frmPrint_ && frmPrint_->isVisible()) {
        frmPrint_->raise();
        frmPrint_->activateWindow();
        return;
    }
    auto press = [this](const char* name) {
        return [this, name] {
            if (auto* button = form_.Control<QAbstractButton>(name))
                button->click();
        };
    };
    frmPrint_ = new PrintWindow(form_.dialogs(), form_.settings(), form_.state().logFilePath, textFilePath,
                                PrintWindow::Actions{press("CmdPTF"), press("CmdPTP")}, &form_);
    frmPrint_->setAttribute(Qt::WA_DeleteOnClose);
    form_.RegisterStationWindow(frmPrint_);
    frmPrint_->show();
}

PrintWindow* PrintCommands::PrintDialog() const
{
    return frmPrint_;
}

void PrintCommands::PrintToFile()
{
    if (textFilePath.empty() || !form_.views().grid)
        return;
    std::string error;
    bool written = false;
    {
        const BusyCursor busy;
        written = WriteTextFileDurably(textFilePath, GridAsText(*form_.views().grid, summaryText()), &error);
    }
    if (!written)
        form_.dialogs().Message(Latin1(error), kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
}

void PrintCommands::PrintToPaper()
{
    const ResultGridModel* grid = form_.views().grid;
    const QTableView* view = form_.views().gridView;
    if (!grid)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!form_.dialogs().PrinterDialog(printer))
        return;

    GridPrintLayout layout{PrinterFont(), {}};
    for (int column = 0; column < grid->Columns(); ++column)
        layout.columnTwips.push_back(view ? PixelsToTwipsX(*view, view->columnWidth(column)) : 1440.0);
    const std::string summary = summaryText();

    const BusyCursor busy;
    QPainter painter;
    if (!painter.begin(&printer)) {
        form_.dialogs().Message(QStringLiteral("The printer cannot be used."), kAppTitle, MessageIcon::Exclamation,
                                MessageButtons::Ok);
        return;
    }
    // The orientation stays the one chosen in the printer dialog.
    const bool printed = FlexGridPrint(printer, painter, *grid, layout, printer.pageLayout().orientation(), -1,
                                       kTopBorderTwips, kLeftBorderTwips, 0);
    if (printed && !summary.empty()) {
        const bool textPrinted =
            PrintTextPages(printer, painter, Latin1(summary), SummaryFont(), kTopBorderTwips, kLeftBorderTwips);
        // The charts follow the summary's text on a page of their own.
        if (textPrinted && form_.summaryCharts())
            PrintSummaryCharts(printer, painter, form_.summaryCharts()->data(), kTopBorderTwips,
                               SummaryFont().pointSizeF());
    }
    painter.end();
}

void PrintCommands::ShowPrinterStatus(const std::string& text)
{
    // The status text's line end has never been visible; a panel shows one line, and its
    // tooltip the same in full where the bar is crowded.
    // A poll that was under way when printing was switched off tells nothing current.
    if (!printer_.RealTimePrinting() && !text.empty())
        return;
    const QString shown = Latin1(WithoutLineEnd(text));
    form_.SetStatusPanel(4, shown);
    form_.SetStatusPanelTip(4, shown);
}

void PrintCommands::TellProbe(ProbePrinterNotice notice)
{
    if (form_.core().link().probeLinkAlive())
        form_.core().link().QueueProbeCommand(ProbeCommandText(notice));
}

void PrintCommands::TellOperator(const std::string& text)
{
    form_.dialogs().Notify(Latin1(text), kAppTitle, MessageIcon::Exclamation);
}
