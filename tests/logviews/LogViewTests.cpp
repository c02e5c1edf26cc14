// Display templates on the grid, and log files loaded back into the pane and the grid.

#include "ResultViewsFixture.h"

#include "log/LogRecordFormat.h"
#include "logviews/LogView.h"
#include "widgets/Twips.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

CarcassMeasurement Result(const std::string& timeDate, const std::string& count, const std::string& comment)
{
    CarcassMeasurement r;
    r.kind = 'E';
    r.timeDate = timeDate;
    r.carcassCount = count;
    r.carcassType = "2";
    r.fat1 = "14";
    r.meat = "55";
    r.meatPercent = "58.9";
    r.comment = comment;
    return r;
}

class LogViewTest : public ResultViewsFixture {
protected:
    std::string WriteLog(const std::string& name, const std::string& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name.c_str()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path.toStdString();
    }
    // Rows of the grid as text, cells joined by '|', "!" before a red cell.
    std::vector<std::string> GridRows() const
    {
        std::vector<std::string> rows;
        for (int row = 1; row < grid.Rows(); ++row) {
            std::string text;
            for (int column = 0; column < grid.Columns(); ++column) {
                if (column > 0)
                    text += '|';
                if (grid.CellRed(row, column))
                    text += '!';
                text += CellText(row, column);
            }
            rows.push_back(text);
        }
        return rows;
    }
    QTemporaryDir dir;
};

TEST_F(LogViewTest, TemplatesNameTheirColumns)
{
    EXPECT_EQ(TemplateTitleString(1), "Time,Date,Carcass#,Type,Fat,Meat,Meat%");
    EXPECT_EQ(TemplateTitleString(7),
              "Time,Date,Carcass#,Type,Fat1,Fat2,Meat,Meat%,Class,Colour,n/g,Marble,n/g,PSE,n/g");
    EXPECT_EQ(TemplateTitleString(10), "Time,Date,Colour,n/g");
    EXPECT_EQ(TemplateTitleString(0), "");
    EXPECT_EQ(TemplateTitleString(11), "");
}

TEST_F(LogViewTest, ApplyTemplateLaysOutTheGrid)
{
    for (int number = 1; number <= 10; ++number) {
        SCOPED_TRACE(number);
        const std::string titleString = TemplateTitleString(number);
        ASSERT_FALSE(titleString.empty());
        const std::vector<std::string> titles = SplitResultText(titleString, ",");
        const std::string header = ApplyTemplate(views, number);

        ASSERT_EQ(grid.Columns(), static_cast<int>(titles.size()));
        std::string expectedHeader;
        for (size_t i = 0; i < titles.size(); ++i) {
            EXPECT_EQ(CellText(0, static_cast<int>(i)), titles[i]);
            expectedHeader += titles[i] + "   ";
        }
        EXPECT_EQ(header, expectedHeader);
    }
    EXPECT_EQ(ApplyTemplate(views, 11), "");
    EXPECT_EQ(grid.Columns(), 0);
}

TEST_F(LogViewTest, ColumnWidthsFollowTheGridWidthAndTitleLength)
{
    gridView.resize(2000, 300);
    ApplyTemplate(views, 6); // ...,Carcass#,...,n/g,...
    const double dpi = gridView.logicalDpiX();
    // Time and date take a tenth of the grid each; a value column its title's share plus 144 twips.
    EXPECT_NEAR(gridView.columnWidth(0), 200, 1);
    EXPECT_NEAR(gridView.columnWidth(1), 200, 1);
    EXPECT_NEAR(gridView.columnWidth(2), 0.08 * 2000 + 144 * dpi / kTwipsPerInch, 1);
    EXPECT_NEAR(gridView.columnWidth(9), 0.03 * 2000 + 144 * dpi / kTwipsPerInch, 1);

    // On a narrow grid no column gets narrower than the values it shows.
    gridView.resize(300, 300);
    ApplyTemplate(views, 6);
    const QFontMetrics metrics(gridView.font());
    EXPECT_GE(gridView.columnWidth(0), metrics.horizontalAdvance("00:00:00"));
    EXPECT_GE(gridView.columnWidth(1), metrics.horizontalAdvance("00-00-0000"));
    EXPECT_GE(gridView.columnWidth(4), metrics.horizontalAdvance("000.0 W"));
    EXPECT_LT(gridView.columnWidth(0), 200);
}

TEST_F(LogViewTest, LoadShowsResultsCancelsErrorsAndEmptyLines)
{
    ApplyTemplate(views, 1);
    // Rows left from before the load must not survive it.
    for (int i = 0; i < 10; ++i)
        AppendToResultView(views, "stale,row,from,before\r", true);

    const std::string path =
        WriteLog("mixed.dif", LogHeaderLine() + LogLineFor(Result("08:15:02  03-04-2024", "017", ""))
                                  + "\tCancel      000018\t\r\n" + "\r\n" + "Probe error 7\tx\t\r\n"
                                  + "\tAir between probe and skin\t\r\n" + "\t08:20:00  03-04-2024\t\r\n"
                                  + LogLineFor(Result("08:21:40  03-04-2024", "019", "late")));

    ASSERT_EQ(LoadLogIntoView(views, path, 1), std::nullopt);

    const std::vector<std::string> expectedRows = {
        "08:15:02|03-04-2024|017|2|14|55|58.9",
        "!Cancel      000018||||||",
        "||||||", // the empty line keeps its row so later rows match their file lines
        "!Probe error 7||||||",
        "!Air between probe and skin||||||", // a probing error, red across the row as it was live
        "08:20:00|03-04-2024|||||",
        "08:21:40|03-04-2024|019|2|14|55|58.9",
    };
    EXPECT_EQ(GridRows(), expectedRows);

    EXPECT_EQ(PaneText(), "08:15:02  03-04-2024,017,2,14,55,58.9,\r\n"
                          "Cancel      000018,,,,,,\r\n"
                          "\r\n"
                          "Probe error 7\r\n"
                          "Air between probe and skin\r\n"
                          "08:20:00  03-04-2024,,,,,,\r\n"
                          "08:21:40  03-04-2024,019,2,14,55,58.9,late\r\n");
    EXPECT_EQ(LineColours(0), std::set<QRgb>{kBlackRgb});
    EXPECT_EQ(LineColours(1), std::set<QRgb>{kBlackRgb});
    EXPECT_EQ(LineColours(3), std::set<QRgb>{kRedRgb});
    EXPECT_EQ(LineColours(4), std::set<QRgb>{kRedRgb});
    EXPECT_EQ(LineColours(5), std::set<QRgb>{kBlackRgb});
    EXPECT_EQ(LineColours(6), std::set<QRgb>{kBlackRgb});

    // Live results continue below the loaded ones, in black.
    AppendToResultView(views, "08:30:00  03-04-2024,020,2,15,54,58.1,\r", true);
    EXPECT_EQ(grid.Rows(), 9);
    EXPECT_EQ(CellText(8, 2), "020");
    EXPECT_EQ(LineColours(7), std::set<QRgb>{kBlackRgb});
}

TEST_F(LogViewTest, LoadLaysRowsOutInTheCurrentTemplate)
{
    CarcassMeasurement r = Result("09:00:00  04-04-2024", "021", "c");
    r.rz7Colour1 = "31";
    r.rz7ColourGrade = "2";
    r.rz7PseNumber = "4";
    const std::string path = WriteLog("t10.dif", LogHeaderLine() + LogLineFor(r));

    ApplyTemplate(views, 10);
    ASSERT_EQ(LoadLogIntoView(views, path, 10), std::nullopt);
    // Four columns: the values the display line carries beyond them are left out.
    EXPECT_EQ(GridRows(), std::vector<std::string>{"09:00:00|04-04-2024|31|2"});
    EXPECT_EQ(PaneText(), ReadDisplayLine(LogLineFor(r), 10));
}

TEST_F(LogViewTest, HeaderOnlyLogEmptiesBothViews)
{
    const std::string variants[] = {LogHeaderLine(), "", "header without line end"};
    for (const std::string& content : variants) {
        SCOPED_TRACE(content);
        ApplyTemplate(views, 3);
        AppendToResultView(views, "12:00:01  02-03-2024,001,E,12,45,61.2,\r", true);
        const std::string path = WriteLog("header.dif", content);
        ASSERT_EQ(LoadLogIntoView(views, path, 3), std::nullopt);
        EXPECT_EQ(PaneText(), "");
        EXPECT_EQ(grid.Rows(), 1);
        EXPECT_EQ(grid.Columns(), 10);
    }
}

TEST_F(LogViewTest, UnreadableFileLeavesTheViewsAsTheyWere)
{
    ApplyTemplate(views, 1);
    AppendToResultView(views, "12:00:01  02-03-2024,001,E,12,45,61.2,\r", true);
    AppendToResultView(views, "Probe error 3\r", false);
    const std::string paneBefore = PaneText();
    const std::vector<std::string> rowsBefore = GridRows();

    const std::string paths[] = {
        dir.filePath("missing.dif").toStdString(),
        dir.path().toStdString(), // a folder
        "",
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const std::optional<QString> error = LoadLogIntoView(views, path, 1);
        ASSERT_TRUE(error.has_value());
        EXPECT_FALSE(error->isEmpty());
        EXPECT_EQ(PaneText(), paneBefore);
        EXPECT_EQ(GridRows(), rowsBefore);
    }
}

TEST_F(LogViewTest, DamagedLinesAreShownAsTheyStand)
{
    ApplyTemplate(views, 1);
    using namespace std::string_literals;
    const std::string junk = "\x00\x01\xff\xa0 junk\tmore\t\r\n"s;
    const std::string longLine(1 << 20, 'L');
    const std::string path =
        WriteLog("damaged.dif",
                 LogHeaderLine() + junk + "no tab and no CR\n" + longLine + "\r\n" + "\tTAB line with lone\rCR\t\r\n"
                     + "\t10:00:00  05-04-2024\t\t\t017"); // cut off mid-record, no line end

    ASSERT_EQ(LoadLogIntoView(views, path, 1), std::nullopt);
    ASSERT_EQ(grid.Rows(), 6);
    EXPECT_EQ(grid.Cell(1, 0), QString::fromLatin1("\x00\x01\xff\xa0 junk"s));
    EXPECT_TRUE(grid.CellRed(1, 0));
    EXPECT_EQ(CellText(2, 0), "no tab and no CR");
    // A line of a megabyte is shown cut, so that neither memory nor the text layout suffers.
    EXPECT_EQ(CellText(3, 0), std::string(4000, 'L') + "...");
    EXPECT_TRUE(grid.CellRed(3, 0));
    EXPECT_EQ(CellText(4, 0), "TAB line with lone\rCR");
    // The cut-off record still shows what it has.
    EXPECT_EQ(CellText(5, 0), "10:00:00");
    EXPECT_EQ(CellText(5, 1), "05-04-2024");

    // Cut, the long line fits in the pane with every other line.
    const std::string text = PaneText();
    EXPECT_EQ(pane.Length(), static_cast<int>(text.size()));
    EXPECT_EQ(text,
              "\x00\x01\xff\xa0 junk\r\nno tab and no CR\r\n"s + std::string(4000, 'L') + "...\r\n"
                  + "TAB line with lone\r\nCR\r\n" // a lone text, as a probing error; the pane breaks at a lone CR
                  + "10:00:00  05-04-2024,,,,,,\r\n");
}

TEST_F(LogViewTest, EveryRowKnowsItsLineAndThePaneKeepsTheNewest)
{
    ApplyTemplate(views, 1);
    auto record = [](int n) { return LogLineFor(Result("08:00:00  03-04-2024", std::to_string(100000 + n), "")); };
    std::string content = LogHeaderLine();
    for (int n = 0; n < 3000; ++n)
        content += n == 1 ? std::string("\r\n") : record(n);
    ASSERT_EQ(LoadLogIntoView(views, WriteLog("long.dif", content), 1), std::nullopt);

    // Row r is line r + 1 of the file, the empty line included.
    ASSERT_EQ(grid.Rows(), 3001);
    EXPECT_EQ(grid.LoadedLine(2), "\r\n");
    EXPECT_EQ(grid.LoadedLine(3000), record(2999));
    EXPECT_EQ(GridRows()[2999], "08:00:00|03-04-2024|102999|2|14|55|58.9");
    EXPECT_EQ(ResultGridModel::CellsOfStoredLine(record(2999), 1, 7), grid.RowCells(3000));
    grid.RemoveResultRow(2);
    EXPECT_EQ(grid.Rows(), 3000);
    EXPECT_EQ(grid.LoadedLine(2), record(2));

    // The pane holds the newest whole lines only.
    const std::string text = PaneText();
    EXPECT_LE(text.size(), static_cast<size_t>(kTerminalCap));
    EXPECT_GT(text.size(), static_cast<size_t>(kTerminalCap) - 100);
    EXPECT_EQ(text.substr(0, 10), "08:00:00  ");
    EXPECT_TRUE(text.ends_with("08:00:00  03-04-2024,102999,2,14,55,58.9,\r\n"));
}

} // namespace
