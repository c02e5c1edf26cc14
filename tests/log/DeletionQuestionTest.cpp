// What the deletion question says about the row it would delete.

#include "log/DeletionQuestion.h"

#include <gtest/gtest.h>

TEST(DeletionQuestion, NamesTheCarcassOfTheRow)
{
    const struct {
        QStringList cells;
        bool messageRow;
        int templateNumber;
        const char* detail;
    } cases[] = {
        {{"09:30:00", "15-03-2024", "000001", "Single Site"},
         false,
         3,
         "Time 09:30:00, date 15-03-2024, carcass 000001"},
        {{"09:30:00", "15-03-2024", "  62", "4"}, false, 10, "Time 09:30:00, date 15-03-2024"}, // no counter shown
        {{"Cancel 000123"}, true, 3, "Cancel 000123"},
        {{"", "", ""}, false, 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeletionDetail(c.cells, c.messageRow, c.templateNumber), c.detail);
}
