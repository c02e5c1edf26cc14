#pragma once
// The one reader of a stored line's values: the class summary, the chart counts and the viewer
// all take their lines apart here. It runs over every byte of logs of a million lines, so it looks
// at eight bytes at a time and keeps only the TABs that bound the values it was asked for.

#include "log/LogColumns.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>

class LogLineScan {
public:
    // Reads the values of `columns` (LogColumn positions).
    constexpr LogLineScan(std::initializer_list<int> columns)
    {
        for (int column : columns) {
            wanted_ |= std::uint64_t{1} << column;
            if (column > 0)
                wanted_ |= std::uint64_t{1} << (column - 1);
            tabsNeeded_ = column + 1 > static_cast<int>(tabsNeeded_) ? static_cast<unsigned>(column + 1) : tabsNeeded_;
        }
    }
    // Every column.
    static LogLineScan Whole();

    // Reads the line that starts at `line` (up to its LF, or `end`) and returns where the next
    // one starts.
    const char* Scan(const char* line, const char* end);
    // Reads `line` alone.
    void Scan(std::string_view line) { Scan(line.data(), line.data() + line.size()); }

    // Value `column` (one asked for) of the line read last, as LogField reads it: empty unless a
    // TAB closes it.
    std::string_view Value(int column) const
    {
        if (count_ <= static_cast<unsigned>(column))
            return {};
        const unsigned start = column == 0 ? 0 : tabs_[column - 1] + 1;
        return {line_ + start, tabs_[column] - start};
    }
    // True when a TAB closes value `column` (one asked for): a result line holds its class.
    bool Closes(int column) const { return count_ > static_cast<unsigned>(column); }

private:
    std::uint64_t wanted_ = 0; // bit n: TAB n bounds a value asked for
    unsigned tabsNeeded_ = 0;  // the TABs looked at: up to the one that closes the last value
    const char* line_ = nullptr;
    unsigned count_ = 0;
    unsigned tabs_[LogColumn::Count] = {};
};
