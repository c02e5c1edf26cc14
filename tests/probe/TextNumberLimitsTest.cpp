// Numbers at the far ends of a double, as an absurd factor or a garbled message can give them.

#include "probe/TextNumber.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextNumberLimitsTest, LargeValuesAreWrittenOutWhole)
{
    // 1e70 and beyond were cut to their first 63 digits, a weight a hundred times too small.
    const struct {
        double value;
        std::string text;
    } cases[] = {
        {1e63, "1" + std::string(63, '0')},
        {-1e70, "-1" + std::string(70, '0')},
        {1e300, "1" + std::string(300, '0')},
    };
    for (const auto& c : cases) {
        const std::string text = PlainNumberText(c.value);
        // A double's exact digits below its 17th significant one are not zeros; compare the
        // length and the leading digits, and that the text reads back as the value.
        EXPECT_EQ(text.size(), c.text.size()) << c.value;
        EXPECT_EQ(text.substr(0, 3), c.text.substr(0, 3)) << c.value;
        EXPECT_EQ(NumberInText(text), c.value) << text;
    }
}
