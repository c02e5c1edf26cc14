// The charts in the window go on counting the records finished while the summary shows.

#include "chartviews/SummaryChartPanel.h"

#include "support/TestPaths.h"
#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(SummaryChartPanel, RecordsFinishedWhileShownAreCountedAndDrawnAfterTheEvent)
{
    SummaryChartPanel panel(QFont(), nullptr);
    panel.resize(900, 300);
    QString error;
    panel.ShowData(ReadSummaryChartData(TestDataFile(QStringLiteral("chart_records.dif")).toStdString(),
                                        SummaryMode::WithoutWeight, &error)
                       .value_or(SummaryChartData{}));
    ASSERT_TRUE(panel.charts().Texts().contains("4")); // class S
    const std::string tabs = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    // Two unweighed S records at 62.5 %, and a weighed one that this summary does not count.
    const std::string s = "\t07:00:00  14-03-2024\tSingle Site\t01\t000030\t 14.2 A\t\t 55.0 B\t\t\t\t\t\t 62.5\t\tS\t";
    panel.AddLines(s + tabs + "\t\r\n" + s + tabs + "\t\r\n" + s + tabs + " 90.1\t\r\n");
    EXPECT_EQ(panel.data().classCount[0], 6);
    EXPECT_EQ(panel.data().leanMeat[static_cast<size_t>(LeanMeatBin(62.5))], 2);
    EXPECT_FALSE(panel.charts().Texts().contains("6")) << "drawn after the event, not within it";
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel.charts().Texts().contains("6"));
    // 6 of 14 (the log's "__._" line is in no chart), in whole percents.
    const QStringList texts = panel.charts().Texts();
    EXPECT_TRUE(texts.contains("43 %")) << texts.join('|').toStdString();
}
