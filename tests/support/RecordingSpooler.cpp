#include "support/RecordingSpooler.h"

void RecordingSpooler::SetQueue(const SpoolerQueue& queue)
{
    const std::lock_guard lock(mutex_);
    queue_ = queue;
}

void RecordingSpooler::Hold(bool held)
{
    {
        const std::lock_guard lock(mutex_);
        held_ = held;
    }
    released_.notify_all();
}

void RecordingSpooler::FailSubmits(bool fail)
{
    const std::lock_guard lock(mutex_);
    failSubmits_ = fail;
}

std::vector<RecordingSpooler::Job> RecordingSpooler::Jobs() const
{
    const std::lock_guard lock(mutex_);
    return jobs_;
}

int RecordingSpooler::Reads() const
{
    const std::lock_guard lock(mutex_);
    return reads_;
}

bool RecordingSpooler::Waiting() const
{
    const std::lock_guard lock(mutex_);
    return waiting_ > 0;
}

void RecordingSpooler::WaitWhileHeld(std::unique_lock<std::mutex>& lock)
{
    ++waiting_;
    released_.wait(lock, [this] { return !held_ || abandoned_; });
    --waiting_;
}

SpoolerQueue RecordingSpooler::ReadQueue()
{
    std::unique_lock lock(mutex_);
    ++reads_;
    WaitWhileHeld(lock);
    return queue_;
}

bool RecordingSpooler::SubmitRawJob(const std::string& title, const std::string& bytes)
{
    std::unique_lock lock(mutex_);
    WaitWhileHeld(lock);
    if (failSubmits_ || abandoned_)
        return false;
    jobs_.push_back(Job{title, bytes});
    return true;
}

void RecordingSpooler::Abandon()
{
    {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    released_.notify_all();
}

SpoolerQueue ReadQueueOf(std::vector<SpoolJobState> jobs, SpoolPrinterState printer,
                         std::vector<std::string> printerReasons)
{
    SpoolerQueue queue;
    queue.printerName = std::string(1, 'Q');
    queue.printerState = printer;
    queue.printerReasons = std::move(printerReasons);
    int id = 1;
    for (SpoolJobState state : jobs) {
        SpooledJob job;
        job.id = id++;
        job.state = state;
        queue.jobs.push_back(job);
    }
    return queue;
}
