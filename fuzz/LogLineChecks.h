#pragma once
// Checks of the line a record is stored as in the result log, for the targets that make records.

#include "FuzzInput.h"

#include "log/LogRecordFormat.h"

#include <string>

namespace fuzz {

// Values (each followed by TAB) in the stored line of the record; 0 when it writes no line.
inline std::size_t StoredValueCount(const CarcassMeasurement& record)
{
    if (!record.alertText.empty())
        return 2;
    switch (record.kind) {
    case 'E':
    case 'J':
    case 'B':
    case 'H': return 38;
    case 'L':
    case 'M':
    case 'S': return 40;
    case 'Z':
    case 'C': return 2;
    default: return 0;
    }
}

// Whatever the record holds, it is stored as one line of its kind's values that reads back as
// one display line per template, and, where the stored columns and the live template agree,
// reads back as it was shown.
inline void CheckStoredRecord(const CarcassMeasurement& record)
{
    const std::string line = LogLineFor(record);
    const std::size_t values = StoredValueCount(record);
    if (values == 0) {
        Check(line.empty(), "a record of another kind writes no line", line);
        return;
    }
    Check(line.ends_with("\t\r\n") && Count(line, '\r') == 1 && Count(line, '\n') == 1,
          "a record is stored as one line ending TAB CR LF", line);
    Check(Count(line, '\t') == values, "a stored line has its kind's number of values", line);
    for (int t = 1; t <= 10; ++t) {
        const std::string shown = ReadDisplayLine(line, t);
        Check(shown.ends_with("\r\n") && Count(shown, '\r') == 1 && Count(shown, '\n') == 1,
              "a stored line reads back as one display line", shown);
    }
    const bool singleOrDouble = record.kind == 'E' || record.kind == 'J' || record.kind == 'B' || record.kind == 'H';
    if (!record.alertText.empty() || !singleOrDouble)
        return;
    for (int t : {1, 2, 3, 7}) {
        const std::string live = FormatResultLine(record, t);
        // A TAB, CR or LF in a shown value is stored as a space, so only clean lines compare.
        if (live.find_first_of("\t\r\n") == std::string::npos)
            Check(ReadDisplayLine(line, t) == live + "\r\n", "a reloaded result reads as it was shown", live);
    }
}

} // namespace fuzz
