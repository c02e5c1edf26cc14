#include "log/ResultGridCells.h"

#include "log/StoredLine.h"

#include <algorithm>
#include <optional>

namespace {

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The text before the first double space, and the text between it and the next one.
void SplitTimeDate(std::string_view text, std::string_view& time, std::optional<std::string_view>& date)
{
    const size_t first = text.find("  ");
    if (first == std::string_view::npos) {
        time = text;
        date.reset();
        return;
    }
    time = text.substr(0, first);
    const std::string_view rest = text.substr(first + 2);
    date = rest.substr(0, rest.find("  "));
}

} // namespace

void PutCell(QStringList& cells, int column, std::string_view text)
{
    if (column < cells.size() && !text.empty())
        cells[column] = Latin1(text);
}

void CellsOfDisplayLine(std::string_view display, QStringList& cells, unsigned& red)
{
    const std::string_view first = display.substr(0, display.find(','));
    std::string_view time;
    std::optional<std::string_view> date;
    SplitTimeDate(first, time, date);
    if (date)
        PutCell(cells, 1, WithoutLineEndView(*date));
    if (time == "Cancel") {
        PutCell(cells, 0, WithoutLineEndView(first));
        red = 1;
        return;
    }
    PutCell(cells, 0, WithoutLineEndView(time));
    ForEachPiece(display, ',', [&](int index, std::string_view piece) {
        if (index == 0)
            return true;
        if (index + 1 >= cells.size())
            return false;
        PutCell(cells, index + 1, WithoutLineEndView(piece));
        return true;
    });
}

void CellsOfShownText(std::string_view text, QStringList& cells, unsigned& red)
{
    const long commas = std::count(text.begin(), text.end(), ',');
    if (commas < 3) {
        PutCell(cells, 0, WithoutLineEndView(text.substr(0, text.find(','))));
        red = 1;
        return;
    }
    std::string_view time;
    std::optional<std::string_view> date;
    SplitTimeDate(text.substr(0, text.find(',')), time, date);
    PutCell(cells, 0, time);
    if (date)
        PutCell(cells, 1, *date);
    ForEachPiece(text, ',', [&](int index, std::string_view piece) {
        if (index == 0)
            return true;
        if (index >= commas || index + 1 >= cells.size())
            return false;
        PutCell(cells, index + 1, piece);
        return true;
    });
}
