#pragma once
// Where each of the summary's figures goes in the space given to them: the class chart and (with
// weight) the average weight chart, and the lean meat % histogram, which wants the most width.
// Pure arithmetic, so that it is checked without drawing.

#include <QRect>
#include <QRectF>
#include <QSizeF>

struct SummaryFigureRects {
    QRectF classes;
    QRectF leanMeat;
    QRectF weight; // empty without weight
};

// Either all figures side by side (a wide space) or the small ones above the histogram, whichever
// leaves the smallest figure the larger; each figure keeps `gap` around it.
SummaryFigureRects ArrangeSummaryFigures(QSizeF size, bool withWeight, double gap);

// How the station window shares the terminal pane's area between the summary text and the
// charts: beside the text when both fit, below it when the window is narrow.
struct PaneAndCharts {
    QRect pane;
    QRect charts;
};
// `area`: where the pane alone would go; `textWidth`: what the summary's table needs. Below the
// text the charts reach down to `lowest` (the last row the window leaves free under the pane)
// when that is lower than the area.
PaneAndCharts SharePaneArea(QRect area, int textWidth, int minimumChartWidth, int lowest);
