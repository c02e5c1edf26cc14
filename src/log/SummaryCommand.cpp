#include "log/SummaryCommand.h"

#include "log/ClassSummary.h"
#include "log/SummaryStream.h"

#include <QFile>
#include <cerrno>
#include <cstring>

namespace {

constexpr const char* kUsage = "Usage: tallion summary LOGFILE [--with-weight]\n"
                               "  Prints the class summary of LOGFILE; --with-weight sums the weighed\n"
                               "  carcasses (weight, yield, lean meat %) instead of counting the unweighed ones.\n";

} // namespace

bool IsSummaryCommand(int argc, char** argv)
{
    return argc > 1 && std::strcmp(argv[1], "summary") == 0;
}

int RunSummaryCommand(const QStringList& arguments, FILE* out, FILE* err, const SummaryChartWriter& charts)
{
    std::vector<std::string> words;
    words.reserve(static_cast<size_t>(arguments.size()));
    for (const QString& word : arguments)
        words.push_back(QFile::encodeName(word).toStdString());
    return RunSummaryCommand(words, out, err, charts);
}

int RunSummaryCommand(const std::vector<std::string>& arguments, FILE* out, FILE* err, const SummaryChartWriter& charts)
{
    std::string file;
    SummaryMode mode = SummaryMode::WithoutWeight;
    bool pathGiven = false;
    std::string chartFile;
    bool chartGiven = false;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--with-weight") {
            mode = SummaryMode::WithWeight;
        } else if (word == "--chart" && i + 1 < arguments.size() && charts.write) {
            chartFile = arguments[++i];
            chartGiven = true;
        } else if (word == "--help" || word == "-h") {
            std::fputs(kUsage, out);
            return 0;
        } else if (word.starts_with('-') || pathGiven) {
            std::fprintf(err, "tallion summary: unexpected argument \"%s\"\n%s", word.c_str(), kUsage);
            return 2;
        } else {
            file = word;
            pathGiven = true;
        }
    }
    if (!pathGiven) {
        std::fprintf(err, "tallion summary: no log file given\n%s", kUsage);
        return 2;
    }

    if (chartGiven && charts.knowsFormat && !charts.knowsFormat(chartFile)) {
        std::fprintf(err, "tallion summary: the chart file must end in .svg or .png: %s\n", chartFile.c_str());
        return 2;
    }

    // Read a chunk at a time; a FIFO or device is refused at once rather than waited on.
    std::string error;
    bool headerMissing = false;
    const std::optional<ClassSummaryTally> tally = StreamClassSummaryTally(file, mode, &error, &headerMissing);
    if (!tally) {
        std::fprintf(err, "tallion summary: cannot read %s: %s\n", file.c_str(), error.c_str());
        return 1;
    }
    // A header alone, or an empty file as Log to File makes it, is a new shift's log (Total: 0);
    // lines without a header are no result log.
    if (headerMissing) {
        std::fprintf(err, "tallion summary: %s has no header line, so it is not a result log\n", file.c_str());
        return 1;
    }
    const std::string text = ClassSummaryText(file, tally->Body(), mode, SummaryNotes{tally->LeftOut()});
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
        std::fprintf(err, "tallion summary: cannot write the summary: %s\n", std::strerror(errno));
        return 1;
    }
    if (chartGiven)
        return charts.write(file, mode, chartFile, err);
    return 0;
}
