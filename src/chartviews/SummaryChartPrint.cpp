#include "chartviews/SummaryChartPrint.h"

#include "chartviews/SummaryChartScene.h"

#include <QApplication>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

// Scene units across the page: the charts are laid out at this width and scaled onto the paper.
constexpr double kSceneWidth = 1000;

} // namespace

bool PrintSummaryCharts(QPagedPaintDevice& device, QPainter& painter, const SummaryChartData& data, double borderTwips,
                        double pointSize)
{
    if (!device.newPage())
        return false;
    const double border = borderTwips / 1440.0 * device.logicalDpiX();
    const QRectF page(border, border, device.width() - 2 * border, device.height() - 2 * border);
    if (page.width() <= 0 || page.height() <= 0)
        return true;
    // Text of `pointSize` on paper: the scene's units per inch follow from its width.
    const double unitsPerInch = kSceneWidth / (page.width() / device.logicalDpiX());
    QFont font = QApplication::font();
    font.setPixelSize(qMax(1, qRound(pointSize / 72.0 * unitsPerInch)));
    SummaryChartScene charts(font);
    // No taller than wide: on a portrait page the charts take its upper part.
    const double height = kSceneWidth * qMin(1.0, page.height() / page.width());
    charts.Show(data, QSizeF(kSceneWidth, height));
    charts.Render(painter, QRectF(page.topLeft(), QSizeF(page.width(), page.width() * height / kSceneWidth)));
    return true;
}
