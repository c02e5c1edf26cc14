// Real-time printing and the printer status against a real CUPS scheduler that the test starts
// on its own (skipped, with the reason, where it cannot run).

#include "printing/CupsSpooler.h"
#include "printing/StationPrinter.h"
#include "support/E2eDeadlines.h"
#include "support/PrivateCupsScheduler.h"
#include "support/RecordingPrinterSink.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string kHeader = "Time   Date   Carcass#   Type   Fat1   Fat2   Meat   Meat%   Class   Quality   ";

long Count(const std::vector<std::string>& said, const std::string& what)
{
    return std::count(said.begin(), said.end(), what);
}

class CupsSchedulerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        if (!scheduler.Start(&why))
            GTEST_SKIP() << "no CUPS scheduler of the test's own: " << why;
        if (!scheduler.AddRawQueueAsDefault("Q", &why))
            GTEST_SKIP() << "the scheduler took no queue: " << why;
        hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
        oldServer = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", QByteArray::fromStdString(scheduler.Server()));
        timerPStatus.setInterval(100);
        // The worker thread starts now, so it reads CUPS_SERVER as set above.
        printer = std::make_unique<StationPrinter>(std::make_unique<CupsSpooler>(std::chrono::milliseconds(1500)), sink,
                                                   timerPStatus);
        printer->SetRealTimePrinting(true);
    }

    void TearDown() override
    {
        printer.reset();
        scheduler.Stop();
        if (hadServer)
            qputenv("CUPS_SERVER", oldServer);
        else
            qunsetenv("CUPS_SERVER");
    }

    bool StatusBecomes(const std::string& text, int ms = kStepMs)
    {
        return QTest::qWaitFor([&] { return sink.LastStatus() == text; }, ms);
    }

    // Titles of the finished jobs of queue Q, asked of the scheduler directly.
    std::vector<std::string> FinishedJobTitles()
    {
        std::vector<std::string> titles;
        http_t* http =
            httpConnect2("127.0.0.1", scheduler.Port(), nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 2000, nullptr);
        if (!http)
            return titles;
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(http, &jobs, "Q", 0, CUPS_WHICHJOBS_COMPLETED);
        for (int i = 0; i < count; ++i)
            titles.emplace_back(jobs[i].title);
        cupsFreeJobs(count, jobs);
        httpClose(http);
        return titles;
    }

    PrivateCupsScheduler scheduler;
    RecordingPrinterSink sink;
    QTimer timerPStatus;
    std::unique_ptr<StationPrinter> printer;
    bool hadServer = false;
    QByteArray oldServer;
};

TEST_F(CupsSchedulerTest, ResultsPrintByteForByteAndABacklogIsToldOnce)
{
    printer->PrintResultLine(kHeader, "14:05:33  09-12-2026,000123,1,12.0,3.0,45.0,61.2,E,,");
    const std::string expected = "Time   Date   Carcass#   Type   Fat1   Fat2   Meat   Meat%   Class   Quality   \r\n"
                                 "14:05:33  09-12-2026,000123,1,12.0,3.0,45.0,61.2,E,,\r\n\r\n";
    ASSERT_TRUE(QTest::qWaitFor([&] { return scheduler.Printed() == expected; }, kStepMs))
        << "printed: [" << scheduler.Printed() << "]\n"
        << scheduler.LogTail();
    EXPECT_TRUE(StatusBecomes("Online"));
    EXPECT_EQ(FinishedJobTitles(), std::vector<std::string>{"Kestrane Tallion Tool"});

    // The printer keeps the first job; three results wait.
    scheduler.HoldBackend(true);
    for (const char* line : {"a,", "b,", "c,"})
        printer->PrintResultLine("T   ", line);
    ASSERT_TRUE(StatusBecomes("Printing  \r\n")) << scheduler.LogTail();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Count(sink.probeCommands, "P01") > 0; }, kStepMs));
    const size_t told = sink.probeCommands.size();
    QTest::qWait(600);
    EXPECT_EQ(sink.probeCommands.size(), told) << "the backlog is told once";
    EXPECT_EQ(sink.LastStatus(), "Printing  \r\n");

    scheduler.HoldBackend(false);
    ASSERT_TRUE(StatusBecomes("Online"));
    QTest::qWait(400);
    EXPECT_EQ(Count(sink.probeCommands, "P02"), 1);
    EXPECT_EQ(sink.probeCommands.back(), "P02");
    EXPECT_EQ(scheduler.Printed(), expected + "T   \r\na,\r\n\r\nT   \r\nb,\r\n\r\nT   \r\nc,\r\n\r\n");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(CupsSchedulerTest, PrinterFaultsShowAndAStuckJobIsToldOnEveryTick)
{
    // Paper out: the job fails and waits, the printer still says why.
    scheduler.SetBackendMode("media");
    printer->PrintResultLine(kHeader, "x,");
    ASSERT_TRUE(StatusBecomes("Paper Out  \r\n")) << scheduler.LogTail();
    ASSERT_TRUE(scheduler.CancelAll());
    ASSERT_TRUE(StatusBecomes("Online"));

    // Offline: the job fails and waits with nothing said; the probe hears "P01" on every tick.
    std::string why;
    ASSERT_TRUE(scheduler.AddRawQueueAsDefault("Q2", &why)) << why;
    scheduler.SetBackendMode("offline");
    sink.Clear();
    printer->PrintResultLine(kHeader, "y,");
    ASSERT_TRUE(StatusBecomes("Offline!\r\n")) << scheduler.LogTail();
    const long before = Count(sink.probeCommands, "P01");
    QTest::qWait(500);
    EXPECT_GE(Count(sink.probeCommands, "P01") - before, 3);

    ASSERT_TRUE(scheduler.CancelAll());
    ASSERT_TRUE(StatusBecomes("Online"));
    QTest::qWait(400);
    EXPECT_EQ(Count(sink.probeCommands, "P02"), 1);
    EXPECT_EQ(sink.probeCommands.back(), "P02");
    EXPECT_EQ(scheduler.Printed(), "");
}

TEST_F(CupsSchedulerTest, AHungOrStoppedSchedulerHoldsUpNothing)
{
    ASSERT_TRUE(StatusBecomes("Online"));
    int receiveTicks = 0;
    QTimer rxTimer;
    QObject::connect(&rxTimer, &QTimer::timeout, [&] { ++receiveTicks; });
    rxTimer.start(50);

    // A scheduler that takes connections and answers nothing: the poll gives up after its limit.
    scheduler.Freeze(true);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(StatusBecomes(kPrinterUnreachableText, 6000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(receiveTicks, static_cast<int>(elapsed / 50) - 5) << "the 50 ms tick went on meanwhile";

    // Gone altogether: still unreachable, and the operator was told once.
    scheduler.Stop();
    printer->PrintResultLine(kHeader, "z,");
    QTest::qWait(500);
    EXPECT_EQ(sink.LastStatus(), kPrinterUnreachableText);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].rfind("Cannot open printer ", 0), 0u) << sink.messages[0];
}

} // namespace
