#include "station/ElapsedClock.h"

#include <gtest/gtest.h>

TEST(ElapsedClock, ShowsHoursMinutesSecondsAfterTicks)
{
    struct Case {
        long long ticks;
        const char* text;
    };
    const Case cases[] = {
        {0, "00:00:00"},
        {7, "00:00:07"},
        {59, "00:00:59"},
        {60, "00:01:00"},
        {61, "00:01:01"},
        {3599, "00:59:59"},
        {3600, "01:00:00"},
        {9 * 3600 + 59 * 60 + 59, "09:59:59"},
        {10 * 3600, "10:00:00"},
        {99 * 3600 + 3599, "99:59:59"},
        {100 * 3600, "100:00:00"},
        {123 * 3600, "123:00:00"},
        {123 * 3600 + 61, "123:01:01"},
    };
    for (const Case& c : cases) {
        ElapsedClock clock;
        for (long long i = 0; i < c.ticks; ++i)
            clock.Tick();
        EXPECT_EQ(clock.Text(), c.text) << c.ticks << " ticks";
    }
}
