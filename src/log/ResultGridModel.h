#pragma once
// The result grid's data: a header row of titles and result rows of texts, built for logs of
// 100,000 rows and more. Row numbers are the station's: row 0 is the header row, results start
// at row 1.

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultGridModel(QObject* parent = nullptr);

    // Column titles (row 0); the column count follows them.
    void SetColumnTitles(const QStringList& titles);
    QStringList ColumnTitles() const { return titles_; }
    int Columns() const { return static_cast<int>(titles_.size()); }
    // Rows including the header row (1 = header only).
    int Rows() const { return static_cast<int>(rows_.size()) + 1; }
    void SetRows(int rowsIncludingHeader);
    // Appends one empty row and returns its station row number.
    int AppendRow();
    // Cell text; a cell outside the grid is ignored / empty.
    void SetCell(int row, int column, const QString& text, bool red = false);
    QString Cell(int row, int column) const;
    bool CellRed(int row, int column) const;

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // One result row; cells beyond the grid's columns are not shown.
    struct Row {
        QStringList cells;
        unsigned redMask = 0;  // bit i: cell i marked red
    };
    // Replaces all result rows at once (one model reset): loading a large log stays fast.
    void ReplaceRows(std::vector<Row> rows);
    // Red marks are kept for this many columns; every template has fewer.
    static constexpr int kMaxRedColumns = 32;
    // Qt::TextAlignmentRole value of a column (cells and title alike).
    static int ColumnAlignment(int column);

private:
    QStringList titles_;
    std::vector<Row> rows_;
};
