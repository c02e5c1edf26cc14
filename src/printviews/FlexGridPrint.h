#pragma once
// Printing the result grid as a picture, page by page, on any paged paint device (a printer, a
// PDF file), and plain text pages after it (the class summary).

#include <QFont>
#include <QPageLayout>
#include <QString>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class ResultGridModel;

// How the grid looks on paper: the printer font and each column's width in twips (as wide as the
// operator sees it on screen).
struct GridPrintLayout {
    QFont font;
    std::vector<double> columnTwips;
    // Under every page, with "Page n of m" on the right (the log's name and the date); none when
    // empty.
    QString footer = {};
};

// The rows one page takes.
struct PageBand {
    int firstRow = 0;
    int rowCount = 0;
    bool operator==(const PageBand&) const = default;
};

// Splits all rows into pages. A page takes whole rows while their heights plus twice the top
// border stay within the page height (plus the repeated rows' height on every page after the
// first), and no more than `maxRowsPerPage` rows unless that is -1. A row that would overflow
// starts the next page; a row taller than a whole page still gets a page of its own.
std::vector<PageBand> PaginateRows(const std::vector<double>& rowHeights, double pageHeight, double topBorder,
                                   int maxRowsPerPage, double repeatedHeight = 0);

// Prints every row of the grid (row 0, the titles, first) on `device`, on which `painter` is
// active and positioned on a fresh page. Each page is set to `lOrientation`; the grid's picture
// stands `lTopBorder` twips below the page's top and `lLeftBorder` twips from its left, is
// scaled down when it is wider than the page, and the first `lRowsToRepeat` rows are repeated at
// the top of every page after the first. Lengths in twips. True when every row was printed;
// the painter is left on the last page drawn.
bool FlexGridPrint(QPagedPaintDevice& device, QPainter& painter, const ResultGridModel& grid,
                   const GridPrintLayout& layout, QPageLayout::Orientation lOrientation, int lMaxRowsPerPage,
                   double lTopBorder, double lLeftBorder, int lRowsToRepeat);

// Prints `text` (lines ended by CR LF or LF) starting on a new page, in `font`, continuing on
// further pages as needed. False when the device refused a page.
bool PrintTextPages(QPagedPaintDevice& device, QPainter& painter, const QString& text, const QFont& font,
                    double topBorderTwips, double leftBorderTwips);
