#include "layout/LayoutGeometry.h"

#include <gtest/gtest.h>

TEST(LayoutGeometry, PlacesGridAndPaneForEveryLayout)
{
    // Hf 10000, Hs 1000, Hr 1400, Hb 400 twips throughout; expected values worked out by hand.
    struct Case {
        const char* name;
        bool detail;
        bool summary;
        LayoutTrigger trigger;
        double gridTop, gridHeight;
        bool terminal;
        double terminalTop, terminalHeight;
    };
    const Case cases[] = {
        {"compact", false, false, LayoutTrigger::Toggle, 1100, 7350, false, 0, 0},
        {"compact, resized", false, false, LayoutTrigger::Resize, 1100, 7350, false, 0, 0},
        {"compact summary", false, true, LayoutTrigger::Toggle, 1100, 5000, true, 6150, 2350},
        {"compact summary, resized", false, true, LayoutTrigger::Resize, 1040, 4000, true, 5150, 3350},
        {"detail", true, false, LayoutTrigger::Toggle, 2500, 5950, false, 0, 0},
        {"detail, resized", true, false, LayoutTrigger::Resize, 2500, 5950, false, 0, 0},
        {"detail summary", true, true, LayoutTrigger::Toggle, 2500, 5000, true, 7550, 950},
        {"detail summary, resized", true, true, LayoutTrigger::Resize, 2500, 4000, true, 6770, 1950},
    };
    for (const Case& c : cases) {
        LayoutInput in;
        in.outerHeight = 10000;
        in.statusFrameHeight = 1000;
        in.resultFrameHeight = 1400;
        in.statusBarHeight = 400;
        in.detail = c.detail;
        in.summary = c.summary;
        in.trigger = c.trigger;
        const ViewGeometry g = ComputeViewGeometry(in);
        EXPECT_DOUBLE_EQ(g.gridTop, c.gridTop) << c.name;
        EXPECT_DOUBLE_EQ(g.gridHeight, c.gridHeight) << c.name;
        EXPECT_EQ(g.terminalPlaced, c.terminal) << c.name;
        if (c.terminal) {
            EXPECT_DOUBLE_EQ(g.terminalTop, c.terminalTop) << c.name;
            EXPECT_DOUBLE_EQ(g.terminalHeight, c.terminalHeight) << c.name;
        }
    }
}

TEST(LayoutGeometry, HeightsNeverGoNegativeInATinyWindow)
{
    LayoutInput in;
    in.outerHeight = 2000;
    in.statusFrameHeight = 1000;
    in.resultFrameHeight = 1400;
    in.statusBarHeight = 400;
    for (bool detail : {false, true}) {
        for (bool summary : {false, true}) {
            in.detail = detail;
            in.summary = summary;
            const ViewGeometry g = ComputeViewGeometry(in);
            EXPECT_GE(g.gridHeight, 0.0);
            EXPECT_GE(g.terminalHeight, 0.0);
        }
    }
}
