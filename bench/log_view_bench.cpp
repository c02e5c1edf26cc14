// Timing and memory of the log views on generated logs of realistic lines: loading 100,000 and
// 1,000,000 records into the pane and the grid, the window's response afterwards (scrolling,
// live results), switching template, and a find through a full pane.
// Prints figures; it passes or fails nothing.  Usage: log_view_bench [records...]

#include "BenchLog.h"

#include "log/TextFind.h"
#include "logviews/LogView.h"
#include "logviews/ResultGridModel.h"
#include "logviews/ResultView.h"
#include "logviews/TerminalPane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <malloc.h>
#include <memory>

namespace {

constexpr int kTemplate = 3;

double Ms(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

struct Views {
    TerminalPane pane;
    ResultGridModel grid;
    QTableView gridView;
    ResultViews views{&pane, &grid, &gridView};

    Views()
    {
        gridView.setModel(&grid);
        gridView.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        gridView.resize(1100, 420);
        pane.resize(1100, 300);
        gridView.show();
        pane.show();
        ApplyTemplate(views, kTemplate);
        QApplication::processEvents();
    }
};

void LoadAndUse(const QString& path, int records)
{
    malloc_trim(0);
    const long before = bench::ResidentKilobytes();
    auto views = std::make_unique<Views>();
    const long withWindow = bench::ResidentKilobytes();

    QElapsedTimer timer;
    timer.start();
    const auto error = LoadLogIntoView(views->views, path.toStdString(), kTemplate);
    const double loadMs = Ms(timer);
    QApplication::processEvents();
    const double paintedMs = Ms(timer);
    if (error) {
        std::printf("load failed: %s\n", qPrintable(*error));
        return;
    }
    const long after = bench::ResidentKilobytes();
    std::printf("\n%d records: LoadLogIntoView %.0f ms (%.0f ms with the first paint); %d grid rows, %d pane "
                "characters\n",
                records, loadMs, paintedMs, views->grid.Rows(), views->pane.Length());
    std::printf("  resident memory: %ld kB before the window, +%ld kB the window, +%ld kB the load\n", before,
                withWindow - before, after - withWindow);

    // Responsive afterwards: scroll to a few places and paint, append live results.
    QScrollBar* bar = views->gridView.verticalScrollBar();
    timer.restart();
    constexpr int kScrolls = 20;
    for (int i = 0; i < kScrolls; ++i) {
        bar->setValue(bar->maximum() / kScrolls * i);
        views->gridView.viewport()->repaint();
    }
    std::printf("  scroll and paint the grid: %.2f ms a step\n", Ms(timer) / kScrolls);

    const std::string live = FormatResultLine(bench::Record(7), kTemplate) + "\r";
    timer.restart();
    constexpr int kLive = 200;
    for (int i = 0; i < kLive; ++i)
        AppendToResultView(views->views, live, i % 50 != 0);
    std::printf("  %d live results after the load: %.3f ms each\n", kLive, Ms(timer) / kLive);

    // What the template menu does on a change: lay the grid out, reload the views.
    timer.restart();
    ApplyTemplate(views->views, 7);
    const auto reload = LoadLogIntoView(views->views, path.toStdString(), 7);
    QApplication::processEvents();
    std::printf("  switching template 3 -> 7 (layout and reload): %.0f ms%s\n", Ms(timer), reload ? " (failed)" : "");

    // A find through the full pane, with and without case, neither finding anything.
    const std::string text = views->pane.Text().toLatin1().toStdString();
    FindState state;
    state.findText = "NOT IN THE PANE";
    state.findTextChanged = true;
    for (FindDirection direction : {FindDirection::Down, FindDirection::Up}) {
        for (bool matchCase : {true, false}) {
            state.findDirection = direction;
            state.findMatchCase = matchCase;
            timer.restart();
            const std::string paneText = views->pane.Text().toLatin1().toStdString();
            const long found = FindInText(paneText, direction == FindDirection::Down ? 0 : views->pane.Length(), state);
            std::printf("  find %s, match case %s, through %zu characters: %.2f ms (found %ld)\n",
                        direction == FindDirection::Down ? "down" : "up", matchCase ? "on" : "off", text.size(),
                        Ms(timer), found);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {100000, 1000000};

    QTemporaryDir dir;
    for (int records : counts) {
        const QString path = dir.filePath(QStringLiteral("bench-%1.dif").arg(records));
        const long long bytes = bench::WriteLog(path, records);
        std::printf("log file: %d records, %lld bytes\n", records, bytes);
        LoadAndUse(path, records);
        QFile::remove(path);
    }
    return 0;
}
