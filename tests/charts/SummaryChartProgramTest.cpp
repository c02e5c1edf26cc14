// `tallion summary LOGFILE --chart FILE`: the summary's charts as SVG or PNG, written without any
// display while the summary's text still goes to standard output.

#include "support/StationProcess.h"

#include "support/TestPaths.h"
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kData = TestDataFolder();

// build/tallion with no display, in the reference folder; the platform named by `platform`, or
// none.
ProgramRun Tallion(const QStringList& arguments, const QString& platform = QString())
{
    return StationProcess::Run(arguments, kData, platform);
}

} // namespace

TEST(SummaryChartProgram, WritesSvgAndPngOfTheirSizeWithoutADisplay)
{
    QTemporaryDir dir;
    const std::string summaryText = Tallion({"summary", "summary_unweighed.dif"}).out;
    ASSERT_FALSE(summaryText.empty());
    // A platform named in the environment that needs a display is not used.
    for (const auto& [name, platform] :
         {std::pair{"shift.svg", ""}, std::pair{"shift.png", "xcb"}, std::pair{"SHIFT.PNG", ""}}) {
        SCOPED_TRACE(name);
        const QString chart = dir.filePath(QLatin1String(name));
        const ProgramRun run = Tallion({"summary", "summary_unweighed.dif", "--chart", chart}, QLatin1String(platform));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, summaryText) << "the text goes on to standard output";
        const std::string bytes = StationProcess::ReadFile(chart);
        if (QString::fromLatin1(name).endsWith(QLatin1String(".svg"))) {
            EXPECT_TRUE(bytes.starts_with("<?xml")) << bytes.substr(0, 40);
            for (const char* part :
                 {"<svg width=\"1600\" height=\"1000\"", "viewBox=\"0 0 1600 1000\"", "Carcasses per class"})
                EXPECT_NE(bytes.find(part), std::string::npos) << part;
        } else {
            EXPECT_TRUE(bytes.starts_with("\x89PNG\r\n\x1a\n"));
            EXPECT_EQ(QImage(chart, "PNG").size(), QSize(1600, 1000));
        }
    }
}

TEST(SummaryChartProgram, WithWeightAndAnUnknownOrMissingFile)
{
    QTemporaryDir dir;
    const QString chart = dir.filePath(QStringLiteral("weighed.svg"));
    const ProgramRun weighed = Tallion({"summary", "chart_records.dif", "--with-weight", "--chart", chart});
    EXPECT_EQ(weighed.exitCode, 0) << weighed.err;
    EXPECT_NE(StationProcess::ReadFile(chart).find("Average weight per class"), std::string::npos);

    // An extension that names no picture format: refused before anything is printed or written.
    const QString other = dir.filePath(QStringLiteral("shift.jpg"));
    const ProgramRun unknown = Tallion({"summary", "summary_unweighed.dif", "--chart", other});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "tallion summary: the chart file must end in .svg or .png: " + other.toStdString() + "\n");
    EXPECT_FALSE(QFile::exists(other));

    // --chart without a file name.
    EXPECT_EQ(Tallion({"summary", "summary_unweighed.dif", "--chart"}).exitCode, 2);

    // A folder that does not exist: the text is printed, the picture is a failure.
    const ProgramRun unwritable =
        Tallion({"summary", "summary_unweighed.dif", "--chart", dir.filePath(QStringLiteral("no/such/x.png"))});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_FALSE(unwritable.out.empty());
    EXPECT_NE(unwritable.err.find("tallion summary: cannot write"), std::string::npos) << unwritable.err;
}
