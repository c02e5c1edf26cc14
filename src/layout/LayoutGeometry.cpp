#include "layout/LayoutGeometry.h"

#include <algorithm>

ViewGeometry ComputeViewGeometry(const LayoutInput& in)
{
    const double hf = in.outerHeight;
    const double hs = in.statusFrameHeight;
    const double hb = in.statusBarHeight;
    // Everything in the detail layout moves down by the Result frame's height.
    const double hr = in.detail ? in.resultFrameHeight : 0.0;
    const bool onResize = in.trigger == LayoutTrigger::Resize;

    ViewGeometry g;
    if (!in.summary) {
        g.gridTop = hs + hr + 100;
        g.gridHeight = hf - (hb + hs + hr + 1250);
    } else {
        // The compact layout tucks the grid a little higher when resized.
        g.gridTop = (onResize && !in.detail) ? hs + 40 : hs + hr + 100;
        // Switched on, the grid keeps two fifths of the window, the pane the rest.
        g.gridHeight = (onResize || in.trigger == LayoutTrigger::PaneSwitch) ? hf / 2.5 : hf / 2;
        g.terminalPlaced = true;
        const double gap = (onResize && in.detail) ? 370 : 150;
        g.terminalTop = g.gridHeight + hs + hr + gap;
        g.terminalHeight = hf - (hb + g.gridHeight + hs + hr + 1250);
    }
    g.gridHeight = std::max(0.0, g.gridHeight);
    g.terminalHeight = std::max(0.0, g.terminalHeight);
    return g;
}
