#include "log/SummaryStream.h"

#include "log/LogFileChunks.h"
#include "log/LogFileText.h"

std::optional<ClassSummaryTally> StreamClassSummaryTally(const std::string& path, SummaryMode mode, std::string* error)
{
    ClassSummaryTally tally(mode);
    bool atHeader = true;
    const bool read = ReadLogLines(
        path,
        [&](std::string_view lines) {
            // The first run of lines begins with the header line, which is not counted.
            if (atHeader) {
                lines.remove_prefix(FirstRecordLine(lines));
                atHeader = false;
            }
            tally.AddLines(lines);
        },
        error);
    if (!read)
        return std::nullopt;
    return tally;
}

std::optional<std::string> StreamClassSummary(const std::string& path, SummaryMode mode, std::string* error)
{
    const std::optional<ClassSummaryTally> tally = StreamClassSummaryTally(path, mode, error);
    if (!tally)
        return std::nullopt;
    return tally->Body();
}
