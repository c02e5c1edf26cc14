#include "charts/SummaryChartLayout.h"

#include <QRect>
#include <algorithm>

namespace {

// A figure is judged by the smaller of its height and its width over this ratio: bars and axis
// labels need width, but a flat figure is no easier to read.
constexpr double kPreferredRatio = 1.4;

double Fitness(const QRectF& r)
{
    return std::min(r.height(), r.width() / kPreferredRatio);
}

} // namespace

SummaryFigureRects ArrangeSummaryFigures(QSizeF size, bool withWeight, double gap)
{
    const double w = size.width();
    const double h = size.height();
    const int small = withWeight ? 2 : 1;

    // Side by side: each small figure one share, the histogram two.
    SummaryFigureRects row;
    const double share = w / (small + 2);
    row.classes = QRectF(0, 0, share, h);
    if (withWeight)
        row.weight = QRectF(share, 0, share, h);
    row.leanMeat = QRectF(share * small, 0, share * 2, h);

    // Stacked: the small figures share the top half, the histogram takes the bottom half.
    SummaryFigureRects stack;
    stack.classes = QRectF(0, 0, w / small, h / 2);
    if (withWeight)
        stack.weight = QRectF(w / 2, 0, w / 2, h / 2);
    stack.leanMeat = QRectF(0, h / 2, w, h / 2);

    auto worst = [&](const SummaryFigureRects& r) {
        double least = std::min(Fitness(r.classes), Fitness(r.leanMeat));
        if (withWeight)
            least = std::min(least, Fitness(r.weight));
        return least;
    };
    SummaryFigureRects chosen = worst(row) >= worst(stack) ? row : stack;
    for (QRectF* r : {&chosen.classes, &chosen.leanMeat, &chosen.weight}) {
        if (!r->isEmpty())
            *r = r->adjusted(gap, gap, -gap, -gap);
    }
    return chosen;
}

PaneAndCharts SharePaneArea(QRect area, int textWidth, int minimumChartWidth, int lowest)
{
    // Beside: the text keeps what its lines need, the charts take the rest.
    if (area.width() - textWidth >= minimumChartWidth) {
        QRect pane = area;
        pane.setWidth(textWidth);
        QRect charts = area;
        charts.setLeft(pane.right() + 1);
        return {pane, charts};
    }
    // Below: a narrow window gives the text the upper two fifths, enough for the summary's rows
    // when scrolled, and the charts the rest at full width.
    QRect pane = area;
    pane.setHeight(area.height() * 2 / 5);
    QRect charts = area;
    charts.setTop(pane.bottom() + 1);
    charts.setBottom(std::max(area.bottom(), lowest));
    return {pane, charts};
}
