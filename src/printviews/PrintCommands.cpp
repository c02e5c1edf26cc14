#include "printviews/PrintCommands.h"

#include "chartviews/SummaryChartPanel.h"
#include "chartviews/SummaryChartPrint.h"
#include "logviews/ResultGridModel.h"
#include "logviews/ResultView.h"
#include "logviews/TerminalPane.h"
#include "printing/TextFileOutput.h"
#include "printviews/FlexGridPrint.h"
#include "printviews/PrintWindow.h"
#include "resources/AppTitle.h"
#include "station/StationCore.h"
#include "widgets/OperatorDialogs.h"
#include "widgets/StationWindowAccess.h"
#include "widgets/Twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QTableView>

namespace {

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

// The grid's picture on paper: top border 1000 twips, 10 mm (567 twips) left and right, the
// column titles on every page.
constexpr double kTopBorderTwips = 1000;
constexpr double kLeftBorderTwips = 567;
constexpr int kTitleRows = 1;

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

PrintCommands::PrintCommands(Links links, std::unique_ptr<PrintSpooler> spooler)
    : QObject(links.parent)
    , links_(std::move(links))
    , printer_(std::move(spooler), *this, statusTimer_, this)
{
    statusTimer_.setObjectName(QStringLiteral("TimerPStatus"));
    statusTimer_.setInterval(100);
    summaryText = [this] {
        if (!links_.summaryShown || !links_.summaryShown() || !links_.views.terminal)
            return std::string();
        return links_.views.terminal->Text().toLatin1().toStdString();
    };
    if (QAction* realTime = links_.menu(QStringLiteral("mnuRTPrint")))
        connect(realTime, &QAction::triggered, this, &PrintCommands::ToggleRealTimePrinting);
    if (links_.printButton)
        connect(links_.printButton, &QAbstractButton::clicked, this, &PrintCommands::OpenPrintDialog);
    connect(&links_.core.resultFinishing(), &ResultFinishing::lineToPrint, this, &PrintCommands::PrintResultLine);
}

PrintCommands::~PrintCommands()
{
    statusTimer_.stop();
}

void PrintCommands::ToggleRealTimePrinting()
{
    QAction* entry = links_.menu(QStringLiteral("mnuRTPrint"));
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
    printer_.PrintResultLine(links_.printHeaderLine(), line);
}

void PrintCommands::OpenPrintDialog()
{
    const TerminalPane* pane = links_.views.terminal;
    const std::string& logFilePath = links_.core.resultLog().logFilePath();
    if (logFilePath.empty() || !pane || pane->Length() == 0)
        return;
    // A dialog closed a moment ago may still wait for its deletion: a new one is made then.
    if (printWindow_ && printWindow_->isVisible()) {
        printWindow_->raise();
        printWindow_->activateWindow();
        return;
    }
    printWindow_ =
        new PrintWindow(links_.dialogs, links_.settings, logFilePath, textFilePath,
                        PrintWindow::Actions{[this] { PrintToFile(); }, [this] { PrintToPaper(); }}, links_.parent);
    printWindow_->setAttribute(Qt::WA_DeleteOnClose);
    links_.window.RegisterStationWindow(printWindow_);
    printWindow_->show();
}

PrintWindow* PrintCommands::PrintDialog() const
{
    return printWindow_;
}

void PrintCommands::PrintToFile()
{
    if (textFilePath.empty() || !links_.views.grid)
        return;
    std::string error;
    bool written = false;
    {
        const BusyCursor busy;
        written = WriteTextFileDurably(textFilePath, GridAsText(*links_.views.grid, summaryText()), &error);
    }
    if (!written)
        links_.dialogs.Message(Latin1(error), kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
}

void PrintCommands::PrintToPaper()
{
    const ResultGridModel* grid = links_.views.grid;
    const QTableView* view = links_.views.gridView;
    if (!grid)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!links_.dialogs.PrinterDialog(printer))
        return;

    GridPrintLayout layout{PrinterFont(), {}};
    for (int column = 0; column < grid->Columns(); ++column)
        layout.columnTwips.push_back(view ? PixelsToTwipsX(*view, view->columnWidth(column)) : 1440.0);
    const std::string summary = summaryText();

    const BusyCursor busy;
    QPainter painter;
    if (!painter.begin(&printer)) {
        links_.dialogs.Message(QStringLiteral("The printer cannot be used."), kAppTitle, MessageIcon::Exclamation,
                               MessageButtons::Ok);
        return;
    }
    // The orientation stays the one chosen in the printer dialog.
    const std::string& logFilePath = links_.core.resultLog().logFilePath();
    layout.footer = QFileInfo(QFile::decodeName(QByteArray::fromStdString(logFilePath))).fileName()
                    + QStringLiteral("   ") + QDateTime::currentDateTime().toString(QStringLiteral("dd-MM-yyyy hh:mm"));
    const bool printed = FlexGridPrint(printer, painter, *grid, layout, printer.pageLayout().orientation(), -1,
                                       kTopBorderTwips, kLeftBorderTwips, kTitleRows);
    if (printed && !summary.empty()) {
        const bool textPrinted =
            PrintTextPages(printer, painter, Latin1(summary), SummaryFont(), kTopBorderTwips, kLeftBorderTwips);
        // The charts follow the summary's text on a page of their own.
        const SummaryChartPanel* charts = links_.summaryCharts ? links_.summaryCharts() : nullptr;
        if (textPrinted && charts)
            PrintSummaryCharts(printer, painter, charts->data(), kTopBorderTwips, SummaryFont().pointSizeF());
    }
    painter.end();
}

void PrintCommands::ShowPrinterStatus(const std::string& text)
{
    // A poll that was under way when printing was switched off tells nothing current.
    if (!printer_.RealTimePrinting() && !text.empty())
        return;
    const QString shown = Latin1(WithoutLineEnd(text));
    emit printerStatusChanged(shown);
}

void PrintCommands::TellProbe(ProbePrinterNotice notice)
{
    links_.core.tellProbe(ProbeCommandText(notice));
}

void PrintCommands::TellOperator(const std::string& text)
{
    links_.dialogs.Notify(Latin1(text), kAppTitle, MessageIcon::Exclamation);
}
