#include "log/SummaryCommand.h"

#include "log/ClassSummary.h"

#include <QFile>
#include <cerrno>
#include <cstring>

namespace {

constexpr const char* kUsage = "Usage: tallion summary LOGFILE [--with-weight] [--chart FILE.svg|FILE.png]\n"
                               "  Prints the class summary of LOGFILE; --with-weight sums the weighed\n"
                               "  carcasses (weight, yield, lean meat %) instead of counting the unweighed ones.\n"
                               "  --chart also draws the summary's charts into FILE (1600 x 1000 pixels).\n";

} // namespace

bool IsSummaryCommand(int argc, char** argv)
{
    return argc > 1 && std::strcmp(argv[1], "summary") == 0;
}

int RunSummaryCommand(const QStringList& arguments, FILE* out, FILE* err, const SummaryChartWriter& charts)
{
    QString path;
    SummaryMode mode = SummaryMode::WithoutWeight;
    bool pathGiven = false;
    QString chartPath;
    bool chartGiven = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == QLatin1String("--with-weight")) {
            mode = SummaryMode::WithWeight;
        } else if (word == QLatin1String("--chart") && i + 1 < arguments.size() && charts.write) {
            chartPath = arguments[++i];
            chartGiven = true;
        } else if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            std::fputs(kUsage, out);
            return 0;
        } else if (word.startsWith(QLatin1Char('-')) || pathGiven) {
            std::fprintf(err, "tallion summary: unexpected argument \"%s\"\n%s", word.toLocal8Bit().constData(),
                         kUsage);
            return 2;
        } else {
            path = word;
            pathGiven = true;
        }
    }
    if (!pathGiven) {
        std::fprintf(err, "tallion summary: no log file given\n%s", kUsage);
        return 2;
    }

    const std::string chartFile = QFile::encodeName(chartPath).toStdString();
    if (chartGiven && charts.knowsFormat && !charts.knowsFormat(chartFile)) {
        std::fprintf(err, "tallion summary: the chart file must end in .svg or .png: %s\n", chartFile.c_str());
        return 2;
    }

    const std::string file = QFile::encodeName(path).toStdString();
    QString error;
    const std::string body = BuildClassSummary(file, mode, &error);
    if (!error.isEmpty()) {
        std::fprintf(err, "tallion summary: cannot read %s: %s\n", file.c_str(), error.toLocal8Bit().constData());
        return 1;
    }
    const std::string text = ClassSummaryText(file, body, mode);
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
        std::fprintf(err, "tallion summary: cannot write the summary: %s\n", std::strerror(errno));
        return 1;
    }
    if (chartGiven)
        return charts.write(file, mode, chartFile, err);
    return 0;
}
