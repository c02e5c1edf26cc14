#pragma once
// The result grid's data: a header row of titles and result rows, built for logs of a million
// rows. Row numbers are the station's: row 0 is the header row, results start at row 1.
//
// Rows are kept compactly: a loaded log is held once as the file's bytes, each row pointing at
// its line; a live result row points at its text in one growing buffer. Cells are cut from
// those texts only when a row is shown. Only rows whose cells were set one by one hold cells.

#include "log/StoredLine.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>
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
    // The texts of columns 0 .. Columns() - 1 of a row.
    QStringList RowCells(int row) const;

    // Replaces all result rows by the record lines of a log file (every line after the header
    // line), shown through `templateNumber`. Row r is line r + 1 of the file, also when a line
    // fills no cell. One model reset.
    void ReplaceWithLog(const QByteArray& logBytes, int templateNumber);
    // Appends a row for a text shown live (a display line, or a message whose whole text goes
    // to the first cell, marked red); returns its station row number.
    int AppendShownText(std::string_view shownText);
    // Removes one result row; the rows below move up.
    void RemoveResultRow(int row);
    // The log line a loaded row came from (with its line end); nullopt for other rows.
    std::optional<std::string_view> LoadedLine(int row) const;
    // A message row: its first cell is marked red and its text reads across the row.
    bool IsMessageRow(int row) const { return CellRed(row, 0); }

    // The cells a stored line fills in a grid of `columns` columns (load rules), red mark of
    // cell 0 in `firstRed`.
    static QStringList CellsOfStoredLine(std::string_view line, int templateNumber, int columns,
                                         bool* firstRed = nullptr);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // One result row given cell by cell; cells beyond the grid's columns are not shown.
    struct Row {
        QStringList cells;
        unsigned redMask = 0; // bit i: cell i marked red
    };
    // Replaces all result rows at once (one model reset).
    void ReplaceRows(std::vector<Row> rows);
    // Red marks are kept for this many columns; every template has fewer.
    static constexpr int kMaxRedColumns = 32;
    // Qt::TextAlignmentRole value of a column (cells and title alike).
    static int ColumnAlignment(int column);

private:
    enum class Source : quint8 {
        Blank,  // an empty row
        Stored, // a line of the loaded log (`kind` says which)
        Shown,  // a text shown live, in shown_
        Cells,  // cells set one by one, in cellRows_
    };
    struct Entry {
        qint64 start = 0; // Stored: offset in log_; Shown: offset in shown_; Cells: index
        quint32 length = 0;
        Source source = Source::Blank;
        StoredLineKind kind = StoredLineKind::Empty;
        quint8 columnLimit = 255; // cells from this column on were cut by a narrower grid
    };

    const Entry* EntryOf(int row) const;
    // Cells and red marks of a row, cut to the grid and to the row's column limit.
    void Compute(int row, QStringList& cells, unsigned& red) const;
    const QStringList& CachedCells(int row, unsigned& red) const;
    unsigned RedMaskOf(const Entry& entry) const;
    void Invalidate() const { cachedRow_ = -1; }
    void ToCells(int row);

    QStringList titles_;
    std::vector<Entry> rows_;
    QByteArray log_;            // the loaded log file, once for all its rows
    int logTemplate_ = 0;       // the template its rows are shown through
    std::string shown_;         // texts of live rows, one after the other
    std::vector<Row> cellRows_; // rows set cell by cell

    mutable int cachedRow_ = -1;
    mutable QStringList cachedCells_;
    mutable unsigned cachedRed_ = 0;
};

// The grid printed to a text file: every row from the titles (row 0) on, each cell's text
// followed by one space, the row ended by CR LF; then `summaryText` and CR LF when it is not
// empty. Latin-1 bytes.
std::string GridAsText(const ResultGridModel& grid, const std::string& summaryText);
