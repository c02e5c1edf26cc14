// What the summary's charts count: classes, average weights, lean meat % bins and the records
// left out, for the reference log tests/data/chart_records.dif in both modes.

#include "charts/SummaryChartData.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include <fstream>
#include <map>

namespace {

const std::string kRecords = TestDataFile(QStringLiteral("chart_records.dif")).toStdString();

// The non-empty bins by label.
std::map<std::string, long long> Bins(const SummaryChartData& data)
{
    std::map<std::string, long long> bins;
    for (int b = 0; b < kLeanMeatBins; ++b) {
        if (data.leanMeat[static_cast<size_t>(b)] != 0)
            bins[LeanMeatBinLabel(b)] = data.leanMeat[static_cast<size_t>(b)];
    }
    return bins;
}

} // namespace

TEST(SummaryChartData, LeanMeatFallsIntoItsPercentBin)
{
    const std::pair<double, std::string> cases[] = {
        {-3.0, "<30"}, {0.0, "<30"}, {29.99, "<30"}, {30.0, "30"}, {30.99, "30"},  {39.9, "39"},   {40.0, "40"},
        {59.95, "59"}, {60.0, "60"}, {74.5, "74"},   {75.0, "74"}, {75.01, ">75"}, {104.2, ">75"},
    };
    for (const auto& [percent, label] : cases) {
        SCOPED_TRACE(percent);
        EXPECT_EQ(LeanMeatBinLabel(LeanMeatBin(percent)), label);
    }
    EXPECT_EQ(kLeanMeatBins, 47);
}

TEST(SummaryChartData, TheReferenceLogInBothModes)
{
    QString error;
    const auto data = ReadSummaryChartData(kRecords, SummaryMode::WithoutWeight, &error);
    ASSERT_TRUE(data) << error.toStdString();
    // S 61.0, 60.0, 104.2, 75.0; E 59.9, 75.1; U 52.3; R 45.0, 30.0; O 44.9; P 29.9, -3.0; the
    // "__._" line of class P has no class.
    EXPECT_EQ(data->classCount, (std::array<long long, 6>{4, 2, 1, 2, 1, 2}));
    EXPECT_EQ(data->Counted(), 12);
    // Class Z and an empty class; the cancel, the probe error and the empty line are no records.
    EXPECT_EQ(data->withoutClass, 2);
    EXPECT_EQ(data->withoutLeanMeat, 1);
    const std::map<std::string, long long> bins{{"<30", 2}, {"30", 1}, {"44", 1}, {"45", 1}, {"52", 1},
                                                {"59", 1},  {"60", 1}, {"61", 1}, {"74", 1}, {">75", 2}};
    EXPECT_EQ(Bins(*data), bins);
    EXPECT_EQ(data->classWeight, (std::array<double, 6>{}));
    EXPECT_EQ(data->Caption(), QStringLiteral("chart_records.dif, 14-03-2024"));

    const auto weighed = ReadSummaryChartData(kRecords, SummaryMode::WithWeight, &error);
    ASSERT_TRUE(weighed) << error.toStdString();
    // E 92.4 kg at 57.1; R 80.5 kg at 48.0 and 90.0 kg at 46.2; Z 70 kg; S 100.0 kg with "__._"
    // left out.
    EXPECT_EQ(weighed->classCount, (std::array<long long, 6>{0, 1, 0, 2, 0, 0}));
    EXPECT_DOUBLE_EQ(weighed->AverageWeight(0), 0.0);
    EXPECT_DOUBLE_EQ(weighed->AverageWeight(1), 92.4);
    EXPECT_DOUBLE_EQ(weighed->AverageWeight(3), 85.25);
    EXPECT_DOUBLE_EQ(weighed->AverageWeight(2), 0.0);
    EXPECT_EQ(weighed->withoutClass, 1);
    EXPECT_EQ(weighed->withoutLeanMeat, 1);
    const std::map<std::string, long long> weighedBins{{"46", 1}, {"48", 1}, {"57", 1}};
    EXPECT_EQ(Bins(*weighed), weighedBins);
}

TEST(SummaryChartData, ALogLargerThanOnePieceIsCountedWholeAndAMissingOneIsAnError)
{
    // 40000 lines of about 150 bytes: several pieces, lines cut at their borders, and a last
    // line without its line end.
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("large.dif")).toStdString();
    {
        std::ofstream out(path, std::ios::binary);
        out << "Error\tTime & Date\tHeader\r\n";
        for (int n = 0; n < 40000; ++n) {
            out << "\t06:01:10  14-03-2024\tSingle Site\t01\t" << n << "\t 14.2 A\t\t 55.0 B\t\t\t\t\t\t"
                << (n % 2 ? " 52.3\t\tU" : " 61.0\t\tS") << std::string(22, '\t') << "comment text\t";
            if (n + 1 < 40000)
                out << "\r\n";
        }
    }
    QString error;
    const auto data = ReadSummaryChartData(path, SummaryMode::WithoutWeight, &error);
    ASSERT_TRUE(data) << error.toStdString();
    EXPECT_EQ(data->classCount, (std::array<long long, 6>{20000, 0, 20000, 0, 0, 0}));
    const std::map<std::string, long long> bins{{"52", 20000}, {"61", 20000}};
    EXPECT_EQ(Bins(*data), bins);

    EXPECT_FALSE(ReadSummaryChartData(TestDataFile(QStringLiteral("no-such.dif")).toStdString(),
                                      SummaryMode::WithoutWeight, &error));
    EXPECT_FALSE(error.isEmpty());
}
