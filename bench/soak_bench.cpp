// The station program soaked over a pseudo-terminal: carcasses at the line's fastest pace with
// noise bytes, malformed frames, link silences and the probe's device pulled and plugged in again
// mixed in. Prints whether every measurement reached the log once and in order, the pace, and the
// station's resident memory after the first thousand carcasses and at the end.
//   Usage: soak_bench [carcasses (10000)] [pull every n-th carcass (1000)] [weighing]
// With "weighing" the station runs with --weighing and a Generic scale that weighs each carcass
// before it is probed; the scale's device is pulled too, and each carcass must carry its own
// weight in the log.
// 10,000 carcasses take about 53 minutes (3.2 a second): each carcass is a data poll, its frame and
// a command poll, each answered after one quiet 50 ms tick.

#include "tools/sim/StationSoak.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    SoakOptions options;
    options.program = QCoreApplication::applicationDirPath() + QStringLiteral("/../tallion");
    options.folder = dir.path();
    options.carcasses = argc > 1 ? std::atoi(argv[1]) : 10000;
    options.pullEvery = argc > 2 ? std::atoi(argv[2]) : 1000;
    options.noiseEvery = 37;
    options.malformedEvery = 53;
    options.silenceEvery = 2500;
    options.weighing = argc > 3 && std::string(argv[3]) == "weighing";
    options.scalePullEvery = options.weighing ? options.pullEvery + options.pullEvery / 2 : 0;
    const SoakResult r = RunStationSoak(options);
    if (!r.error.isEmpty())
        std::printf("run failed: %s\n", qPrintable(r.error));
    std::printf("carcasses logged: %d of %d, once and in order: %s%s%s\n", r.carcassesLogged, options.carcasses,
                r.onceInOrder ? "yes" : "NO", r.onceInOrder ? "" : " - ", r.problem.c_str());
    std::printf("time: %.0f s, %.2f carcasses a second\n", r.seconds, r.carcassesLogged / r.seconds);
    std::printf("malformed frames: %d sent, %d answered NAK; messages given up: %d\n", r.malformedSent,
                r.malformedNaked, r.givenUp);
    std::printf("probe's device pulled and plugged in again: %d times, the scale's: %d times; link silences: %d\n",
                r.pulls, r.scalePulls, r.silences);
    std::printf("resident memory: %ld kB after the first carcasses, %ld kB at the end (%+ld kB)\n", r.rssFirstKb,
                r.rssEndKb, r.rssEndKb - r.rssFirstKb);
    std::printf("station exit status after SIGTERM: %d\n", r.exitCode);
    return r.error.isEmpty() && r.onceInOrder ? 0 : 1;
}
