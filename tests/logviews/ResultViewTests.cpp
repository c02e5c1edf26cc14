// Result lines reaching the terminal pane and the grid: pane editing, cap, colour, grid rows.

#include "ResultViewsFixture.h"

#include <QScrollBar>
#include <cstdio>

namespace {

class ResultViewTest : public ResultViewsFixture {};

TEST_F(ResultViewTest, TextIsEditedAsItEntersThePane)
{
    struct Case {
        const char* name;
        std::string paneBefore;
        std::string text;
        std::string paneAfter;
    };
    const Case cases[] = {
        {"BS removes the letter before it", "", "ab\bc\r", "ac\r\n"},
        {"leading BS replaces the pane's last character", "xyz", "\bq\r", "xyq\r\n"},
        {"leading BS on a finished line joins the lines", "xyz\r\n", "\bq\r", "xyzq\r\n"},
        {"two leading BS still replace one character", "xyz", "\b\bq\r", "xyq\r\n"},
        {"BS that consumed the text reaches the pane", "xyz", "a\b\bq\r", "xyq\r\n"},
        {"leading BS on an empty pane", "", "\bq\r", "q\r\n"},
        {"BS only, on an empty pane", "", "\b", ""},
        {"all typed letters taken back", "xyz", "abc\b\b\b\r", "xyz\r\n"},
        {"LF is dropped", "", "a\nb\r", "ab\r\n"},
        {"CR LF stays one line end", "", "a\r\nb\r", "a\r\nb\r\n"},
        {"every CR ends a line", "", "a\rb\r", "a\r\nb\r\n"},
        {"no line end added", "old\r\n", "no end", "old\r\nno end"},
        {"bytes above 127 and controls kept", "", "\xe9\xa0\xff\x01\t\r", "\xe9\xa0\xff\x01\t\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pane.ClearPane();
        pane.AppendColoured(QString::fromLatin1(c.paneBefore.data(), qsizetype(c.paneBefore.size())), Qt::black);
        AppendToResultView(views, c.text, true);
        EXPECT_EQ(PaneText(), c.paneAfter);
        EXPECT_EQ(pane.Length(), static_cast<int>(c.paneAfter.size()));
    }
}

TEST_F(ResultViewTest, FullPaneKeepsItsNewerHalfFromALineStart)
{
    // Where character 25000 falls decides where the kept text starts: always the next line.
    struct Case {
        const char* name;
        int offsetInLine; // of character 25000 within a 12-character line "line NNNNN" CR LF
        int total;        // pane length before the append
    };
    const Case cases[] = {
        {"on a line start", 0, 50010},
        {"inside a line", 5, 50010},
        {"on a CR", 10, 50010},
        {"on a LF", 11, 50010},
        {"at the cap itself nothing is dropped", 5, 50000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A long first line shifts the 12-character lines so that character 25000 falls where wanted.
        std::string old(static_cast<size_t>(25000 - 2 - 12 * 100 - c.offsetInLine), 'p');
        old += "\r\n";
        for (int n = 0; static_cast<int>(old.size()) + 12 <= c.total; ++n) {
            char line[32];
            std::snprintf(line, sizeof line, "line %05d\r\n", n);
            old += line;
        }
        old.resize(static_cast<size_t>(c.total), 'q'); // a last line without line end fills up
        pane.ClearPane();
        pane.AppendColoured(QString::fromLatin1(old.data(), qsizetype(old.size())), Qt::black);
        ASSERT_EQ(pane.Length(), c.total);

        AppendToResultView(views, "new\r", true);

        std::string expected = old;
        if (c.total > kTerminalCap) {
            expected = old.substr(25000);
            expected.erase(0, expected.find('\n') + 1);
            ASSERT_EQ(old[old.size() - expected.size() - 1], '\n');
        }
        expected += "new\r\n";
        EXPECT_EQ(PaneText(), expected);
        EXPECT_EQ(pane.Length(), static_cast<int>(expected.size()));
    }
}

TEST_F(ResultViewTest, FullPaneOfOneLongLineKeepsTheTextFromTheMiddle)
{
    const std::string old(60000, 'x');
    pane.AppendColoured(QString::fromLatin1(old.data(), qsizetype(old.size())), Qt::black);
    AppendToResultView(views, "end\r", false);
    EXPECT_EQ(PaneText(), old.substr(25000) + "end\r\n");
}

TEST_F(ResultViewTest, PaneStaysNearTheCapOverManyLines)
{
    SetColumns(7);
    const std::string line = "12:00:01  02-03-2024,001,E,12,45,61.2," + std::string(80, 'c') + "\r";
    for (int i = 0; i < 1500; ++i) {
        AppendToResultView(views, line, i % 7 != 0);
        ASSERT_LE(pane.Length(), kTerminalCap + static_cast<int>(line.size()) + 1);
    }
    const std::string text = PaneText();
    EXPECT_EQ(text.rfind(line.substr(0, line.size() - 1), 0), 0u) << "pane must start at a line start";
    EXPECT_EQ(pane.Length(), static_cast<int>(text.size()));
    EXPECT_EQ(grid.Rows(), 1501);
}

TEST_F(ResultViewTest, MeasurementsAreBlackAndMessagesRed)
{
    AppendToResultView(views, "12:00:01  02-03-2024,001,E,12,45,61.2,\r", true);
    AppendToResultView(views, "Probe error 12\r", false);
    AppendToResultView(views, "12:00:05  02-03-2024,002,E,13,46,60.8,\r", true);
    EXPECT_EQ(LineColours(0), std::set<QRgb>{kBlackRgb});
    EXPECT_EQ(LineColours(1), std::set<QRgb>{kRedRgb});
    EXPECT_EQ(LineColours(2), std::set<QRgb>{kBlackRgb});
    // The caret follows the text, so a later search starts from the newest line.
    EXPECT_EQ(pane.textCursor().position(), pane.document()->characterCount() - 1);
}

TEST_F(ResultViewTest, EachTextFillsOneGridRow)
{
    struct Case {
        const char* name;
        int columns;
        std::string text;
        std::vector<std::string> cells; // columns 0.. of the new row; the rest empty
        bool firstCellRed;
    };
    const std::string template1 = "12:00:01  02-03-2024,001,E,12,45,61.2,\r";
    const Case cases[] = {
        {"template 1 line, empty comment",
         7,
         template1,
         {"12:00:01", "02-03-2024", "001", "E", "12", "45", "61.2"},
         false},
        {"comment is not placed",
         10,
         "12:00:01  02-03-2024,001,E,12,45,61.2,a note\r",
         {"12:00:01", "02-03-2024", "001", "E", "12", "45", "61.2"},
         false},
        {"values beyond the columns are dropped", 4, template1, {"12:00:01", "02-03-2024", "001", "E"}, false},
        {"no date part", 7, "12:00:01,001,E,12,\r", {"12:00:01", "", "001", "E", "12"}, false},
        {"four pieces make a display line", 7, "a,b,c,d\r", {"a", "", "b", "c"}, false},
        {"a message", 7, "Probe error 12\r", {"Probe error 12"}, true},
        {"three pieces make a message", 7, "a,b,c\r", {"a"}, true},
        {"a cancel", 7, "Cancel      000123\r", {"Cancel      000123"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetColumns(c.columns);
        grid.SetRows(1);
        AppendToResultView(views, c.text, true);
        ASSERT_EQ(grid.Rows(), 2);
        for (int column = 0; column < c.columns; ++column) {
            const std::string want = column < static_cast<int>(c.cells.size()) ? c.cells[column] : "";
            EXPECT_EQ(CellText(1, column), want) << "column " << column;
            EXPECT_EQ(grid.CellRed(1, column), column == 0 && c.firstCellRed) << "column " << column;
        }
    }
}

TEST_F(ResultViewTest, GridFollowsTheNewestRowOnceItCanScroll)
{
    SetColumns(7);
    gridView.show();
    AppendToResultView(views, "Probe error 1\r", false);
    EXPECT_FALSE(GridHasScrollBar(&gridView));
    EXPECT_EQ(gridView.verticalScrollBar()->value(), 0);

    for (int i = 0; i < 200; ++i)
        AppendToResultView(views, "12:00:01  02-03-2024,001,E,12,45,61.2,\r", true);
    EXPECT_TRUE(GridHasScrollBar(&gridView));
    const QScrollBar* bar = gridView.verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    const QRect lastRow = gridView.visualRect(grid.index(200, 0));
    EXPECT_TRUE(gridView.viewport()->rect().intersects(lastRow));

    grid.SetRows(1);
    EXPECT_FALSE(GridHasScrollBar(&gridView));
    EXPECT_FALSE(GridHasScrollBar(nullptr));
}

TEST_F(ResultViewTest, MissingViewsAreSkipped)
{
    ResultViews paneOnly;
    paneOnly.terminal = &pane;
    AppendToResultView(paneOnly, "only text\r", true);
    EXPECT_EQ(PaneText(), "only text\r\n");

    ResultViews gridOnly;
    gridOnly.grid = &grid;
    SetColumns(2);
    AppendToResultView(gridOnly, "only a row\r", false);
    EXPECT_EQ(CellText(1, 0), "only a row");
}

} // namespace
