// How soon the station answers the probe after it starts, with an empty log and with a log
// holding one non-record line of 20 MB (a report pasted into it): the time from starting the
// program to the first reply to a poll over a pseudo-terminal, the median of a few starts.
// Prints figures; it passes or fails nothing.  Usage: log_startup_bench [starts (3)]

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
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

// Milliseconds from starting the station to its first answer to a command poll; -1 when it
// did not answer within 20 seconds.
double FirstAnswerMs(const QString& settings, PtyPair& pty)
{
    char sink[256];
    while (read(pty.masterFd(), sink, sizeof sink) > 0) {
    }
    QProcess station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    station.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    station.start(QCoreApplication::applicationDirPath() + "/../tallion",
                  {"--settings", settings, "--port", "1=" + QString::fromStdString(pty.slavePath())});
    double answered = -1;
    const std::string poll{'H', 5};
    while (timer.elapsed() < 20000 && answered < 0) {
        // Polls the station has not read yet are dropped, so that it finds one poll, not a burst.
        tcflush(pty.masterFd(), TCOFLUSH);
        if (write(pty.masterFd(), poll.data(), poll.size()) != static_cast<ssize_t>(poll.size()))
            break;
        pollfd p{pty.masterFd(), POLLIN, 0};
        if (::poll(&p, 1, 100) > 0)
            answered = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    station.terminate();
    station.waitForFinished(10000);
    return answered;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dir;
    PtyPair pty;

    struct Case {
        const char* name;
        std::string log;
    } cases[] = {
        {"empty log", ""},
        {"log with a 20 MB non-record line", "Error\tTime & Date\t\r\n" + std::string(20 << 20, 'x') + "\r\n"},
    };
    std::vector<double> medians;
    for (const Case& c : cases) {
        const QString log = dir.filePath("shift.dif");
        QFile file(log);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(c.log.data(), static_cast<qint64>(c.log.size()));
        file.close();
        const QString settings = dir.filePath("station.ini");
        QFile ini(settings);
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write("[Properties]\nLogFilePath=" + QFile::encodeName(log) + "\n");
        ini.close();

        std::vector<double> times;
        for (int i = 0; i < starts; ++i)
            times.push_back(FirstAnswerMs(settings, pty));
        medians.push_back(Median(times));
        std::printf("%s: first answer to the probe %.0f ms after start (median of %d)\n", c.name, medians.back(),
                    starts);
    }
    std::printf("a 20 MB line adds %.0f ms to start-up (target: under 1000 ms)\n", medians[1] - medians[0]);
    return 0;
}
