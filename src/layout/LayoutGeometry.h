#pragma once
// Where the result grid and the terminal pane go, in twips, for each layout of the main window.
// Pure arithmetic so that it can be checked without a window.

// A layout is placed by the cmdHide toggle, by a resize, or when the summary (or a viewed log)
// brings the pane in; with the pane shown the three differ slightly, as the station always did.
enum class LayoutTrigger { Toggle, Resize, PaneSwitch };

struct LayoutInput {
    double outerHeight = 0;       // Hf: the window's outer height
    double statusFrameHeight = 0; // Hs: statusFrame
    double resultFrameHeight = 0; // Hr: frResult
    double statusBarHeight = 0;   // Hb: stbr
    bool detail = false;          // detail frames shown
    bool summary = false;         // class summary shown: terminal pane under the grid
    LayoutTrigger trigger = LayoutTrigger::Toggle;
};

struct ViewGeometry {
    double gridTop = 0;
    double gridHeight = 0;
    // Only meaningful when `terminalPlaced`: the pane is placed only while the summary shows.
    bool terminalPlaced = false;
    double terminalTop = 0;
    double terminalHeight = 0;
};

// Heights never come out below 0 (a window far below its minimum height).
ViewGeometry ComputeViewGeometry(const LayoutInput& in);

// Every view is this wide: 0.99 of the window's inner width.
inline double ViewWidth(double innerWidth)
{
    return 0.99 * innerWidth;
}

// Designed measures, twips.
constexpr double kViewLeft = 40;             // statusFrame left edge, and every view's
constexpr double kMinimumInnerWidth = 11220; // the window springs back to these
constexpr double kMinimumInnerHeight = 9355;
constexpr double kMainGeometryMinHeight = 1000; // "Main*" keys only above this outer height
