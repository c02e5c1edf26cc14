// Finding a text in the pane's text: direction, the step past the current match, case.

#include "log/TextFind.h"

#include <gtest/gtest.h>

TEST(TextFind, FindsByDirectionCaseAndRepetition)
{
    struct Case {
        const char* name;
        std::string text;
        std::string needle;
        FindDirection direction;
        bool matchCase;
        long caret;
        long lastPos;
        bool textChanged;
        long found;
    };
    const Case cases[] = {
        // "abc abc" searched down from the start twice: 0 to 2, then 4 to 6.
        {"first search down", "abc abc", "abc", FindDirection::Down, false, 0, 0, true, 0},
        {"repeated search moves on", "abc abc", "abc", FindDirection::Down, false, 0, 0, false, 4},
        {"past the last match", "abc abc", "abc", FindDirection::Down, false, 4, 4, false, -1},
        {"up from the end finds the last", "abc abc\r\n", "abc", FindDirection::Up, false, 9, 0, true, 4},
        {"up again finds the one before", "abc abc\r\n", "abc", FindDirection::Up, false, 4, 4, false, 0},
        {"small letters find capitals", "ONE Two", "two", FindDirection::Down, false, 0, 0, true, 4},
        {"accented capitals fold too", "caf\xc9 bar", "caf\xe9", FindDirection::Down, false, 0, 0, true, 0},
        {"match case keeps them apart", "Two two", "two", FindDirection::Down, true, 0, 0, true, 4},
        {"not there", "abc abc", "xyz", FindDirection::Down, false, 0, 0, true, -1},
        {"nothing to find", "abc", "", FindDirection::Down, false, 0, 0, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FindState state;
        state.findText = c.needle;
        state.findDirection = c.direction;
        state.findMatchCase = c.matchCase;
        state.findLastPos = c.lastPos;
        state.findTextChanged = c.textChanged;
        EXPECT_EQ(FindInText(c.text, c.caret, state), c.found);
    }
}
