#pragma once
// Keeps a log's class summary current while records are appended to it: after one full count,
// each refresh reads only the whole lines added since, so that a record finished in the receive
// tick never costs a read of the whole log. A log that shrank (a row deleted), is no longer a
// regular file or grew by more than a burst of records is counted afresh.

#include "log/ClassSummary.h"

#include <optional>
#include <string>

class SummaryFollower {
public:
    // Counts the log at `path` from its start; false with `error` when it cannot be read.
    bool Start(const std::string& path, SummaryMode mode, std::string* error);
    // The whole lines added since the last count, now counted too; nullopt when the log must be
    // counted afresh (Start).
    std::optional<std::string> Follow();
    // Whether the counts are of the log at `path` in `mode`.
    bool Follows(const std::string& path, SummaryMode mode) const;
    void Stop();
    // The rows and the total line of what has been counted.
    std::string Body() const;
    // Lines of what has been counted that were left out for want of a lean meat %.
    long long LeftOut() const { return tally_ ? tally_->LeftOut() : 0; }

private:
    std::string path_;
    SummaryMode mode_ = SummaryMode::WithoutWeight;
    long long countedTo_ = 0;
    std::optional<ClassSummaryTally> tally_;
};
