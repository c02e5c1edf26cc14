#include "printing/CupsSpooler.h"

#include <cups/cups.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

// The connection's wait for the scheduler goes on in short steps until the time limit or until
// the station gives up.
struct WaitLimit {
    Clock::time_point end;
    const std::atomic<bool>* abandoned = nullptr;
};

int KeepWaiting(http_t*, void* data)
{
    const auto* limit = static_cast<const WaitLimit*>(data);
    return !limit->abandoned->load() && Clock::now() < limit->end ? 1 : 0;
}

constexpr double kWaitStepSeconds = 0.2;

struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpCloser>;

struct DestFreer {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using Destination = std::unique_ptr<cups_dest_t, DestFreer>;

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

Connection Connect(WaitLimit& limit, std::chrono::milliseconds timeLimit)
{
    const int connectMs = static_cast<int>(timeLimit.count());
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, connectMs, nullptr);
    if (http)
        httpSetTimeout(http, kWaitStepSeconds, KeepWaiting, &limit);
    return Connection(http);
}

// The last failure in the spooler's words; a refused connection leaves only errno.
std::string LastError()
{
    const char* text = cupsLastErrorString();
    if (text && *text && cupsLastError() != IPP_STATUS_OK)
        return text;
    return errno ? std::strerror(errno) : "no answer from the print spooler";
}

std::vector<std::string> SplitWords(const char* list)
{
    std::vector<std::string> words;
    if (!list)
        return words;
    std::stringstream in(list);
    std::string word;
    while (std::getline(in, word, ','))
        if (!word.empty() && word != "none")
            words.push_back(word);
    return words;
}

const char* Option(const cups_dest_t& dest, const char* name)
{
    return cupsGetOption(name, dest.num_options, dest.options);
}

// The first job's own status message and reasons, which the job list does not carry. A job
// that finished meanwhile just has none.
void ReadJobDetails(http_t* http, SpooledJob& job)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(job.id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char* const kWanted[] = {"job-printer-state-message", "job-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kWanted);
    const std::unique_ptr<ipp_t, IppDeleter> response(cupsDoRequest(http, request, "/"));
    if (!response)
        return;
    if (ipp_attribute_t* message = ippFindAttribute(response.get(), "job-printer-state-message", IPP_TAG_TEXT)) {
        if (const char* text = ippGetString(message, 0, nullptr))
            job.statusText = text;
    }
    if (ipp_attribute_t* reasons = ippFindAttribute(response.get(), "job-state-reasons", IPP_TAG_KEYWORD)) {
        for (int i = 0; i < ippGetCount(reasons); ++i)
            if (const char* reason = ippGetString(reasons, i, nullptr); reason && std::strcmp(reason, "none") != 0)
                job.reasons.emplace_back(reason);
    }
}

} // namespace

CupsSpooler::CupsSpooler(std::chrono::milliseconds timeLimit)
    : timeLimit_(timeLimit)
{}

SpoolerQueue CupsSpooler::ReadQueue()
{
    SpoolerQueue queue;
    WaitLimit limit{Clock::now() + timeLimit_, &abandoned_};
    errno = 0;
    const Connection http = Connect(limit, timeLimit_);
    if (!http) {
        queue.outcome = SpoolerQueue::Outcome::PrinterUnavailable;
        queue.error = LastError();
        return queue;
    }
    const Destination dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
    if (!dest) {
        queue.outcome = SpoolerQueue::Outcome::PrinterUnavailable;
        queue.error = LastError();
        return queue;
    }
    queue.printerName = dest->name;
    if (const char* state = Option(*dest, "printer-state")) {
        const int value = std::atoi(state);
        if (value >= 3 && value <= 5)
            queue.printerState = static_cast<SpoolPrinterState>(value);
    }
    queue.printerReasons = SplitWords(Option(*dest, "printer-state-reasons"));

    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(http.get(), &jobs, dest->name, 0, CUPS_WHICHJOBS_ACTIVE);
    if (count < 0) {
        queue.outcome = SpoolerQueue::Outcome::JobListFailed;
        queue.error = LastError();
        return queue;
    }
    for (int i = 0; i < count; ++i) {
        SpooledJob job;
        job.id = jobs[i].id;
        const int state = static_cast<int>(jobs[i].state);
        if (state >= 3 && state <= 9)
            job.state = static_cast<SpoolJobState>(state);
        queue.jobs.push_back(job);
    }
    cupsFreeJobs(count, jobs);
    if (!queue.jobs.empty())
        ReadJobDetails(http.get(), queue.jobs.front());
    return queue;
}

bool CupsSpooler::SubmitRawJob(const std::string& title, const std::string& bytes)
{
    WaitLimit limit{Clock::now() + timeLimit_, &abandoned_};
    const Connection http = Connect(limit, timeLimit_);
    if (!http)
        return false;
    const Destination dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
    if (!dest)
        return false;
    const int jobId = cupsCreateJob(http.get(), dest->name, title.c_str(), 0, nullptr);
    if (jobId <= 0)
        return false;
    // Raw: the bytes go to the printer as they stand, with no filter in between.
    const bool sent =
        cupsStartDocument(http.get(), dest->name, jobId, title.c_str(), CUPS_FORMAT_RAW, 1) == HTTP_STATUS_CONTINUE
        && cupsWriteRequestData(http.get(), bytes.data(), bytes.size()) == HTTP_STATUS_CONTINUE
        && cupsFinishDocument(http.get(), dest->name) == IPP_STATUS_OK;
    // A job left without its document would wait at the head of the queue and block the rest.
    if (!sent)
        cupsCancelJob2(http.get(), dest->name, jobId, 0);
    return sent;
}
