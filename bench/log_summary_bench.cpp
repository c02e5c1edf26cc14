// Timing of the class summary on a generated log of realistic lines, against the time it takes
// just to read the same file into memory. No display is used.  Usage: log_summary_bench [records]

#include "BenchLog.h"

#include "log/ClassSummary.h"
#include "log/LogFileText.h"

#include <QElapsedTimer>
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
double BestMs(Fn&& fn)
{
    double best = 1e12;
    for (int run = 0; run < 5; ++run) {
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
    const int records = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dif"));
    const long long bytes = bench::WriteLog(path, records);
    std::printf("log file: %d records, %lld bytes\n", records, bytes);
    const std::string file = path.toStdString();

    long long size = 0;
    const double readMs = BestMs([&] {
        QString error;
        size += ReadLogFile(file, &error).value_or(QByteArray()).size();
    });
    std::string text;
    double summaryWithoutMs = 0;
    for (SummaryMode mode : {SummaryMode::WithWeight, SummaryMode::WithoutWeight}) {
        const double summaryMs = BestMs([&] {
            QString error;
            text = BuildClassSummary(file, mode, &error);
        });
        if (mode == SummaryMode::WithoutWeight)
            summaryWithoutMs = summaryMs;
        std::printf("BuildClassSummary %s weight: %.0f ms, reading the file alone %.0f ms (%.2f times)\n",
                    mode == SummaryMode::WithWeight ? "with" : "without", summaryMs, readMs, summaryMs / readMs);
    }
    // The same counts by a plain awk script (class column 16, weight column 37 as awk numbers the
    // TAB-separated fields), as an end-of-shift script might do it without the station.
    const QString script =
        QStringLiteral("NR>1 && NF>37 { if ($37+0 == 0) n[substr($16,1,1)]++ } END { for (c in n) print c, n[c] }");
    QString awkOutput;
    const double awkMs = BestMs([&] {
        QProcess awk;
        awk.start(QStringLiteral("awk"), {QStringLiteral("-F\t"), script, path});
        awk.waitForFinished(-1);
        awkOutput = QString::fromLocal8Bit(awk.readAllStandardOutput());
    });
    std::printf("awk script counting the unweighed carcasses by class: %.0f ms (the station's summary takes %.2f "
                "times as long)\n%s",
                awkMs, summaryWithoutMs / awkMs, qPrintable(awkOutput));
    std::printf("%s", text.c_str());
    return 0;
}
