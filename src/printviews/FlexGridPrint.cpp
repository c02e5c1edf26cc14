#include "printviews/FlexGridPrint.h"

#include "logviews/ResultGridModel.h"
#include "widgets/Twips.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace {

const QColor kTitleBackground(225, 225, 225);
const QColor kLines(120, 120, 120);
const QColor kRed(255, 0, 0);

// Rows stand a little taller than their text, as on screen.
constexpr double kRowHeightPerLine = 1.4;

double UnitsPerTwipX(const QPaintDevice& device)
{
    return device.logicalDpiX() / kTwipsPerInch;
}
double UnitsPerTwipY(const QPaintDevice& device)
{
    return device.logicalDpiY() / kTwipsPerInch;
}

// The grid's picture in device units, before it is scaled to the page.
struct GridPicture {
    const ResultGridModel& grid;
    QFont font;
    QFont titleFont;
    std::vector<double> columnWidths;
    double width = 0;
    double rowHeight = 0;
};

GridPicture Measure(const QPaintDevice& device, const ResultGridModel& grid, const GridPrintLayout& layout)
{
    GridPicture picture{grid, layout.font, layout.font, {}, 0, 0};
    picture.titleFont.setBold(true);
    const QFontMetricsF metrics(layout.font, &device);
    picture.rowHeight = metrics.height() * kRowHeightPerLine;
    for (int column = 0; column < grid.Columns(); ++column) {
        const double twips = column < static_cast<int>(layout.columnTwips.size()) ? layout.columnTwips[column] : 0;
        // A column never prints narrower than its title or its widest value (a message row reads
        // across the row and is not measured).
        double fit = QFontMetricsF(picture.titleFont, &device).horizontalAdvance(grid.Cell(0, column));
        for (int row = 1; row < grid.Rows(); ++row) {
            if (!grid.CellRed(row, 0))
                fit = std::max(fit, metrics.horizontalAdvance(grid.Cell(row, column)));
        }
        fit += metrics.averageCharWidth() * 2;
        picture.columnWidths.push_back(std::max(twips * UnitsPerTwipX(device), fit));
        picture.width += picture.columnWidths.back();
    }
    return picture;
}

void DrawRow(QPainter& painter, const GridPicture& picture, int row, double y)
{
    const double h = picture.rowHeight;
    const double pad = h * 0.15;
    const ResultGridModel& grid = picture.grid;
    painter.setFont(row == 0 ? picture.titleFont : picture.font);

    // A message row reads across the whole row, as on screen.
    if (row > 0 && grid.CellRed(row, 0)) {
        const QRectF cell(0, y, picture.width, h);
        painter.setPen(kLines);
        painter.drawRect(cell);
        painter.setPen(kRed);
        painter.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         grid.Cell(row, 0));
        return;
    }
    double x = 0;
    for (int column = 0; column < grid.Columns(); ++column) {
        const QRectF cell(x, y, picture.columnWidths[column], h);
        if (row == 0)
            painter.fillRect(cell, kTitleBackground);
        painter.setPen(kLines);
        painter.drawRect(cell);
        painter.setPen(grid.CellRed(row, column) ? kRed : QColor(Qt::black));
        painter.drawText(cell.adjusted(pad, 0, -pad, 0), ResultGridModel::ColumnAlignment(column) | Qt::TextSingleLine,
                         grid.Cell(row, column));
        x += picture.columnWidths[column];
    }
}

} // namespace

std::vector<PageBand> PaginateRows(const std::vector<double>& rowHeights, double pageHeight, double topBorder,
                                   int maxRowsPerPage, double repeatedHeight)
{
    std::vector<PageBand> pages;
    const int rows = static_cast<int>(rowHeights.size());
    int row = 0;
    while (row < rows) {
        const double room = pageHeight - 2 * topBorder - (pages.empty() ? 0 : repeatedHeight);
        PageBand band{row, 0};
        double used = 0;
        while (row < rows && (maxRowsPerPage == -1 || band.rowCount < maxRowsPerPage)) {
            if (band.rowCount > 0 && used + rowHeights[row] > room)
                break;
            used += rowHeights[row];
            ++band.rowCount;
            ++row;
        }
        pages.push_back(band);
    }
    return pages;
}

bool FlexGridPrint(QPagedPaintDevice& device, QPainter& painter, const ResultGridModel& grid,
                   const GridPrintLayout& layout, QPageLayout::Orientation lOrientation, int lMaxRowsPerPage,
                   double lTopBorder, double lLeftBorder, int lRowsToRepeat)
{
    const GridPicture picture = Measure(device, grid, layout);
    const double top = lTopBorder * UnitsPerTwipY(device);
    const double left = lLeftBorder * UnitsPerTwipX(device);
    // Wider than the page: scaled down so that no column is cut off. The right border is the left's.
    const double room = device.width() - 2 * left;
    const double scale = picture.width > room && picture.width > 0 ? room / picture.width : 1.0;

    const int rows = grid.Rows();
    const int repeated = std::clamp(lRowsToRepeat, 0, rows);
    const std::vector<double> heights(static_cast<size_t>(rows), picture.rowHeight * scale);
    const std::vector<PageBand> pages =
        PaginateRows(heights, device.height(), top, lMaxRowsPerPage, repeated * picture.rowHeight * scale);

    for (size_t page = 0; page < pages.size(); ++page) {
        if (page > 0) {
            device.setPageOrientation(lOrientation);
            if (!device.newPage())
                return false;
        }
        painter.save();
        painter.translate(left, top);
        painter.scale(scale, scale);
        double y = 0;
        if (page > 0) {
            for (int row = 0; row < repeated; ++row, y += picture.rowHeight)
                DrawRow(painter, picture, row, y);
        }
        const PageBand& band = pages[page];
        for (int row = band.firstRow; row < band.firstRow + band.rowCount; ++row, y += picture.rowHeight)
            DrawRow(painter, picture, row, y);
        painter.restore();
        if (!layout.footer.isEmpty()) {
            // In the bottom border, as far from the rows as from the page's edge.
            painter.save();
            painter.setFont(layout.font);
            painter.setPen(Qt::black);
            const QFontMetricsF metrics(layout.font, &device);
            const QRectF line(left, device.height() - (top + metrics.height()) / 2, device.width() - 2 * left,
                              metrics.height());
            painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, layout.footer);
            painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                             QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size()));
            painter.restore();
        }
    }
    return true;
}

bool PrintTextPages(QPagedPaintDevice& device, QPainter& painter, const QString& text, const QFont& font,
                    double topBorderTwips, double leftBorderTwips)
{
    const double top = topBorderTwips * UnitsPerTwipY(device);
    const double left = leftBorderTwips * UnitsPerTwipX(device);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, &device);
    QString lines = text;
    lines.remove(QLatin1Char('\r'));

    if (!device.newPage())
        return false;
    double y = top;
    for (const QString& line : lines.split(QLatin1Char('\n'))) {
        if (y > top && y + metrics.lineSpacing() > device.height() - top) {
            if (!device.newPage())
                return false;
            y = top;
        }
        painter.drawText(QPointF(left, y + metrics.ascent()), line);
        y += metrics.lineSpacing();
    }
    return true;
}
