// The log's one column description: the database's typed view reads the same places as the
// station's own readers, and the scanner that all of them use.

#include "database/GuardedSchema.h"
#include "log/LogColumns.h"
#include "log/LogLineScan.h"

#include <gtest/gtest.h>

#include <string>

TEST(LogColumns, TheDatabasesTypedViewReadsTheDescribedColumns)
{
    // The typed values, as the trigger takes them from the line split at its TABs (a 1-based
    // array: value n is f[n + 1]).
    const std::pair<const char*, int> reads[] = {
        {"NEW.carcass := nullif(f[4 + 1], '')", LogColumn::CarcassCount},
        {"NEW.class := nullif(f[15 + 1], '')", LogColumn::Class},
        {"NEW.lean_meat_pct := tallion.to_number(f[13 + 1])", LogColumn::MeatPercent},
        {"NEW.fat1 := tallion.to_number(f[5 + 1])", LogColumn::Fat1},
        {"NEW.fat2 := tallion.to_number(f[6 + 1])", LogColumn::Fat2},
        {"NEW.meat := tallion.to_number(f[7 + 1])", LogColumn::Meat},
        {"NEW.meat1 := tallion.to_number(f[24 + 1])", LogColumn::Meat1},
        {"NEW.quality := coalesce(nullif(f[27 + 1], ''), nullif(f[16 + 1], ''))", LogColumn::Rz7Colour1},
        {"NEW.weight := tallion.to_number(f[36 + 1])", LogColumn::Weight},
        {"m := regexp_match(f[1 + 1],", LogColumn::TimeDate},
    };
    std::string schema;
    for (const std::string& statement : GuardedSchemaStatements())
        schema += statement + '\n';
    for (const auto& [sql, column] : reads) {
        SCOPED_TRACE(sql);
        EXPECT_NE(schema.find(sql), std::string::npos);
        EXPECT_NE(std::string(sql).find("f[" + std::to_string(column) + " + 1]"), std::string::npos);
    }
    EXPECT_EQ(LogColumnTitled("RZ4 Colour 1"), LogColumn::Colour1);
    EXPECT_EQ(LogColumnTitles().size(), 40u);
}

TEST(LogLineScan, ValuesAreThoseATabClosesLineByLine)
{
    // Two lines in one piece: a result (its weight closed, its comment not) and a probing error.
    std::string result = "\t07:10:00  14-03-2024";
    for (int column = 2; column < 36; ++column)
        result += column == 15 ? "\tS" : "\t";
    result += "\t 85.40\tno TAB closes this\r\n";
    const std::string error = "\tProbe fault 12\t\r\n";
    const std::string piece = result + error;

    LogLineScan scan{LogColumn::TimeDate, LogColumn::Class, LogColumn::Weight, LogColumn::Rz7Tender};
    const char* next = scan.Scan(piece.data(), piece.data() + piece.size());
    EXPECT_EQ(next, piece.data() + result.size());
    EXPECT_EQ(scan.Value(LogColumn::TimeDate), "07:10:00  14-03-2024");
    EXPECT_EQ(scan.Value(LogColumn::Class), "S");
    EXPECT_EQ(scan.Value(LogColumn::Weight), " 85.40");
    EXPECT_EQ(scan.Value(LogColumn::Rz7Tender), "");
    EXPECT_TRUE(scan.Closes(LogColumn::Class));

    EXPECT_EQ(scan.Scan(next, piece.data() + piece.size()), piece.data() + piece.size());
    EXPECT_EQ(scan.Value(LogColumn::TimeDate), "Probe fault 12");
    EXPECT_EQ(scan.Value(LogColumn::Class), "");
    EXPECT_FALSE(scan.Closes(LogColumn::Class));

    // The last line of a file may lack its line end; every column read at once.
    LogLineScan whole = LogLineScan::Whole();
    whole.Scan(std::string_view("Cancel\t000123\tlast"));
    EXPECT_EQ(whole.Value(LogColumn::Error), "Cancel");
    EXPECT_EQ(whole.Value(LogColumn::TimeDate), "000123");
    EXPECT_EQ(whole.Value(LogColumn::Kind), "");
}
