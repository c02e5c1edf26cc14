// The printer status poll over a spooler the test scripts: how the spooler's states read in
// panel 4, when the probe hears "P01" and "P02", the failure messages and the real-time job.

#include "printing/PrinterStatus.h"
#include "printing/StationPrinter.h"
#include "support/RecordingPrinterSink.h"
#include "support/RecordingSpooler.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using S = SpoolJobState;
using P = SpoolPrinterState;

SpoolerQueue WithJobReason(SpoolerQueue queue, const std::string& reason)
{
    queue.jobs.front().reasons.push_back(reason);
    return queue;
}

SpoolerQueue WithJobText(SpoolerQueue queue, const std::string& text)
{
    queue.jobs.front().statusText = text;
    return queue;
}

SpoolerQueue Failed(SpoolerQueue::Outcome outcome, const std::string& error)
{
    SpoolerQueue queue;
    queue.outcome = outcome;
    queue.printerName = "Q";
    queue.error = error;
    return queue;
}

std::vector<std::string> Said(const std::string& command)
{
    return command.empty() ? std::vector<std::string>{} : std::vector<std::string>{command};
}

TEST(PrinterStatusMapping, FirstJobAndPrinterStatesGiveTheStatusText)
{
    struct Case {
        const char* what;
        SpoolerQueue queue;
        std::string text;
        std::string probe;
    };
    const Case cases[] = {
        {"empty queue", ReadQueueOf({}), "Online", ""},
        {"first job waits, nothing wrong", ReadQueueOf({S::Pending}), "Offline!\r\n", "P01"},
        {"first job printing", ReadQueueOf({S::Processing}, P::Processing), "Printing  \r\n", ""},
        {"held job", ReadQueueOf({S::Held}), "Paused  \r\n", ""},
        {"stopped job", ReadQueueOf({S::Stopped}), "Paused  \r\n", ""},
        {"paused printer", ReadQueueOf({S::Pending}, P::Stopped, {"paused"}), "Paused  \r\n", ""},
        {"printer offline", ReadQueueOf({S::Pending}, P::Idle, {"offline-report"}), "Off line  \r\n", ""},
        {"aborted job", ReadQueueOf({S::Aborted}), "Off line\r\n", ""},
        {"paper out", ReadQueueOf({S::Pending}, P::Idle, {"media-empty-error"}), "Paper Out  \r\n", ""},
        {"paper low is only a warning", ReadQueueOf({S::Pending}, P::Idle, {"media-low-warning"}), "Offline!\r\n",
         "P01"},
        {"printing replaces paper out", ReadQueueOf({S::Processing}, P::Processing, {"media-empty-error"}),
         "Printing  \r\n", ""},
        {"paused replaces off line", ReadQueueOf({S::Held}, P::Idle, {"offline-report"}), "Paused  \r\n", ""},
        {"cover open", ReadQueueOf({S::Processing}, P::Processing, {"cover-open"}), "User Intervention Needed  \r\n",
         ""},
        {"paper jam", ReadQueueOf({S::Pending}, P::Idle, {"media-jam-error"}), "User Intervention Needed  \r\n", ""},
        {"job still coming in", WithJobReason(ReadQueueOf({S::Pending}), "job-incoming"), "Spooling  \r\n", ""},
        {"held because the printer did not take it", WithJobReason(ReadQueueOf({S::Held}), "resources-are-not-ready"),
         "Offline!\r\n", "P01"},
        {"the job's own message first", WithJobText(ReadQueueOf({S::Pending}), "Printer is not responding."),
         "Printer is not responding.\r\n", ""},
        {"canceled job", ReadQueueOf({S::Canceled}), "Unknown Status of 4\r\n", ""},
        {"completed job", ReadQueueOf({S::Completed}), "Unknown Status of 128\r\n", ""},
    };
    for (const Case& c : cases) {
        PrinterStatusPoll poll;
        const PrinterStatusStep step = poll.Evaluate(c.queue);
        EXPECT_TRUE(step.showStatus) << c.what;
        EXPECT_EQ(step.statusText, c.text) << c.what;
        EXPECT_EQ(ProbeCommandText(step.notice), c.probe) << c.what;
        EXPECT_EQ(step.operatorMessage, "") << c.what;
    }
}

// A station printer over the scripted spooler; the test ticks the poll itself.
class StationPrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<RecordingSpooler>();
        spooler = owned.get();
        printer = std::make_unique<StationPrinter>(std::move(owned), sink, timerPStatus);
        timerPStatus.setInterval(100);
        printer->SetRealTimePrinting(true);
    }

    // One tick, and its answer taken.
    void Tick()
    {
        timerPStatus.stop();
        QSignalSpy polled(printer.get(), &StationPrinter::statusPolled);
        printer->PollPrinterStatus();
        ASSERT_TRUE(polled.wait(2000));
    }

    void WaitForJob(bool sent)
    {
        QSignalSpy done(printer.get(), &StationPrinter::jobDone);
        ASSERT_TRUE(done.wait(2000));
        EXPECT_EQ(done.front().front().toBool(), sent);
    }

    QTimer timerPStatus;
    RecordingPrinterSink sink;
    RecordingSpooler* spooler = nullptr; // owned by the printer
    std::unique_ptr<StationPrinter> printer;
};

TEST_F(StationPrinterTest, ProbeHearsOfABacklogOnceAndOfAStuckJobOnEveryTick)
{
    struct TickCase {
        SpoolerQueue queue;
        std::string status;
        std::string probe;
    };
    const TickCase ticks[] = {
        {ReadQueueOf({S::Pending}), "Offline!\r\n", "P01"},
        {ReadQueueOf({S::Pending}), "Offline!\r\n", "P01"},
        {ReadQueueOf({}), "Online", "P02"},
        {ReadQueueOf({}), "Online", ""},
        {ReadQueueOf({S::Processing, S::Pending}), "Printing  \r\n", ""},
        {ReadQueueOf({S::Processing, S::Pending, S::Pending}), "Printing  \r\n", "P01"},
        {ReadQueueOf({S::Processing, S::Pending, S::Pending, S::Pending}), "Printing  \r\n", ""},
        // Once a backlog is reported, a waiting first job is no longer taken as offline.
        {ReadQueueOf({S::Pending, S::Pending}), "Unknown Status of 0\r\n", ""},
        {ReadQueueOf({}), "Online", "P02"},
        {ReadQueueOf({}), "Online", ""},
    };
    int tick = 0;
    for (const TickCase& t : ticks) {
        spooler->SetQueue(t.queue);
        sink.Clear();
        Tick();
        EXPECT_EQ(sink.statusTexts, std::vector<std::string>{t.status}) << "tick " << tick;
        EXPECT_EQ(sink.probeCommands, Said(t.probe)) << "tick " << tick;
        ++tick;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(StationPrinterTest, FailuresAreToldOnceWhileTheyLast)
{
    using O = SpoolerQueue::Outcome;
    const std::string cannotOpen = "Cannot open printer Q, Error: Connection refused";
    const std::string noJobs = " > EnumJobs Failed on second call! <  Error = Forbidden";
    struct TickCase {
        SpoolerQueue queue;
        std::vector<std::string> status;
        std::vector<std::string> messages;
    };
    const TickCase ticks[] = {
        {Failed(O::PrinterUnavailable, "Connection refused"), {"Printer unreachable"}, {cannotOpen}},
        {Failed(O::PrinterUnavailable, "Connection refused"), {"Printer unreachable"}, {}},
        {Failed(O::PrinterUnavailable, "Connection refused"), {"Printer unreachable"}, {}},
        {ReadQueueOf({}), {"Online"}, {}},
        {Failed(O::PrinterUnavailable, "Connection refused"), {"Printer unreachable"}, {cannotOpen}},
        // The job list failing leaves the panel as it was.
        {Failed(O::JobListFailed, "Forbidden"), {}, {noJobs}},
        {Failed(O::JobListFailed, "Forbidden"), {}, {}},
    };
    int tick = 0;
    for (const TickCase& t : ticks) {
        spooler->SetQueue(t.queue);
        sink.Clear();
        Tick();
        EXPECT_EQ(sink.statusTexts, t.status) << "tick " << tick;
        EXPECT_EQ(sink.messages, t.messages) << "tick " << tick;
        EXPECT_TRUE(sink.probeCommands.empty()) << "tick " << tick;
        ++tick;
    }
}

TEST_F(StationPrinterTest, EachResultIsOneRawJobAndThePollRestsMeanwhile)
{
    spooler->Hold(true);
    printer->PrintResultLine("Time   Date   Carcass#   ", "14:05:33  09-12-2026,000123,");
    EXPECT_FALSE(timerPStatus.isActive());
    spooler->Hold(false);
    WaitForJob(true);
    EXPECT_TRUE(timerPStatus.isActive());

    const auto jobs = spooler->Jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].title, "Kestrane Tallion Tool");
    EXPECT_EQ(jobs[0].bytes, "Time   Date   Carcass#   \r\n14:05:33  09-12-2026,000123,\r\n\r\n");

    // A spooler that refuses the job changes nothing for the station.
    spooler->FailSubmits(true);
    printer->PrintResultLine("Time   ", "x,");
    WaitForJob(false);
    EXPECT_TRUE(timerPStatus.isActive());

    // Switched off: nothing is printed and the poll stops.
    spooler->FailSubmits(false);
    printer->SetRealTimePrinting(false);
    printer->PrintResultLine("Time   ", "y,");
    QTest::qWait(150);
    EXPECT_EQ(spooler->Jobs().size(), 1u);
    EXPECT_FALSE(timerPStatus.isActive());
}

} // namespace
