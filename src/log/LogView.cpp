#include "log/LogView.h"

#include "log/LogRecordFormat.h"
#include "log/ResultGridModel.h"
#include "log/TerminalPane.h"
#include "resources/StringTable.h"
#include "resources/Twips.h"

#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string TrimSpaces(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The pane text of a load, gathered as runs of one colour so that the pane is filled in one
// edit however many lines the log holds.
class PaneBuilder {
public:
    void Add(std::string_view text, const QColor& colour)
    {
        if (colour != colour_)
            Flush();
        colour_ = colour;
        pending_.append(text);
    }
    void AddInCurrentColour(std::string_view text) { pending_.append(text); }
    std::vector<TerminalPane::Run> Finish()
    {
        Flush();
        return std::move(runs_);
    }

private:
    void Flush()
    {
        if (!pending_.empty())
            runs_.push_back({Latin1(pending_), colour_});
        pending_.clear();
    }
    std::vector<TerminalPane::Run> runs_;
    std::string pending_;
    QColor colour_ = QColor(0, 0, 0);
};

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);

// The pieces of `text` between `separator`s, as views into it (`pieces` is reused per line, so
// that a large log is split without an allocation per piece).
void SplitInto(std::string_view text, std::string_view separator, std::vector<std::string_view>& pieces)
{
    pieces.clear();
    size_t start = 0;
    for (;;) {
        const size_t found = text.find(separator, start);
        if (found == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return;
        }
        pieces.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

std::string_view WithoutLineEndView(std::string_view text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// Empty cells stay unallocated: most stored lines leave several columns empty.
void PutCell(ResultGridModel::Row& row, int column, std::string_view text, int columns)
{
    if (column >= columns || text.empty())
        return;
    if (row.cells.size() <= column)
        row.cells.resize(column + 1);
    row.cells[column] = Latin1(text);
}

// Grid row of a result or alert line, from its display line.
ResultGridModel::Row RowOfDisplayLine(std::string_view displayLine, int columns)
{
    thread_local std::vector<std::string_view> pieces;
    thread_local std::vector<std::string_view> timeDate;
    ResultGridModel::Row row;
    SplitInto(displayLine, ",", pieces);
    SplitInto(pieces[0], "  ", timeDate);
    // One allocation for the row's cells, up to its last value (piece i lands in column i + 1).
    size_t used = 2;
    for (size_t i = 1; i < pieces.size() && static_cast<int>(i) + 1 < columns; ++i) {
        if (!WithoutLineEndView(pieces[i]).empty())
            used = i + 2;
    }
    row.cells.resize(static_cast<qsizetype>(std::min(used, static_cast<size_t>(std::max(columns, 0)))));
    if (timeDate.size() > 1)
        PutCell(row, 1, WithoutLineEndView(timeDate[1]), columns);
    if (timeDate[0] == "Cancel") {
        // A cancel has no values: its whole text stands in the first cell, marked.
        PutCell(row, 0, WithoutLineEndView(pieces[0]), columns);
        row.redMask = columns > 0 ? 1u : 0u;
        return row;
    }
    PutCell(row, 0, WithoutLineEndView(timeDate[0]), columns);
    for (size_t i = 1; i < pieces.size() && static_cast<int>(i) + 1 < columns; ++i)
        PutCell(row, static_cast<int>(i) + 1, WithoutLineEndView(pieces[i]), columns);
    return row;
}

}  // namespace

std::string TemplateTitleString(int templateNumber)
{
    switch (templateNumber) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        return ResourceString(1110 + templateNumber);
    case 7:
        return ResourceString(1260);
    case 8:
        return ResourceString(1283);
    case 9:
        return ResourceString(1284);
    case 10:
        return "Time,Date,Colour,n/g";
    default:
        return {};
    }
}

std::string ApplyTemplate(ResultViews& views, int templateNumber)
{
    const std::string titleString = TemplateTitleString(templateNumber);
    const std::vector<std::string> titles =
        titleString.empty() ? std::vector<std::string>{} : SplitResultText(titleString, ",");

    QStringList columnTitles;
    std::string printHeaderLine;
    for (const std::string& title : titles) {
        const std::string trimmed = TrimSpaces(title);
        columnTitles.append(Latin1(trimmed));
        printHeaderLine += trimmed + "   ";
    }
    if (views.grid)
        views.grid->SetColumnTitles(columnTitles);

    if (views.gridView) {
        // The header row carries the titles; a row-number column is not part of the grid (and
        // re-measuring one for every appended row would slow the live results).
        views.gridView->verticalHeader()->hide();
        // Widths are laid out in twips against the grid's own width, so they scale with it.
        const double gridTwips = PixelsToTwipsX(*views.gridView, views.gridView->width());
        const QFontMetrics metrics(views.gridView->font());
        for (size_t i = 0; i < titles.size(); ++i) {
            const double twips = i < 2 ? gridTwips / 10.0
                                       : static_cast<double>(titles[i].size()) / 100.0 * gridTwips + 144.0;
            // Never narrower than what the column shows, so a value is read whole at a glance:
            // a time, a date, or a depth with its indicator.
            const char* widest = i == 0 ? "00:00:00" : i == 1 ? "00-00-0000" : "000.0 W";
            const int fit = std::max(metrics.horizontalAdvance(QLatin1String(widest)),
                                     metrics.horizontalAdvance(columnTitles[static_cast<int>(i)])) +
                            2 * metrics.averageCharWidth();
            views.gridView->setColumnWidth(
                static_cast<int>(i), std::max(fit, TwipsToPixelsX(*views.gridView, std::round(twips))));
        }
        views.gridView->horizontalHeader()->setStretchLastSection(true);
        SpanMessageRows(views);
    }
    return printHeaderLine;
}

std::optional<QString> LoadLogIntoView(ResultViews& views, const std::string& path, int templateNumber)
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    file.close();

    const std::string_view text(bytes.constData(), static_cast<size_t>(bytes.size()));
    const int columns = views.grid ? views.grid->Columns() : 0;

    // Line 1 is the header line.
    const size_t headerEnd = text.find('\n');
    size_t position = headerEnd == std::string_view::npos ? text.size() : headerEnd + 1;

    PaneBuilder pane;
    std::vector<ResultGridModel::Row> rows;
    // Grid row r stands for file line r + 1, also when a line fills no row.
    size_t row = 1;
    while (position < text.size()) {
        const size_t lineFeed = text.find('\n', position);
        const size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
        const std::string_view line = text.substr(position, end - position);

        if (line.front() == '\t') {
            const std::string displayLine = ReadDisplayLine(std::string(line), templateNumber);
            pane.Add(displayLine, kBlack);
            rows.resize(row);
            rows[row - 1] = RowOfDisplayLine(displayLine, columns);
        } else if (line.front() == '\r') {
            pane.AddInCurrentColour("\r\n");
        } else {
            // A line of the Error column: its first value, marked.
            const size_t tab = line.find('\t');
            const std::string_view value =
                tab == std::string_view::npos ? WithoutLineEndView(line) : line.substr(0, tab);
            rows.resize(row);
            PutCell(rows[row - 1], 0, value, columns);
            rows[row - 1].redMask = columns > 0 ? 1u : 0u;
            pane.Add(value, kRed);
            pane.AddInCurrentColour("\r\n");
        }
        position = end;
        ++row;
    }

    if (views.terminal) {
        views.terminal->SetContent(pane.Finish());
        views.terminal->MoveCaretToEnd();
    }
    if (views.grid)
        views.grid->ReplaceRows(std::move(rows));
    SpanMessageRows(views);
    if (GridHasScrollBar(views.gridView))
        ScrollGridToLastRow(views);
    return std::nullopt;
}
