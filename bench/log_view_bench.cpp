// Timing of loading a 100,000-line result log into the views and of live result lines.
// Prints figures; it passes or fails nothing.

#include "log/LogRecordFormat.h"
#include "log/LogView.h"
#include "log/ResultGridModel.h"
#include "log/ResultView.h"
#include "log/TerminalPane.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int kLogLines = 100000;
constexpr int kLiveLines = 1000;
constexpr int kTemplate = 3;

long PeakRssKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

CarcassMeasurement SampleRecord(int n)
{
    CarcassMeasurement r;
    r.kind = n % 2 ? 'E' : 'L';
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d  03-04-2024", (n / 3600) % 24, (n / 60) % 60, n % 60);
    r.timeDate = text;
    std::snprintf(text, sizeof text, "%03d", n % 1000);
    r.carcassCount = text;
    r.carcassType = "2";
    r.fat1 = "14";
    r.fat2 = "16";
    r.meat = "55";
    r.meatPercent = "58.9";
    r.carcassClass = "E";
    r.colour1 = "3";
    r.rz7Colour1 = n % 2 ? "" : "31";
    r.weight = "92.4";
    r.comment = n % 10 ? "" : "checked";
    return r;
}

std::string WriteLog(const QString& path)
{
    std::string content = LogHeaderLine();
    for (int n = 0; n < kLogLines; ++n) {
        if (n % 500 == 499) {
            CarcassMeasurement cancel;
            cancel.kind = 'C';
            cancel.alertText = "Cancel      000123";
            content += LogLineFor(cancel);
        } else {
            content += LogLineFor(SampleRecord(n));
        }
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content.data(), static_cast<qint64>(content.size()));
    return path.toStdString();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const std::string path = WriteLog(dir.filePath("bench.dif"));
    std::printf("log file: %d lines, %lld bytes\n", kLogLines + 1,
                static_cast<long long>(QFile(QString::fromStdString(path)).size()));

    TerminalPane pane;
    ResultGridModel grid;
    QTableView gridView;
    gridView.setModel(&grid);
    gridView.resize(900, 400);
    pane.resize(900, 300);
    gridView.show();
    pane.show();
    ResultViews views{&pane, &grid, &gridView};
    ApplyTemplate(views, kTemplate);
    QApplication::processEvents();
    std::printf("peak RSS before load: %ld kB\n", PeakRssKilobytes());

    QElapsedTimer timer;
    timer.start();
    const auto error = LoadLogIntoView(views, path, kTemplate);
    const qint64 loadMs = timer.elapsed();
    QApplication::processEvents();
    const qint64 loadAndPaintMs = timer.elapsed();
    if (error) {
        std::printf("load failed: %s\n", qPrintable(*error));
        return 1;
    }
    std::printf("LoadLogIntoView: %lld ms (%lld ms with the first paint), %d grid rows, %d pane characters\n",
                static_cast<long long>(loadMs), static_cast<long long>(loadAndPaintMs), grid.Rows(),
                pane.Length());
    std::printf("peak RSS after load: %ld kB\n", PeakRssKilobytes());

    const std::string liveLine = FormatResultLine(SampleRecord(7), kTemplate) + "\r";
    timer.restart();
    for (int i = 0; i < kLiveLines; ++i)
        AppendToResultView(views, liveLine, i % 50 != 0);
    const qint64 appendMs = timer.elapsed();
    std::printf("%d x AppendToResultView after the load: %lld ms (%.3f ms each), pane %d characters\n",
                kLiveLines, static_cast<long long>(appendMs), static_cast<double>(appendMs) / kLiveLines,
                pane.Length());

    pane.ClearPane();
    grid.SetRows(1);
    QApplication::processEvents();
    timer.restart();
    for (int i = 0; i < kLiveLines; ++i)
        AppendToResultView(views, liveLine, true);
    const qint64 freshMs = timer.elapsed();
    std::printf("%d x AppendToResultView on empty views: %lld ms (%.3f ms each)\n", kLiveLines,
                static_cast<long long>(freshMs), static_cast<double>(freshMs) / kLiveLines);
    std::printf("peak RSS at the end: %ld kB\n", PeakRssKilobytes());
    return 0;
}
