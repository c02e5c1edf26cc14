// The grid's data: station row numbers, cells, red marks, roles, bulk replacement.

#include "logviews/ResultGridModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class ResultGridModelTest : public ::testing::Test {
protected:
    ResultGridModelTest() { grid.SetColumnTitles({"Time", "Date", "Carcass#"}); }
    ResultGridModel grid;
    // Checks every change against the model rules the views rely on.
    QAbstractItemModelTester tester{&grid, QAbstractItemModelTester::FailureReportingMode::Warning};
};

TEST_F(ResultGridModelTest, CellsAreAddressedByStationRows)
{
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.rowCount(), 0);
    EXPECT_EQ(grid.AppendRow(), 1);
    EXPECT_EQ(grid.AppendRow(), 2);
    grid.SetCell(2, 1, "02-03-2024");
    grid.SetCell(1, 0, "Probe error", true);

    struct Case {
        int row;
        int column;
        QString text;
        bool red;
    };
    // clang-format off
    const Case cases[] = {
        {0, 0, "Time", false},        // the header row holds the titles
        {0, 2, "Carcass#", false},
        {1, 0, "Probe error", true},
        {2, 1, "02-03-2024", false},
        {2, 0, "", false},
        {3, 0, "", false},            // beyond the last row
        {-1, 0, "", false},
        {1, 3, "", false},            // beyond the last column
        {1, -1, "", false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << c.column);
        EXPECT_EQ(grid.Cell(c.row, c.column), c.text);
        EXPECT_EQ(grid.CellRed(c.row, c.column), c.red);
    }
    EXPECT_EQ(grid.data(grid.index(1, 1), Qt::DisplayRole).toString(), "02-03-2024");
}

TEST_F(ResultGridModelTest, WritesOutsideTheGridChangeNothing)
{
    grid.AppendRow();
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
    grid.SetCell(2, 0, "x");
    grid.SetCell(1, 3, "x");
    grid.SetCell(-5, 0, "x");
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Columns(), 3);
}

TEST_F(ResultGridModelTest, RedMarkCanBeClearedAndShowsAsRedText)
{
    grid.AppendRow();
    grid.SetCell(1, 2, "x", true);
    EXPECT_EQ(grid.data(grid.index(0, 2), Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    grid.SetCell(1, 2, "y");
    EXPECT_FALSE(grid.CellRed(1, 2));
    EXPECT_FALSE(grid.data(grid.index(0, 2), Qt::ForegroundRole).isValid());
}

TEST_F(ResultGridModelTest, TimeAndDateAreLeftAlignedTheRestCentred)
{
    grid.AppendRow();
    const int left = (Qt::AlignLeft | Qt::AlignVCenter).toInt();
    const int centre = Qt::Alignment(Qt::AlignCenter).toInt();
    const int expected[] = {left, left, centre};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(grid.data(grid.index(0, column), Qt::TextAlignmentRole).toInt(), expected[column]);
        EXPECT_EQ(grid.headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), expected[column]);
    }
    EXPECT_EQ(grid.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Date");
    EXPECT_EQ(grid.headerData(0, Qt::Vertical, Qt::DisplayRole).toInt(), 1);
}

TEST_F(ResultGridModelTest, FewerColumnsDropTheirCells)
{
    grid.AppendRow();
    grid.SetCell(1, 0, "a", true);
    grid.SetCell(1, 2, "c", true);
    grid.SetColumnTitles({"Time"});
    grid.SetColumnTitles({"Time", "Date", "Carcass#"});
    EXPECT_EQ(grid.Cell(1, 0), "a");
    EXPECT_TRUE(grid.CellRed(1, 0));
    EXPECT_EQ(grid.Cell(1, 2), "");
    EXPECT_FALSE(grid.CellRed(1, 2));
}

TEST_F(ResultGridModelTest, RowCountCanGrowShrinkAndBeReplaced)
{
    grid.SetRows(5);
    EXPECT_EQ(grid.Rows(), 5);
    grid.SetCell(4, 0, "kept");
    grid.SetRows(0); // the header row always stays
    EXPECT_EQ(grid.Rows(), 1);
    grid.SetRows(5);
    EXPECT_EQ(grid.Cell(4, 0), "") << "a removed row comes back empty";

    std::vector<ResultGridModel::Row> rows(1000);
    rows[999].cells = QStringList{"last"};
    rows[999].redMask = 1;
    QSignalSpy reset(&grid, &QAbstractItemModel::modelReset);
    grid.ReplaceRows(std::move(rows));
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(grid.Rows(), 1001);
    EXPECT_EQ(grid.Cell(1000, 0), "last");
    EXPECT_TRUE(grid.CellRed(1000, 0));
    EXPECT_EQ(grid.AppendRow(), 1001);
}

} // namespace
