#include "printing/PrinterStatus.h"

#include <algorithm>
#include <string_view>

namespace {

using C = JobCondition;

constexpr unsigned Bit(JobCondition c)
{
    return static_cast<unsigned>(c);
}

// How the spooler's words become the station's job conditions. The job's own state first:
struct JobStateRow {
    SpoolJobState state;
    unsigned conditions;
};
constexpr JobStateRow kJobStates[] = {
    {SpoolJobState::Pending, 0},
    {SpoolJobState::Held, Bit(C::Paused)},
    {SpoolJobState::Processing, Bit(C::Printing)},
    {SpoolJobState::Stopped, Bit(C::Paused)},
    {SpoolJobState::Canceled, Bit(C::Deleting)},
    {SpoolJobState::Aborted, Bit(C::Error)},
    {SpoolJobState::Completed, Bit(C::Printed)},
};

// Then what the printer reports about itself (the keyword without its "-error", "-report"
// suffix; warnings do not stop printing and are left out).
struct ReasonRow {
    std::string_view keyword;
    JobCondition condition;
};
constexpr ReasonRow kPrinterReasons[] = {
    {"paused", C::Paused},
    {"offline", C::Offline},
    {"shutdown", C::Offline},
    {"media-empty", C::PaperOut},
    {"media-needed", C::PaperOut},
    {"cover-open", C::UserIntervention},
    {"door-open", C::UserIntervention},
    {"interlock-open", C::UserIntervention},
    {"media-jam", C::UserIntervention},
    {"input-tray-missing", C::UserIntervention},
    {"output-area-full", C::UserIntervention},
    {"marker-supply-empty", C::UserIntervention},
    {"toner-empty", C::UserIntervention},
};

// A job still being received by the spooler.
constexpr std::string_view kJobIncoming = "job-incoming";
// A job the spooler holds because the printer did not take it: not paused by anyone, just
// stuck, which the station has always shown as "Offline!".
constexpr std::string_view kJobNotSent = "resources-are-not-ready";

// The status texts, tested in this order; a later match replaces an earlier one.
struct StatusTextRow {
    JobCondition condition;
    const char* text;
};
constexpr StatusTextRow kStatusTexts[] = {
    {C::Spooling, "Spooling  "},
    {C::Offline, "Off line  "},
    {C::Paused, "Paused  "},
    {C::Error, "Off line"},
    {C::PaperOut, "Paper Out  "},
    {C::Printing, "Printing  "},
    {C::UserIntervention, "User Intervention Needed  "},
};

constexpr const char* kLineEnd = "\r\n";

bool Has(const std::vector<std::string>& words, std::string_view word)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

std::string_view ReasonKeyword(std::string_view reason)
{
    for (std::string_view suffix : {std::string_view("-error"), std::string_view("-report")}) {
        if (reason.size() > suffix.size() && reason.substr(reason.size() - suffix.size()) == suffix)
            return reason.substr(0, reason.size() - suffix.size());
    }
    return reason;
}

} // namespace

unsigned FirstJobConditions(const SpoolerQueue& queue)
{
    if (queue.jobs.empty())
        return 0;
    const SpooledJob& job = queue.jobs.front();
    unsigned conditions = 0;
    for (const JobStateRow& row : kJobStates)
        if (row.state == job.state)
            conditions |= row.conditions;
    if (job.state == SpoolJobState::Held && Has(job.reasons, kJobNotSent))
        conditions = 0;
    if (Has(job.reasons, kJobIncoming))
        conditions |= Bit(C::Spooling);

    if (queue.printerState == SpoolPrinterState::Stopped)
        conditions |= Bit(C::Paused);
    for (const std::string& reason : queue.printerReasons) {
        if (reason.ends_with("-warning"))
            continue;
        const std::string_view keyword = ReasonKeyword(reason);
        for (const ReasonRow& row : kPrinterReasons)
            if (row.keyword == keyword)
                conditions |= Bit(row.condition);
    }
    return conditions;
}

std::string ProbeCommandText(ProbePrinterNotice notice)
{
    switch (notice) {
    case ProbePrinterNotice::PrintingHeldUp: return "P01";
    case ProbePrinterNotice::PrintingClear: return "P02";
    case ProbePrinterNotice::None: break;
    }
    return {};
}

PrinterStatusStep PrinterStatusPoll::Evaluate(const SpoolerQueue& queue)
{
    PrinterStatusStep step;
    const bool newFault = queue.outcome != lastOutcome_;
    lastOutcome_ = queue.outcome;

    switch (queue.outcome) {
    case SpoolerQueue::Outcome::PrinterUnavailable:
        // The panel must not go on showing the last state of a printer nobody can reach.
        step.showStatus = true;
        step.statusText = kPrinterUnreachableText;
        if (newFault)
            step.operatorMessage = "Cannot open printer " + queue.printerName + ", Error: " + queue.error;
        return step;
    case SpoolerQueue::Outcome::JobListFailed:
        if (newFault)
            step.operatorMessage = " > EnumJobs Failed on second call! <  Error = " + queue.error;
        return step;
    case SpoolerQueue::Outcome::Read: break;
    }

    step.showStatus = true;
    if (queue.jobs.empty()) {
        step.statusText = "Online";
        if (backlogReported_ || offlineReported_) {
            backlogReported_ = false;
            offlineReported_ = false;
            step.notice = ProbePrinterNotice::PrintingClear;
        }
        return step;
    }

    const SpooledJob& first = queue.jobs.front();
    if (!first.statusText.empty()) {
        step.statusText = first.statusText + kLineEnd;
        return step;
    }

    const unsigned conditions = FirstJobConditions(queue);
    if (conditions == 0 && !backlogReported_) {
        // The first job goes nowhere: told on every tick while it lasts.
        step.statusText = std::string("Offline!") + kLineEnd;
        step.notice = ProbePrinterNotice::PrintingHeldUp;
        offlineReported_ = true;
        return step;
    }

    std::string text = "Unknown Status of " + std::to_string(conditions);
    for (const StatusTextRow& row : kStatusTexts)
        if (conditions & Bit(row.condition))
            text = row.text;
    if ((conditions & Bit(C::Printing)) && queue.jobs.size() > 2 && !backlogReported_) {
        step.notice = ProbePrinterNotice::PrintingHeldUp;
        backlogReported_ = true;
    }
    step.statusText = text + kLineEnd;
    return step;
}
