// Where the current carcass window opens, for the screens present and the place it was left at.

#include "layout/CarcassWindowPlace.h"

#include <gtest/gtest.h>

TEST(CarcassWindowPlace, SavedPlaceThenSecondScreenThenBesideThenCentred)
{
    // A 1024x768 screen with a 24-pixel panel at the top, frames of 4 pixels and a 24-pixel title.
    const ScreenArea small{QRect(0, 0, 1024, 768), QRect(0, 24, 1024, 744)};
    const ScreenArea wide{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080)};
    const ScreenArea facing{QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)};
    const QMargins frame(4, 24, 4, 4);
    const QSize designed(560, 800);
    struct Case {
        const char* what;
        QList<ScreenArea> screens;
        int mainScreen;
        QRect mainFrame;
        std::optional<QRect> saved;
        QRect expected;
        bool fullScreen;
    };
    // clang-format off
    const Case cases[] = {
        {"saved place, wholly on the screen", {wide}, 0, QRect(0, 0, 1200, 900), QRect(100, 100, 500, 600),
         QRect(100, 100, 500, 600), false},
        {"saved place on a screen no longer there: second screen", {wide, facing}, 0, QRect(0, 0, 1200, 900),
         QRect(3300, 100, 500, 600), QRect(1920, 0, 1280, 1024), true},
        {"saved place partly off the screen: beside the main window", {wide}, 0, QRect(0, 0, 1200, 900),
         QRect(1700, 100, 500, 600), QRect(1212, 24, 560, 800), false},
        {"second screen, main window on the first", {wide, facing}, 0, QRect(0, 0, 1200, 900), std::nullopt,
         QRect(1920, 0, 1280, 1024), true},
        {"second screen, main window on the second", {wide, facing}, 1, QRect(1920, 0, 1200, 900), std::nullopt,
         QRect(0, 0, 1920, 1080), true},
        {"one wide screen: beside, on the right", {wide}, 0, QRect(0, 0, 1200, 900), std::nullopt,
         QRect(1212, 24, 560, 800), false},
        {"one wide screen: beside, on the left", {wide}, 0, QRect(700, 100, 1200, 900), std::nullopt,
         QRect(128, 124, 560, 800), false},
        {"1024x768: no room beside, centred and as high as the screen allows", {small}, 0,
         QRect(0, 24, 1024, 744), std::nullopt, QRect(232, 48, 560, 716), false},
        {"1024x768, the main window at its default size: narrower beside it, not over the grid", {small}, 0,
         QRect(0, 24, 748, 624), std::nullopt, QRect(760, 48, 260, 716), false},
        {"the main window on the right: narrower on its left", {small}, 0,
         QRect(276, 24, 748, 624), std::nullopt, QRect(4, 48, 260, 716), false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CarcassWindowPlace place =
            PlaceCarcassWindow({c.screens, c.mainScreen, c.mainFrame, frame, designed, c.saved, QSize(196, 280)});
        EXPECT_EQ(place.geometry, c.expected);
        EXPECT_EQ(place.fullScreen, c.fullScreen);
    }
}

// Two separate X screens both start at 0,0: the place names its screen, not only a geometry.
TEST(CarcassWindowPlace, OnSeparateXScreensThePlaceNamesItsScreen)
{
    const QList<ScreenArea> screens{{QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768)},
                                    {QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1024)}};
    const QMargins frame(4, 24, 4, 4);
    const CarcassWindowPlace line =
        PlaceCarcassWindow({screens, 0, QRect(0, 0, 748, 624), frame, QSize(560, 800), std::nullopt, QSize(196, 280)});
    EXPECT_EQ(line.screen, 1);
    EXPECT_TRUE(line.fullScreen);
    EXPECT_EQ(line.geometry, QRect(0, 0, 1280, 1024));
    // A place left on the main window's screen stays there, though the other screen holds it too.
    const CarcassWindowPlace left = PlaceCarcassWindow(
        {screens, 0, QRect(0, 0, 748, 624), frame, QSize(560, 800), QRect(760, 48, 240, 600), QSize(196, 280)});
    EXPECT_EQ(left.screen, 0);
    EXPECT_EQ(left.geometry, QRect(760, 48, 240, 600));
}
