#include "LogTestRecords.h"
#include "log/LogRecordFormat.h"

#include <gtest/gtest.h>

#include <algorithm>

using logtest::ColumnNamedRecord;

namespace {

int CountOf(const std::string& text, char c)
{
    return static_cast<int>(std::count(text.begin(), text.end(), c));
}

// "c3\tc4\t...\tcN\t": the values a line carries from column 3 on.
std::string NamedColumns(int from, int to)
{
    std::string out;
    for (int i = from; i <= to; ++i)
        out += "c" + std::to_string(i) + "\t";
    return out;
}

// A stored line whose column i holds "ci" (column 0 empty, as in every result line).
std::string StoredNamedLine(int lastColumn)
{
    return "\t" + NamedColumns(1, lastColumn) + "\r\n";
}

} // namespace

TEST(LogRecordFormat, HeaderLineHasFortyTitlesFromTheStringTable)
{
    EXPECT_EQ(LogHeaderLine(), logtest::kHeader);
    EXPECT_EQ(CountOf(LogHeaderLine(), '\t'), 40);
}

TEST(LogRecordFormat, ResultLinesPutEveryFieldInItsColumn)
{
    struct Case {
        char kind;
        std::string kindText;
        std::string tail; // the values after column 36
    };
    const Case cases[] = {
        {'E', "Single Site", "cm\t"},
        {'J', "Single Site Colour", "cm\t"},
        {'B', "Double Site", "cm\t"},
        {'H', "Double Site Colour", "cm\t"},
        {'L', "Single Site, RZ7", "c37\tc38\tcm\t"},
        {'M', "Double Site, RZ7", "c37\tc38\tcm\t"},
        {'S', "Colour Number", "c37\tc38\tcm\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string line = LogLineFor(ColumnNamedRecord(c.kind));
        EXPECT_EQ(line, "\tc1\t" + c.kindText + "\t" + NamedColumns(3, 36) + c.tail + "\r\n");
        const bool isLong = c.tail.size() > 3;
        EXPECT_EQ(CountOf(line, '\t'), isLong ? 40 : 38);
        EXPECT_EQ(LogField(isLong ? 39 : 37, line), "cm");
    }
}

TEST(LogRecordFormat, AlertAndShortLines)
{
    struct Case {
        const char* name;
        CarcassMeasurement record;
        std::string line;
    };
    CarcassMeasurement cancel = logtest::Cancel("000123");
    CarcassMeasurement probeError = ColumnNamedRecord('Z');
    probeError.alertText = "Not through";
    CarcassMeasurement bareCancel = ColumnNamedRecord('C');
    CarcassMeasurement alertOfResultKind = ColumnNamedRecord('L');
    alertOfResultKind.alertText = "Cancel      000007";

    const Case cases[] = {
        {"cancel", cancel, "\tCancel      000123\t\r\n"},
        {"probe error", probeError, "\tNot through\t\r\n"},
        {"alert text wins over kind", alertOfResultKind, "\tCancel      000007\t\r\n"},
        {"Z without text", ColumnNamedRecord('Z'), "\tc1\t\r\n"},
        {"C without text", bareCancel, "Cancel\t\t\r\n"},
        {"unknown kind", ColumnNamedRecord('I'), ""},
        {"no kind", ColumnNamedRecord('\0'), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LogLineFor(c.record), c.line);
    }
}

TEST(LogRecordFormat, ControlCharactersInValuesCannotBreakTheColumns)
{
    CarcassMeasurement r = ColumnNamedRecord('E');
    r.carcassClass = "E\tU";
    r.comment = "wet\r\nfloor";
    const std::string line = LogLineFor(r);
    EXPECT_EQ(CountOf(line, '\t'), 38);
    EXPECT_EQ(CountOf(line, '\n'), 1);
    EXPECT_EQ(LogField(15, line), "E U");
    EXPECT_EQ(LogField(37, line), "wet  floor");

    CarcassMeasurement alert = logtest::Cancel("0\r\n1");
    EXPECT_EQ(LogLineFor(alert), "\tCancel      0  1\t\r\n");
}

TEST(LogRecordFormat, DisplayLineOfEachTemplate)
{
    const CarcassMeasurement r = ColumnNamedRecord('L');
    const std::string rz7 = "c29,c30,c32,c33,c34,";
    const std::pair<int, std::string> cases[] = {
        {1, "c1,c4,c3,c5,c7,c13,cm"},
        {2, "c1,c4,c3,c5,c7,c13,c15,c27,cm"},
        {3, "c1,c4,c3,c5,c6,c7,c13,c15,c27,cm"},
        {4, "c1,c4,c3,c5,c7,c13,c15,c27,c36,cm"},
        {5, "c1,c4,c3,c5,c6,c7,c13,c15,c27,c36,cm"},
        {6, "c1,c4,c3,c5,c7,c13,c15,c27," + rz7 + "cm"},
        {7, "c1,c4,c3,c5,c6,c7,c13,c15,c27," + rz7 + "cm"},
        {8, "c1,c4,c3,c5,c7,c13,c15,c27," + rz7 + "c35,c36,c37,c38,cm"},
        // A serial number that is not four characters long leaves its place empty.
        {9, "c1,c4,c3,c5,c6,c7,c24,c13,c15,c27," + rz7 + ",c36,c37,c38,cm"},
        {10, "c1,c27,c29,"},
        {0, ""},
        {11, ""},
        {-3, ""},
    };
    for (const auto& [templateNumber, expected] : cases) {
        SCOPED_TRACE(templateNumber);
        EXPECT_EQ(FormatResultLine(r, templateNumber), expected);
    }
}

TEST(LogRecordFormat, DisplayLineSpecialValues)
{
    CarcassMeasurement plain = logtest::Result("000042");
    EXPECT_EQ(FormatResultLine(plain, 1), "08:15:02  14-03-2024,000042,1, 14.2, 55.0, 58.3,");

    CarcassMeasurement rz4 = ColumnNamedRecord('J');
    rz4.rz7Colour1.clear();
    EXPECT_EQ(FormatResultLine(rz4, 2), "c1,c4,c3,c5,c7,c13,c15,c16,cm");

    CarcassMeasurement noTender = ColumnNamedRecord('L');
    noTender.rz7Tender.clear();
    noTender.rz7TenderGrade.clear();
    const std::string withTender = FormatResultLine(ColumnNamedRecord('L'), 8);
    const std::string without = FormatResultLine(noTender, 8);
    EXPECT_EQ(without, "c1,c4,c3,c5,c7,c13,c15,c27,c29,c30,c32,c33,c34,c35,c36,,'cm");
    EXPECT_EQ(CountOf(without, ','), CountOf(withTender, ',') - 1);

    CarcassMeasurement gradeOnly = ColumnNamedRecord('L');
    gradeOnly.rz7Tender.clear();
    EXPECT_TRUE(FormatResultLine(gradeOnly, 9).ends_with(",c36,,'c38,cm"));

    CarcassMeasurement fullSerial = ColumnNamedRecord('L');
    fullSerial.serialNumber = "S123";
    EXPECT_TRUE(FormatResultLine(fullSerial, 9).ends_with(",c34,S123,c36,c37,c38,cm"));
    EXPECT_TRUE(FormatResultLine(fullSerial, 8).ends_with(",c34,S123,c36,c37,c38,cm"));
}

TEST(LogRecordFormat, FieldOfAStoredLine)
{
    struct Case {
        int n;
        std::string line;
        std::string value;
    };
    const Case cases[] = {
        {0, "a\tb\t\r\n", "a"},
        {1, "a\tb\t\r\n", "b"},
        {2, "a\tb\t\r\n", ""}, // no TAB after the line end
        {1, "a\t\tc\t", ""},   // empty value
        {2, "a\t\tc\t", "c"},
        {5, "a\tb\t", ""}, // fewer TABs than asked for
        {1, "\tCancel      000001\t\r\n", "Cancel      000001"},
        {37, "\tCancel      000001\t\r\n", ""},
        {0, "abc", ""},
        {0, "", ""},
        {-1, "a\tb\t", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        SCOPED_TRACE(c.line);
        EXPECT_EQ(LogField(c.n, c.line), c.value);
    }
}

TEST(LogRecordFormat, ReadDisplayLineTakesColumnsByPosition)
{
    const std::string line = StoredNamedLine(39);
    const std::string rz7 = "c29,c30,c32,c33,c34,";
    const std::pair<int, std::string> cases[] = {
        {1, "c1,c4,c3,c5,c7,c13,c37"},
        {2, "c1,c4,c3,c5,c7,c13,c15,c27,c37"},
        {3, "c1,c4,c3,c5,c6,c7,c13,c15,c27,c37"},
        {4, "c1,c4,c3,c5,c7,c13,c15,c27,c36,c38"},
        {5, "c1,c4,c3,c5,c6,c7,c13,c15,c27,c36,c38"},
        {6, "c1,c4,c3,c5,c7,c13,c15,c27," + rz7 + "c38"},
        {7, "c1,c4,c3,c5,c6,c7,c13,c15,c27," + rz7 + "c37"},
        {8, "c1,c4,c3,c5,c7,c13,c15,c27," + rz7 + "c35,c36,c37,c38,c39"},
        {9, "c1,c4,c3,c5,c6,c7,c24,c13,c15,c27," + rz7 + ",c36,c37,c38,c39"},
        {10, "c1,c27,c29,c33,c34,"},
        {0, ""},
        {11, ""},
    };
    for (const auto& [templateNumber, expected] : cases) {
        SCOPED_TRACE(templateNumber);
        EXPECT_EQ(ReadDisplayLine(line, templateNumber), expected + "\r\n");
    }
}

TEST(LogRecordFormat, ReadDisplayLineQualityAndTemplateNineTail)
{
    auto stored = [](auto change) {
        CarcassMeasurement r = ColumnNamedRecord('L');
        change(r);
        return LogLineFor(r);
    };
    const std::string rz4Only = stored([](CarcassMeasurement& r) { r.rz7Colour1.clear(); });
    EXPECT_EQ(ReadDisplayLine(rz4Only, 2), "c1,c4,c3,c5,c7,c13,c15,c16,c37\r\n");
    EXPECT_EQ(ReadDisplayLine(rz4Only, 10), "c1,c17,c29,c33,c34,\r\n");

    struct Case {
        const char* name;
        std::string line;
        std::string tail;
    };
    const Case cases[] = {
        {"grade, no comment", stored([](CarcassMeasurement& r) { r.comment.clear(); }), ",c36,c37,c38\r\n"},
        {"no grade", stored([](CarcassMeasurement& r) { r.rz7TenderGrade.clear(); }), ",c36,c37,,cm\r\n"},
        {"neither", stored([](CarcassMeasurement& r) {
             r.rz7TenderGrade.clear();
             r.comment.clear();
         }),
         ",c36,c37,,\r\n"},
        {"four-character serial", stored([](CarcassMeasurement& r) { r.serialNumber = "S123"; }),
         ",c34,S123,c36,c37,c38,cm\r\n"},
        {"longer serial", stored([](CarcassMeasurement& r) { r.serialNumber = "S1234"; }), ",c34,,c36,c37,c38,cm\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ReadDisplayLine(c.line, 9).ends_with(c.tail)) << ReadDisplayLine(c.line, 9);
    }
}

// Where the stored columns and the live template agree, a reloaded log reads as it was shown.
TEST(LogRecordFormat, ReloadedLineMatchesTheLiveOneWhereColumnsAgree)
{
    CarcassMeasurement single = logtest::Result("000017");
    single.comment = "retag";
    for (int t : {1, 2, 3, 7}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(ReadDisplayLine(LogLineFor(single), t), FormatResultLine(single, t) + "\r\n");
    }
    CarcassMeasurement rz7 = ColumnNamedRecord('M');
    rz7.serialNumber = "A001";
    for (int t : {8, 9}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(ReadDisplayLine(LogLineFor(rz7), t), FormatResultLine(rz7, t) + "\r\n");
    }
}

TEST(LogRecordFormat, ShortenedLogPath)
{
    auto pathOfLength = [](const std::string& head, size_t length, const std::string& tail) {
        return head + std::string(length - head.size() - tail.size(), 'x') + tail;
    };
    const std::string at32 = pathOfLength("/srv/", 32, "/day.dif");
    const std::string at33 = pathOfLength("/srv/", 33, "/day.dif");
    const std::string windows33 = pathOfLength("C:\\Logs\\", 33, "\\day.dif");
    const std::string mixed = "/home/op/line 2/archive\\2024\\day.dif";
    const std::string noSeparator(40, 'n');
    const std::string oneSeparator = "/" + std::string(40, 'n');

    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"/tmp/a.dif", "/tmp/a.dif"},
        {at32, at32},
        {at33, "/.../day.dif"},
        {windows33, "C:\\...\\day.dif"},
        {mixed, "/...\\day.dif"},
        {noSeparator, noSeparator},
        {oneSeparator, oneSeparator},
    };
    for (const auto& [path, shown] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ShortenLogPath(path), shown);
    }
}
