#include "log/ResultGridModel.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

// Station row r (r >= 1) is model row r - 1: the header row is the view's horizontal header.

ResultGridModel::ResultGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void ResultGridModel::SetColumnTitles(const QStringList& titles)
{
    beginResetModel();
    titles_ = titles;
    // Cells of columns the grid no longer has are gone, as with any grid that loses columns.
    const qsizetype columns = titles_.size();
    for (Row& row : rows_) {
        if (row.cells.size() > columns)
            row.cells.resize(columns);
        if (columns < kMaxRedColumns)
            row.redMask &= (1u << columns) - 1u;
    }
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

void ResultGridModel::ReplaceRows(std::vector<Row> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
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
    if (row < 1 || row > static_cast<int>(rows_.size()))
        return;
    Row& target = rows_[static_cast<size_t>(row - 1)];
    if (target.cells.size() <= column)
        target.cells.resize(column + 1);
    target.cells[column] = text;
    if (column < kMaxRedColumns) {
        const unsigned bit = 1u << column;
        target.redMask = red ? (target.redMask | bit) : (target.redMask & ~bit);
    }
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed);
}

QString ResultGridModel::Cell(int row, int column) const
{
    if (column < 0 || column >= Columns())
        return {};
    if (row == 0)
        return titles_[column];
    if (row < 1 || row > static_cast<int>(rows_.size()))
        return {};
    const QStringList& cells = rows_[static_cast<size_t>(row - 1)].cells;
    return column < cells.size() ? cells[column] : QString();
}

bool ResultGridModel::CellRed(int row, int column) const
{
    if (row < 1 || row > static_cast<int>(rows_.size()) || column < 0 || column >= Columns()
        || column >= kMaxRedColumns)
        return false;
    return (rows_[static_cast<size_t>(row - 1)].redMask >> column) & 1u;
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
    case Qt::DisplayRole:
        return Cell(row, column);
    case Qt::ForegroundRole:
        if (CellRed(row, column))
            return QBrush(QColor(255, 0, 0));
        return {};
    case Qt::TextAlignmentRole:
        return ColumnAlignment(column);
    default:
        return {};
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
    return section + 1;  // the station's row number
}
