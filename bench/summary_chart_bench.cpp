// Timing of `tallion summary LOG --chart FILE` on a generated log of realistic lines (the whole
// command as an operator runs it, without a display), and of its two steps: counting the log for
// the charts, and drawing them.  Usage: summary_chart_bench [records]

#include "BenchLog.h"

#include "charts/SummaryChartData.h"
#include "chartviews/SummaryChartFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace {

double Ms(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Best of a few runs, so that a busy machine disturbs the figure less.
template <class Fn>
double BestMs(Fn&& fn, int runs = 3)
{
    double best = 1e12;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        fn();
        best = std::min(best, Ms(timer));
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("bench.dif"));
    const long long bytes = bench::WriteLog(log, records);
    std::printf("log file: %d records, %lld bytes\n", records, bytes);

    const QString tallion = QCoreApplication::applicationDirPath() + QStringLiteral("/../tallion");
    for (const char* mode : {"", "--with-weight"}) {
        for (const char* name : {"chart.svg", "chart.png"}) {
            const QString chart = dir.filePath(QLatin1String(name));
            int status = -1;
            const double commandMs = BestMs([&] {
                QProcess process;
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.remove(QStringLiteral("DISPLAY"));
                env.remove(QStringLiteral("QT_QPA_PLATFORM"));
                process.setProcessEnvironment(env);
                process.setStandardOutputFile(QProcess::nullDevice());
                QStringList arguments{QStringLiteral("summary"), log, QStringLiteral("--chart"), chart};
                if (*mode)
                    arguments << QLatin1String(mode);
                process.start(tallion, arguments);
                process.waitForFinished(-1);
                status = process.exitCode();
            });
            std::printf("tallion summary %s --chart %s: %.0f ms (status %d, %lld bytes)\n",
                        *mode ? mode : "(unweighed)", name, commandMs, status,
                        static_cast<long long>(QFileInfo(chart).size()));
        }
    }

    SummaryChartData data;
    const double countMs = BestMs([&] {
        QString error;
        data = ReadSummaryChartData(log.toStdString(), SummaryMode::WithWeight, &error).value_or(SummaryChartData{});
    });
    std::printf("counting the log for the charts (with weight): %.0f ms, %lld records counted\n", countMs,
                data.Counted());
    for (ChartFileFormat format : {ChartFileFormat::Svg, ChartFileFormat::Png}) {
        const double drawMs = BestMs([&] { SummaryChartFileBytes(data, format); });
        std::printf("drawing the charts as %s: %.0f ms\n", format == ChartFileFormat::Svg ? "SVG" : "PNG", drawMs);
    }
    return 0;
}
