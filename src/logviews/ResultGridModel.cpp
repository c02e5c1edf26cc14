#include "logviews/ResultGridModel.h"

#include "log/LogFileText.h"
#include "log/ResultGridCells.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

// Station row r (r >= 1) is model row r - 1: the header row is the view's horizontal header.

namespace {

constexpr quint8 kNoLimit = 255;

} // namespace

ResultGridModel::ResultGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

QStringList ResultGridModel::CellsOfStoredLine(std::string_view line, int templateNumber, int columns, bool* firstRed)
{
    QStringList cells(std::max(columns, 0));
    unsigned red = 0;
    switch (KindOfStoredLine(line)) {
    case StoredLineKind::Empty: break;
    case StoredLineKind::Message:
        PutCell(cells, 0, MessageOfStoredLine(line));
        red = 1;
        break;
    case StoredLineKind::Result:
    case StoredLineKind::Cancel: {
        StoredFields fields;
        SplitStoredLine(line, fields);
        std::string display;
        AppendDisplayLine(display, fields, templateNumber);
        CellsOfDisplayLine(display, cells, red);
        break;
    }
    }
    if (firstRed)
        *firstRed = red != 0 && columns > 0;
    return cells;
}

void ResultGridModel::SetColumnTitles(const QStringList& titles)
{
    beginResetModel();
    titles_ = titles;
    // Cells of columns the grid no longer has are gone, as with any grid that loses columns.
    const qsizetype columns = titles_.size();
    const auto limit = static_cast<quint8>(std::min<qsizetype>(columns, kNoLimit - 1));
    for (Entry& entry : rows_) {
        if (entry.source == Source::Cells) {
            Row& row = cellRows_[static_cast<size_t>(entry.start)];
            if (row.cells.size() > columns)
                row.cells.resize(columns);
            if (columns < kMaxRedColumns)
                row.redMask &= (1u << columns) - 1u;
        } else {
            entry.columnLimit = std::min(entry.columnLimit, limit);
        }
    }
    Invalidate();
    endResetModel();
}

void ResultGridModel::SetRows(int rowsIncludingHeader)
{
    const int wanted = std::max(rowsIncludingHeader - 1, 0);
    const int current = static_cast<int>(rows_.size());
    if (wanted > current) {
        beginInsertRows(QModelIndex(), current, wanted - 1);
        rows_.resize(static_cast<size_t>(wanted));
        endInsertRows();
    } else if (wanted < current) {
        beginRemoveRows(QModelIndex(), wanted, current - 1);
        rows_.resize(static_cast<size_t>(wanted));
        if (rows_.empty()) {
            // Nothing points into the buffers any more.
            log_.clear();
            shown_.clear();
            cellRows_.clear();
        }
        Invalidate();
        endRemoveRows();
    }
}

int ResultGridModel::AppendRow()
{
    const int modelRow = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), modelRow, modelRow);
    rows_.emplace_back();
    endInsertRows();
    return modelRow + 1;
}

int ResultGridModel::AppendShownText(std::string_view shownText)
{
    Entry entry;
    entry.source = Source::Shown;
    entry.start = static_cast<qint64>(shown_.size());
    entry.length = static_cast<quint32>(shownText.size());
    shown_.append(shownText);
    const int modelRow = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), modelRow, modelRow);
    rows_.push_back(entry);
    endInsertRows();
    return modelRow + 1;
}

void ResultGridModel::ReplaceWithLog(const QByteArray& logBytes, int templateNumber)
{
    beginResetModel();
    rows_.clear();
    shown_.clear();
    cellRows_.clear();
    log_ = logBytes;
    logTemplate_ = templateNumber;
    const std::string_view text = BytesView(log_);
    rows_.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    ForEachRecordLine(text, [this](size_t offset, std::string_view line) {
        Entry entry;
        entry.source = Source::Stored;
        entry.start = static_cast<qint64>(offset);
        entry.length = static_cast<quint32>(std::min<size_t>(line.size(), UINT32_MAX));
        entry.kind = KindOfStoredLine(line);
        rows_.push_back(entry);
    });
    rows_.shrink_to_fit();
    Invalidate();
    endResetModel();
}

void ResultGridModel::ReplaceRows(std::vector<Row> rows)
{
    beginResetModel();
    log_.clear();
    shown_.clear();
    cellRows_ = std::move(rows);
    rows_.assign(cellRows_.size(), Entry{});
    for (size_t i = 0; i < rows_.size(); ++i) {
        rows_[i].source = Source::Cells;
        rows_[i].start = static_cast<qint64>(i);
    }
    Invalidate();
    endResetModel();
}

void ResultGridModel::RemoveResultRow(int row)
{
    if (row < 1 || row > static_cast<int>(rows_.size()))
        return;
    beginRemoveRows(QModelIndex(), row - 1, row - 1);
    rows_.erase(rows_.begin() + (row - 1));
    Invalidate();
    endRemoveRows();
}

std::optional<std::string_view> ResultGridModel::LoadedLine(int row) const
{
    const Entry* entry = EntryOf(row);
    if (!entry || entry->source != Source::Stored)
        return std::nullopt;
    return BytesView(log_).substr(static_cast<size_t>(entry->start), entry->length);
}

const ResultGridModel::Entry* ResultGridModel::EntryOf(int row) const
{
    if (row < 1 || row > static_cast<int>(rows_.size()))
        return nullptr;
    return &rows_[static_cast<size_t>(row - 1)];
}

void ResultGridModel::ToCells(int row)
{
    Entry& entry = rows_[static_cast<size_t>(row - 1)];
    if (entry.source == Source::Cells)
        return;
    Row cells;
    Compute(row, cells.cells, cells.redMask);
    entry.source = Source::Cells;
    entry.start = static_cast<qint64>(cellRows_.size());
    entry.columnLimit = kNoLimit;
    cellRows_.push_back(std::move(cells));
}

void ResultGridModel::SetCell(int row, int column, const QString& text, bool red)
{
    if (column < 0 || column >= Columns())
        return;
    if (row == 0) {
        titles_[column] = text;
        emit headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    if (!EntryOf(row))
        return;
    ToCells(row);
    Row& target = cellRows_[static_cast<size_t>(rows_[static_cast<size_t>(row - 1)].start)];
    if (target.cells.size() <= column)
        target.cells.resize(column + 1);
    target.cells[column] = text;
    if (column < kMaxRedColumns) {
        const unsigned bit = 1u << column;
        target.redMask = red ? (target.redMask | bit) : (target.redMask & ~bit);
    }
    Invalidate();
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed);
}

void ResultGridModel::Compute(int row, QStringList& cells, unsigned& red) const
{
    const int columns = Columns();
    cells = QStringList(columns);
    red = 0;
    const Entry& entry = rows_[static_cast<size_t>(row - 1)];
    switch (entry.source) {
    case Source::Blank: return;
    case Source::Cells: {
        const Row& given = cellRows_[static_cast<size_t>(entry.start)];
        for (int c = 0; c < columns && c < given.cells.size(); ++c)
            cells[c] = given.cells[c];
        red = given.redMask;
        break;
    }
    case Source::Shown:
        CellsOfShownText(std::string_view(shown_).substr(static_cast<size_t>(entry.start), entry.length), cells, red);
        break;
    case Source::Stored: {
        const std::string_view line = BytesView(log_).substr(static_cast<size_t>(entry.start), entry.length);
        bool firstRed = false;
        cells = CellsOfStoredLine(line, logTemplate_, columns, &firstRed);
        red = firstRed ? 1u : 0u;
        break;
    }
    }
    const int limit = std::min<int>(columns, entry.columnLimit);
    for (int c = limit; c < columns; ++c)
        cells[c].clear();
    if (limit < kMaxRedColumns)
        red &= (1u << limit) - 1u;
}

const QStringList& ResultGridModel::CachedCells(int row, unsigned& red) const
{
    // A view asks for every role of every cell of a row in turn; cut the row once.
    if (cachedRow_ != row) {
        Compute(row, cachedCells_, cachedRed_);
        cachedRow_ = row;
    }
    red = cachedRed_;
    return cachedCells_;
}

unsigned ResultGridModel::RedMaskOf(const Entry& entry) const
{
    unsigned red = 0;
    switch (entry.source) {
    case Source::Blank: break;
    case Source::Cells: red = cellRows_[static_cast<size_t>(entry.start)].redMask; break;
    case Source::Shown: {
        const std::string_view text = std::string_view(shown_).substr(static_cast<size_t>(entry.start), entry.length);
        red = std::count(text.begin(), text.end(), ',') < 3 ? 1u : 0u;
        break;
    }
    case Source::Stored:
        red = entry.kind == StoredLineKind::Cancel || entry.kind == StoredLineKind::Message ? 1u : 0u;
        break;
    }
    const int limit = std::min<int>(Columns(), entry.columnLimit);
    if (limit < kMaxRedColumns)
        red &= (1u << limit) - 1u;
    return red;
}

QString ResultGridModel::Cell(int row, int column) const
{
    if (column < 0 || column >= Columns())
        return {};
    if (row == 0)
        return titles_[column];
    if (!EntryOf(row))
        return {};
    unsigned red = 0;
    return CachedCells(row, red)[column];
}

bool ResultGridModel::CellRed(int row, int column) const
{
    const Entry* entry = EntryOf(row);
    if (!entry || column < 0 || column >= Columns() || column >= kMaxRedColumns)
        return false;
    return (RedMaskOf(*entry) >> column) & 1u;
}

QStringList ResultGridModel::RowCells(int row) const
{
    if (row == 0)
        return titles_;
    if (!EntryOf(row))
        return {};
    unsigned red = 0;
    return CachedCells(row, red);
}

int ResultGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns();
}

int ResultGridModel::ColumnAlignment(int column)
{
    // Time and date read best flush left; the short values line up under their titles.
    if (column < 2)
        return (Qt::AlignLeft | Qt::AlignVCenter).toInt();
    return Qt::Alignment(Qt::AlignCenter).toInt();
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: return Cell(row, column);
    case Qt::ForegroundRole:
        if (CellRed(row, column))
            return QBrush(QColor(255, 0, 0));
        return {};
    case Qt::TextAlignmentRole: return ColumnAlignment(column);
    default: return {};
    }
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal)
        return ColumnAlignment(section);
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < Columns() ? titles_[section] : QVariant();
    return section + 1; // the station's row number
}

std::string GridAsText(const ResultGridModel& grid, const std::string& summaryText)
{
    std::string text;
    for (int row = 0; row < grid.Rows(); ++row) {
        for (int column = 0; column < grid.Columns(); ++column) {
            text += grid.Cell(row, column).toLatin1().toStdString();
            text += ' ';
        }
        text += "\r\n";
    }
    if (!summaryText.empty())
        text += summaryText + "\r\n";
    return text;
}
