// The summary's charts in the summary's window: with the text while the summary shows, whole at
// the window's default size, gone with it, and on paper after the text.

#include "MainWindowFixture.h"

#include "chartviews/SummaryChartPanel.h"
#include "logviewer/LogViewer.h"
#include "logviewer/SummaryWindow.h"
#include "printviews/PrintCommands.h"
#include "printviews/PrintWindow.h"

#include "support/TestPaths.h"
#include <QAction>
#include <QChart>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

namespace {

const QString kData = TestDataFolder();

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

TEST_F(SummaryChartsTest, ShownInTheSummarysWindowAndGoneWithTheSummary)
{
    StartOn("chart_records.dif", {1000, 700});
    SummaryChartPanel* charts = ToggledCharts();
    ASSERT_TRUE(charts && charts->isVisible());
    EXPECT_EQ(charts->window(), window->logViewer().summaryWindow());

    // Counts and shares over each bar, and what was left out, in notes under the charts. The
    // "__._" line of class P is in no chart.
    const QStringList texts = charts->charts().Texts();
    for (const char* text :
         {"chart_records.dif, 14-03-2024", "33 %", "17 %", "8 %", "4", "2",
          "1 left out: no lean meat %; 2 left out: class not S, E, U, R, O or P", "1 left out: no lean meat %"}) {
        EXPECT_TRUE(texts.contains(QString::fromLatin1(text))) << text << "\n" << texts.join('|').toStdString();
    }

    ToggledCharts();
    EXPECT_FALSE(charts->isVisible());
}

// A supervisor on a 1024 x 768 screen reads the whole summary and every chart without scrolling,
// with and without weight.
TEST_F(SummaryChartsTest, AtItsDefaultSizeTheTextAndTheChartsAreWhole)
{
    for (const bool withWeight : {false, true}) {
        SCOPED_TRACE(withWeight ? "with weight" : "without weight");
        MainWindow& w = StartOn("chart_records.dif", {1024, 740});
        if (withWeight)
            w.core().parts().weighingState.weightSource = WeightSource::ManualInput;
        w.logViewer().ToggleSummary();
        SummaryWindow* summary = w.logViewer().summaryWindow();
        ASSERT_NE(summary, nullptr);
        const QRect geometry = SummaryWindow::DefaultGeometry(QRect(0, 0, 1024, 768));
        EXPECT_EQ(geometry.size(), QSize(1000, 720));
        summary->setGeometry(geometry);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(summary));
        QCoreApplication::processEvents();

        QPlainTextEdit& text = summary->text();
        EXPECT_TRUE(text.toPlainText().contains(QString(75, '*')));
        EXPECT_EQ(text.horizontalScrollBar()->maximum(), 0) << "75 columns and the path line";
        EXPECT_EQ(text.verticalScrollBar()->maximum(), 0) << "every line";

        SummaryChartPanel& charts = summary->charts();
        const QList<QChart*> figures = charts.charts().Charts();
        ASSERT_EQ(figures.size(), withWeight ? 3 : 2);
        for (QChart* chart : figures) {
            SCOPED_TRACE(chart->title().toStdString());
            const QFontMetrics title(chart->titleFont());
            EXPECT_LE(title.horizontalAdvance(chart->title()), chart->size().width() - 16) << "the title";
            const QRectF plot = chart->plotArea();
            EXPECT_TRUE(charts.viewport()->rect().contains(chart->mapToScene(chart->rect()).boundingRect().toRect()))
                << "the figure inside the view";
            // Six classes (or the histogram's 47 bins) side by side, each letter with room.
            const QFontMetrics labels(charts.font());
            EXPECT_GE(plot.width() / 6, labels.horizontalAdvance(QStringLiteral("100.0 %")) / 2.0);
            EXPECT_GE(plot.height(), 4 * labels.height()) << "bars and their labels";
        }
        w.logViewer().ToggleSummary();
        window.reset();
    }
}

TEST_F(SummaryChartsTest, PaperHasTheChartsAfterTheText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (Debian package poppler-utils)";
    MainWindow& w = StartOn("chart_records.dif", {1400, 760});
    w.core().parts().link.setProbeLinkAlive(true);
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
    EXPECT_TRUE(pages.last().contains("Carcasses per class (12)")) << pages.last().toStdString();
    EXPECT_TRUE(pages.last().contains("Lean meat %"));
}
