// The plant database's outbox with a long backlog, as a station that logged for days while the
// server was away leaves it: the memory and the start-up time it costs against a station whose
// journal holds nothing, then the whole backlog read back in the publisher's batches, and the
// start-up after it drained (the journal compacted).
//   Usage: outbox_backlog_bench [waiting lines (1000000)]

#include "BenchLog.h"
#include "database/OutboxJournal.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Logs `count` lines through the journal as the station's writer does, 1,000 at a time.
void MakeBacklog(const std::string& log, int count)
{
    OutboxJournal journal("Line 1");
    journal.compactAfter = SIZE_MAX;
    std::ofstream(log, std::ios::binary) << "H\r\n";
    journal.Open(log);
    std::ofstream out(log, std::ios::binary | std::ios::app);
    std::vector<std::string> lines;
    for (int n = 0; n < count; ++n) {
        std::string line = bench::Line(n);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        lines.push_back(line);
        if (lines.size() == 1000 || n + 1 == count) {
            for (const std::string& l : lines)
                out << l << "\r\n";
            out.flush();
            journal.LinesAppended(log, lines);
            lines.clear();
        }
    }
}

struct Opened {
    double ms = 0;
    long kilobytes = 0;
};

// Opens the journal of `log` in a process of its own, so that each figure starts from nothing.
Opened OpenAndMeasure(const std::string& log, bool drain)
{
    std::fflush(stdout);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        std::exit(1);
    const pid_t child = ::fork();
    if (child == 0) {
        QElapsedTimer timer;
        timer.start();
        OutboxJournal journal("Line 1");
        journal.Open(log);
        Opened opened{static_cast<double>(timer.nsecsElapsed()) / 1e6, bench::ResidentKilobytes()};
        if (drain) {
            // The publisher's batches, each confirmed as the server would.
            QElapsedTimer draining;
            draining.start();
            size_t lines = 0;
            long peak = opened.kilobytes;
            for (OutboxBatch batch = journal.Unconfirmed(1000); batch.lastEvent != 0;
                 batch = journal.Unconfirmed(1000)) {
                lines += batch.lines.size();
                journal.Confirm(batch.journal, batch.lastEvent);
                peak = std::max(peak, bench::ResidentKilobytes());
            }
            std::printf("drained %zu lines in %.1f s, resident memory at most %.1f MB\n", lines,
                        static_cast<double>(draining.elapsed()) / 1000.0, static_cast<double>(peak) / 1024.0);
        }
        std::fflush(stdout);
        if (::write(pipeFds[1], &opened, sizeof opened) != sizeof opened)
            std::_Exit(1);
        std::_Exit(0);
    }
    Opened opened;
    if (::read(pipeFds[0], &opened, sizeof opened) != sizeof opened)
        std::exit(1);
    ::waitpid(child, nullptr, 0);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return opened;
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    const std::string idle = dir.filePath(QStringLiteral("idle.dif")).toStdString();
    const std::string backlog = dir.filePath(QStringLiteral("backlog.dif")).toStdString();
    MakeBacklog(idle, 1);
    {
        OutboxJournal drain("Line 1");
        drain.Open(idle);
        const OutboxBatch batch = drain.Unconfirmed(10);
        drain.Confirm(batch.journal, batch.lastEvent);
    }
    MakeBacklog(backlog, count);
    std::printf(
        "journal of %d waiting lines: %.1f MB\n", count,
        static_cast<double>(QFileInfo(QString::fromStdString(OutboxJournal::JournalPath(backlog, "Line 1"))).size())
            / 1048576.0);

    const Opened nothing = OpenAndMeasure(idle, false);
    const Opened waiting = OpenAndMeasure(backlog, true);
    std::printf("start-up: %.0f ms with nothing waiting, %.0f ms with %d waiting (%.0f ms more; target under 1000)\n",
                nothing.ms, waiting.ms, count, waiting.ms - nothing.ms);
    std::printf("resident memory after opening: %.1f MB with nothing waiting, %.1f MB with %d waiting (%.1f MB more; "
                "target under 30)\n",
                static_cast<double>(nothing.kilobytes) / 1024.0, static_cast<double>(waiting.kilobytes) / 1024.0, count,
                static_cast<double>(waiting.kilobytes - nothing.kilobytes) / 1024.0);
    const Opened after = OpenAndMeasure(backlog, false);
    std::printf(
        "after the drain: journal %.1f KB, start-up %.0f ms, resident memory %.1f MB\n",
        static_cast<double>(QFileInfo(QString::fromStdString(OutboxJournal::JournalPath(backlog, "Line 1"))).size())
            / 1024.0,
        after.ms, static_cast<double>(after.kilobytes) / 1024.0);
    return 0;
}
