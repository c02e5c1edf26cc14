// The station program's own cost on a line: processor time with a quiet line (nobody polls), and
// the time from the last byte of a probe's poll to the first byte of the station's reply over a
// pseudo-terminal (the link answers after one quiet 50 ms tick, so 50 to 100 ms is expected), and
// from the last byte of a measurement's frame to its ACK, which waits for the message to be synced
// into the journal of received messages (a log file and the journal on the temporary folder's disk).
//   Usage: station_idle_bench [seconds of quiet (10)] [polls (200)]

#include "tools/sim/PtyPair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

double CpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Milliseconds from writing `bytes` to the first byte back; -1 when nothing came within a second.
double ReplyMs(int fd, const std::string& bytes)
{
    char sink[256];
    while (read(fd, sink, sizeof sink) > 0) {
    }
    QElapsedTimer timer;
    if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        return -1;
    timer.start();
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 1000) <= 0)
        return -1;
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    usleep(20000);
    while (read(fd, sink, sizeof sink) > 0) {
    }
    return ms;
}

void Report(const char* what, const char* unit, std::vector<double> replies, int unanswered)
{
    std::sort(replies.begin(), replies.end());
    if (replies.empty()) {
        std::printf("%s: no answer at all\n", what);
        return;
    }
    const auto at = [&](double q) { return replies[std::min(replies.size() - 1, size_t(q * replies.size()))]; };
    std::printf("%s over %zu %s: median %.1f ms, 99th percentile %.1f ms, fastest %.1f ms, slowest %.1f ms; "
                "unanswered %d\n",
                what, replies.size(), unit, at(0.5), at(0.99), replies.front(), replies.back(), unanswered);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int quietSeconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int polls = argc > 2 ? std::atoi(argv[2]) : 200;
    QTemporaryDir dir;
    PtyPair pty;
    QFile settings(dir.filePath("station.ini"));
    settings.open(QIODevice::WriteOnly);
    settings.write("[Properties]\nLogFilePath=" + dir.filePath("shift.dif").toUtf8() + "\n");
    settings.close();

    QProcess station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    station.setProcessEnvironment(env);
    station.start(QCoreApplication::applicationDirPath() + "/../tallion",
                  {"--settings", settings.fileName(), "--port", "1=" + QString::fromStdString(pty.slavePath())});
    if (!station.waitForStarted(10000)) {
        std::printf("the station did not start\n");
        return 1;
    }
    sleep(3); // start-up done

    const double before = CpuSeconds(station.processId());
    QElapsedTimer wall;
    wall.start();
    sleep(static_cast<unsigned>(quietSeconds));
    const double share = (CpuSeconds(station.processId()) - before) / (static_cast<double>(wall.elapsed()) / 1000.0);
    std::printf("quiet line: %.2f %% of a core over %d s (target under 1 %%)\n", share * 100.0, quietSeconds);

    std::vector<double> replies;
    int unanswered = 0;
    for (int i = 0; i < polls; ++i) {
        // Command polls: answered "H" EOT or a command, and the link stays idle.
        const double ms = ReplyMs(pty.masterFd(), std::string{'H', 5});
        if (ms < 0)
            ++unanswered;
        else
            replies.push_back(ms);
    }
    Report("poll to reply", "polls", replies, unanswered);

    // Measurements: data poll, then the frame; the ACK comes once the message is in the journal.
    std::vector<double> acks;
    int unacknowledged = 0;
    for (int i = 0; i < polls; ++i) {
        const std::string counter = QString::number(100000 + i).toStdString();
        const std::string message = "01" + counter + "01250530001203000450612ABS140533X";
        const double ms = ReplyMs(pty.masterFd(), std::string{'h', 5}) < 0
                              ? -1
                              : ReplyMs(pty.masterFd(), std::string{1, 'E', 2} + message + std::string{3});
        if (ms < 0)
            ++unacknowledged;
        else
            acks.push_back(ms);
    }
    Report("frame to ACK", "measurements", acks, unacknowledged);
    station.terminate();
    station.waitForFinished(5000);
    return 0;
}
