// Where the summary's figures go: side by side in a wide space, the small ones above the
// histogram otherwise; and how the pane's area is shared between the text and the charts.

#include "charts/SummaryChartLayout.h"

#include <gtest/gtest.h>

TEST(SummaryChartLayout, FiguresAreSideBySideOnlyWhereThatLeavesThemLarger)
{
    struct Case {
        const char* name;
        QSizeF size;
        bool withWeight;
        QRectF classes, leanMeat, weight;
    };
    const Case cases[] = {
        {"picture file, with weight", {1600, 1000}, true, {0, 0, 800, 500}, {0, 500, 1600, 500}, {800, 0, 800, 500}},
        {"picture file, without weight", {1600, 1000}, false, {0, 0, 1600, 500}, {0, 500, 1600, 500}, {}},
        {"a wide strip", {1200, 300}, false, {0, 0, 400, 300}, {400, 0, 800, 300}, {}},
        {"a wide strip, with weight", {1600, 300}, true, {0, 0, 400, 300}, {800, 0, 800, 300}, {400, 0, 400, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SummaryFigureRects r = ArrangeSummaryFigures(c.size, c.withWeight, 0);
        EXPECT_EQ(r.classes, c.classes);
        EXPECT_EQ(r.leanMeat, c.leanMeat);
        EXPECT_EQ(r.weight, c.weight);
    }
    // The gap is kept on every side.
    EXPECT_EQ(ArrangeSummaryFigures({1200, 300}, false, 5).classes, QRectF(5, 5, 390, 290));
}

TEST(SummaryChartLayout, ChartsGoBesideTheTextOrBelowItWhenNarrow)
{
    struct Case {
        const char* name;
        QRect area;
        int textWidth;
        int lowest;
        QRect pane, charts;
    };
    const Case cases[] = {
        {"wide", {10, 300, 1260, 400}, 700, 760, {10, 300, 700, 400}, {710, 300, 560, 400}},
        {"just wide enough", {0, 0, 1120, 400}, 700, 0, {0, 0, 700, 400}, {700, 0, 420, 400}},
        {"narrow", {0, 100, 1000, 400}, 700, 0, {0, 100, 1000, 160}, {0, 260, 1000, 240}},
        {"narrow, free rows below", {0, 100, 1000, 400}, 700, 559, {0, 100, 1000, 160}, {0, 260, 1000, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PaneAndCharts shared = SharePaneArea(c.area, c.textWidth, 420, c.lowest);
        EXPECT_EQ(shared.pane, c.pane);
        EXPECT_EQ(shared.charts, c.charts);
    }
}
