#include "log/SummaryStream.h"

#include "log/LogFileChunks.h"
#include "log/LogFileText.h"

std::optional<ClassSummaryTally> StreamClassSummaryTally(const std::string& path, SummaryMode mode, std::string* error,
                                                         bool* headerMissing)
{
    ClassSummaryTally tally(mode);
    bool atHeader = true;
    bool missing = false;
    const bool read = ReadLogLines(
        path,
        [&](std::string_view lines) {
            // The first run of lines begins with the header line, which is not counted; a log
            // without one loses no record to it.
            if (atHeader) {
                missing = lines.front() == '\t' || lines.front() == '\n';
                if (!missing)
                    lines.remove_prefix(FirstRecordLine(lines));
                atHeader = false;
            }
            tally.AddLines(lines);
        },
        error, true);
    if (headerMissing)
        *headerMissing = missing;
    if (!read)
        return std::nullopt;
    return tally;
}

std::optional<std::string> StreamClassSummary(const std::string& path, SummaryMode mode, std::string* error,
                                              bool* headerMissing)
{
    const std::optional<ClassSummaryTally> tally = StreamClassSummaryTally(path, mode, error, headerMissing);
    if (!tally)
        return std::nullopt;
    return tally->Body();
}
