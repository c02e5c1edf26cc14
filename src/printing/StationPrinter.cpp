#include "printing/StationPrinter.h"

#include <QTimer>

StationPrinter::StationPrinter(std::unique_ptr<PrintSpooler> spooler, PrinterStatusSink& sink, QTimer& timerPStatus,
                               QObject* parent)
    : QObject(parent)
    , sink_(sink)
    , timer_(timerPStatus)
    , worker_(std::make_unique<SpoolerWorker>(std::move(spooler)))
{
    connect(&timer_, &QTimer::timeout, this, &StationPrinter::PollPrinterStatus);
}

StationPrinter::~StationPrinter() = default;

void StationPrinter::UseSpooler(std::unique_ptr<PrintSpooler> spooler)
{
    worker_ = std::make_unique<SpoolerWorker>(std::move(spooler));
    pollUnderWay_ = false;
    jobsUnderWay_ = 0;
}

void StationPrinter::SetRealTimePrinting(bool on)
{
    on_ = on;
    if (on_ && jobsUnderWay_ == 0)
        timer_.start();
    else
        timer_.stop();
}

std::string StationPrinter::RawJobBytes(const std::string& printHeaderLine, const std::string& line)
{
    return printHeaderLine + "\r\n" + line + "\r\n\r\n";
}

void StationPrinter::PrintResultLine(const std::string& printHeaderLine, const std::string& line)
{
    if (!on_)
        return;
    // The poll rests while a job is handed over, so that it sees the queue with the job in it.
    timer_.stop();
    ++jobsUnderWay_;
    worker_->SubmitRawJob(kJobTitle, RawJobBytes(printHeaderLine, line), [this](bool sent) {
        if (jobsUnderWay_ > 0)
            --jobsUnderWay_;
        if (on_ && jobsUnderWay_ == 0)
            timer_.start();
        emit jobDone(sent);
    });
}

void StationPrinter::PollPrinterStatus()
{
    if (!on_ || pollUnderWay_)
        return;
    pollUnderWay_ = true;
    worker_->ReadQueue([this](const SpoolerQueue& queue) { OnQueueRead(queue); });
}

void StationPrinter::OnQueueRead(const SpoolerQueue& queue)
{
    pollUnderWay_ = false;
    // Switched off while the spooler was asked: the answer no longer matters.
    if (!on_)
        return;
    const PrinterStatusStep step = poll_.Evaluate(queue);
    if (step.showStatus)
        sink_.ShowPrinterStatus(step.statusText);
    if (step.notice != ProbePrinterNotice::None)
        sink_.TellProbe(step.notice);
    if (!step.operatorMessage.empty())
        sink_.TellOperator(step.operatorMessage);
    emit statusPolled();
}
