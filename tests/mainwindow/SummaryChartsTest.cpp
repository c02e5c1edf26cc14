// The summary's charts in the main window: beside the unchanged text while the summary shows,
// gone with it, and on paper after the text.

#include "MainWindowFixture.h"

#include "charts/SummaryChartPanel.h"
#include "log/TerminalPane.h"
#include "logviewer/LogViewer.h"
#include "printing/PrintCommands.h"
#include "printing/PrintWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>

namespace {

const QString kData = QStringLiteral(TALLION_TEST_DATA_DIR);

class SummaryChartsTest : public MainWindowFixture {
protected:
    SummaryChartsTest() { QDir::setCurrent(kData); }
    ~SummaryChartsTest() override { QDir::setCurrent(previous_); }

    MainWindow& StartOn(const char* log, QSize size)
    {
        Store({{"LogFilePath", log}, {"Banner", "3"}});
        MainWindow& w = Make();
        w.resize(size);
        w.show();
        return w;
    }
    SummaryChartPanel* ToggledCharts()
    {
        window->logViewer().ToggleSummary();
        return window->findChild<SummaryChartPanel*>("summaryCharts");
    }

private:
    QString previous_ = QDir::currentPath();
};

} // namespace

TEST_F(SummaryChartsTest, ShownBesideTheTextAndGoneWithTheSummary)
{
    StartOn("chart_records.dif", {1400, 760});
    auto* pane = Control<TerminalPane>("Terminal");
    SummaryChartPanel* charts = ToggledCharts();
    ASSERT_TRUE(charts && charts->isVisible());
    EXPECT_EQ(charts->geometry().top(), pane->geometry().top());
    EXPECT_EQ(charts->geometry().left(), pane->geometry().right() + 1);
    EXPECT_GE(charts->width(), SummaryChartPanel::kMinimumWidth);

    // Counts and shares over each bar, and what was left out, in notes under the charts.
    const QStringList texts = charts->charts().Texts();
    for (const char* text : {"30.8 %", "15.4 %", "7.7 %", "23.1 %", "4", "3",
                             "2 left out: class not S, E, U, R, O or P", "1 left out: lean meat % not a number"}) {
        EXPECT_TRUE(texts.contains(QString::fromLatin1(text))) << text << "\n" << texts.join('|').toStdString();
    }

    ToggledCharts();
    EXPECT_FALSE(charts->isVisible());
}

TEST_F(SummaryChartsTest, BelowTheTextInANarrowWindow)
{
    // With weight the summary's table is too wide for the charts beside it.
    MainWindow& w = StartOn("chart_records.dif", {1000, 700});
    w.core().weighingState().weightSource = WeightSource::ManualInput;
    auto* pane = Control<TerminalPane>("Terminal");
    SummaryChartPanel* charts = ToggledCharts();
    ASSERT_TRUE(charts && charts->isVisible());
    EXPECT_EQ(charts->geometry().left(), pane->geometry().left());
    EXPECT_EQ(charts->geometry().top(), pane->geometry().bottom() + 1);
    EXPECT_EQ(charts->width(), pane->width());
}

TEST_F(SummaryChartsTest, PlacedAfreshWhenTheSummaryComesBackWithWeight)
{
    // Shown once without weight in a wide window, the charts went beside a narrowed pane.
    MainWindow& w = StartOn("chart_records.dif", {1400, 760});
    ToggledCharts();
    ToggledCharts();
    w.resize(1000, 700);
    w.core().weighingState().weightSource = WeightSource::ManualInput;
    auto* pane = Control<TerminalPane>("Terminal");
    SummaryChartPanel* charts = ToggledCharts();
    ASSERT_TRUE(charts && charts->isVisible());
    EXPECT_EQ(charts->geometry().left(), pane->geometry().left());
    EXPECT_EQ(charts->geometry().top(), pane->geometry().bottom() + 1);
    EXPECT_EQ(charts->width(), pane->width());
}

TEST_F(SummaryChartsTest, PaperHasTheChartsAfterTheText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (Debian package poppler-utils)";
    MainWindow& w = StartOn("chart_records.dif", {1400, 760});
    w.core().link().setProbeLinkAlive(true);
    w.RefreshFindPrint();
    w.logViewer().ToggleSummary();
    const QString pdf = dir.filePath("paper.pdf");
    dialogs.QueuePrinter(true, [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    });
    Menu("mnuPrint")->trigger();
    w.printing().PrintDialog()->findChild<QPushButton*>("CmdPTP")->click();

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    ASSERT_GE(pages.size(), 3);
    EXPECT_TRUE(pages[pages.size() - 2].contains("Summary"));
    EXPECT_TRUE(pages.last().contains("Carcasses per class (13)")) << pages.last().toStdString();
    EXPECT_TRUE(pages.last().contains("Lean meat %"));
}
