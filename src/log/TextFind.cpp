#include "log/TextFind.h"

#include <algorithm>

char UpperLatin1(char c)
{
    const auto u = static_cast<unsigned char>(c);
    // a-z, and the accented small letters except the division sign (0xF7) and y-diaeresis
    // (0xFF), whose capital is not a Latin-1 character.
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        return static_cast<char>(u - 0x20);
    return c;
}

long FindInText(std::string_view text, long caret, const FindState& state)
{
    long start = caret;
    if (start == state.findLastPos && !state.findTextChanged)
        ++start;
    const std::string_view needle = state.findText;
    if (needle.empty() || needle.size() > text.size())
        return -1;

    auto equal = [&state](char a, char b) { return state.findMatchCase ? a == b : UpperLatin1(a) == UpperLatin1(b); };
    const long last = static_cast<long>(text.size() - needle.size()); // last possible start
    auto matchesAt = [&](long position) {
        return std::equal(needle.begin(), needle.end(), text.begin() + position, equal);
    };

    if (state.findDirection == FindDirection::Down) {
        // The first match at or after `start`.
        const long from = std::max(start, 0L);
        for (long position = from; position <= last; ++position) {
            if (matchesAt(position))
                return position;
        }
        return -1;
    }
    // Upwards: the nearest match that starts at least two characters before `start` (the
    // station's search starts one before the caret, counting from 1).
    for (long position = std::min(start - 2, last); position >= 0; --position) {
        if (matchesAt(position))
            return position;
    }
    return -1;
}
