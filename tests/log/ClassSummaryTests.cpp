// The class summary: its cells, and its text for reference logs (tests/data) in both modes.

#include "log/ClassSummary.h"
#include "log/SummaryFollower.h"

#include "support/TestPaths.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string DataFile(const char* name)
{
    QFile file(TestDataFile(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

} // namespace

TEST(ClassSummary, CellsAreCutRightAlignedAndWidenedForLongNumbers)
{
    const std::pair<double, std::string> values[] = {
        {12.36, "       12.3"}, // cut, not rounded
        {95.755, "       95.7"},  {170.5, "      170.5"},          {0, "        0.0"}, {7, "        7.0"},
        {12345.6, "    12345.6"}, {123456.7, "   123456.7"},       // a shift of one class: printed, in the same column
        {100000, "   100000.0"},  {1234567890.12, "1234567890.1"}, // wider than the cell: the cell widens
        {-0.25, "       -0.2"},
    };
    for (const auto& [number, cell] : values) {
        SCOPED_TRACE(number);
        EXPECT_EQ(FormatSummaryValue(number), cell);
    }
    const std::pair<long long, std::string> counts[] = {
        {0, "          0"},
        {3, "          3"},
        {9999, "       9999"},
        {10000, "      10000"},
        {123456789012, "123456789012"},
    };
    for (const auto& [count, cell] : counts) {
        SCOPED_TRACE(count);
        EXPECT_EQ(FormatSummaryCount(count), cell);
    }
}

TEST(ClassSummary, ReferenceLogsGiveTheirSummaryText)
{
    struct Case {
        const char* log;
        SummaryMode mode;
        const char* expected;
    };
    const Case cases[] = {
        // S, S, U counted; the weighed E, classes Z and none, cancel, Z, error and empty lines not.
        {"summary_unweighed.dif", SummaryMode::WithoutWeight, "summary_unweighed.txt"},
        {"summary_unweighed.dif", SummaryMode::WithWeight, "summary_unweighed_with_weight.txt"},
        // Two R lines of 80.5 and 90 kg at 55.0 and 57.2 %.
        {"summary_weighed.dif", SummaryMode::WithWeight, "summary_weighed_with_weight.txt"},
        // No unweighed line; and 123456.7 kg, wider than the cells of a small log.
        {"summary_heavy.dif", SummaryMode::WithoutWeight, "summary_heavy.txt"},
        {"summary_heavy.dif", SummaryMode::WithWeight, "summary_heavy_with_weight.txt"},
        // Lines without a lean meat % (an old 0.0/P, "__._"/P, a Colour Number sample): left out
        // whatever their class, and told under the heading.
        {"summary_no_lean_meat.dif", SummaryMode::WithoutWeight, "summary_no_lean_meat.txt"},
        {"summary_no_lean_meat.dif", SummaryMode::WithWeight, "summary_no_lean_meat_with_weight.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        SCOPED_TRACE(c.mode == SummaryMode::WithWeight ? "with weight" : "without weight");
        const std::string path = TestDataFile(QString::fromStdString(c.log)).toStdString();
        QString error;
        long long leftOut = -1;
        const std::string body = BuildClassSummary(path, c.mode, &error, &leftOut);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        // The reference texts name the log as the command line was given it.
        EXPECT_EQ(ClassSummaryText(c.log, body, c.mode, SummaryNotes{leftOut}), DataFile(c.expected));
    }
}

TEST(ClassSummary, WithoutWeighedLinesEveryRowIsZero)
{
    const std::string body = BuildClassSummaryText("header\r\n"
                                                   "\t10:00:00  01-01-2024\t\t\t\t\t\t\t\t\t\t\t\t58.1\t\tE\t\r\n",
                                                   SummaryMode::WithWeight);
    EXPECT_EQ(body, "  S              0\r\n"
                    "  E              0\r\n"
                    "  U              0\r\n"
                    "  R              0\r\n"
                    "  O              0\r\n"
                    "  P              0\r\n"
                    "\r\n"
                    "Total:           0           0.0             0.0              0.0%\r\n");
}

TEST(ClassSummary, UnreadableFileGivesAnEmptyBodyAndTheReason)
{
    QString error;
    EXPECT_EQ(BuildClassSummary(TestDataFile(QStringLiteral("no-such-log.dif")).toStdString(),
                                SummaryMode::WithoutWeight, &error),
              "");
    EXPECT_FALSE(error.isEmpty());
}

TEST(ClassSummary, NumbersAreReadFromTheStartOfTheirText)
{
    // Columns 13 (lean meat %), 15 (class) and 36 (weight) of result lines.
    auto line = [](const std::string& meat, const std::string& cls, const std::string& weight) {
        std::string text = "\t10:00:00  01-01-2024";
        for (int column = 2; column <= 36; ++column)
            text += "\t" + (column == 13 ? meat : column == 15 ? cls : column == 36 ? weight : std::string());
        return text + "\t\t\r\n";
    };
    const std::string log = "header\r\n" + line("55.0%", "R", "90kg") + line(" 57.2 ", "Rx", " +80.5.3")
                            + line("60", "R", "none") + line("60", "R", "-0");
    EXPECT_EQ(BuildClassSummaryText(log, SummaryMode::WithWeight),
              "  S              0\r\n"
              "  E              0\r\n"
              "  U              0\r\n"
              "  R              2         170.5            95.5             56.0%\r\n"
              "  O              0\r\n"
              "  P              0\r\n"
              "\r\n"
              "Total:           2         170.5            95.5             56.0%\r\n");
}

// The summary shown while records come: the log written in pieces (the last one ending in the
// middle of a line, as another station's append may be seen) gives the reference summary of the
// whole log; a log that shrank must be counted afresh.
TEST(ClassSummary, FollowedWhileTheLogGrowsItEndsAsTheWholeLogsSummary)
{
    const std::string whole = DataFile("summary_unweighed.dif");
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("live.dif")).toStdString();
    auto writeUpTo = [&](size_t size) {
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(whole.data(), qint64(size)) == qint64(size));
    };
    const size_t thirdLine = whole.find('\n', whole.find('\n') + 1) + 1;
    writeUpTo(thirdLine);
    SummaryFollower follower;
    ASSERT_TRUE(follower.Start(path, SummaryMode::WithoutWeight, nullptr));
    for (const size_t size : {thirdLine + 5, whole.size() - 3, whole.size()}) {
        writeUpTo(size);
        EXPECT_TRUE(follower.Follow().has_value()) << size;
    }
    EXPECT_EQ(ClassSummaryText("summary_unweighed.dif", follower.Body(), SummaryMode::WithoutWeight),
              DataFile("summary_unweighed.txt"));

    writeUpTo(thirdLine); // a row deleted
    EXPECT_FALSE(follower.Follow().has_value());
}
