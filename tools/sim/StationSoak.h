#pragma once
// A long run of the real station program against the simulated probe on a pseudo-terminal: as
// many carcasses as the line can take, with noise, malformed frames, silences and the device
// pulled and plugged in again mixed in. It tells whether every measurement reached the log file
// exactly once and in order, and how the station's memory grew.

#include <QString>
#include <string>

struct SoakOptions {
    QString program;         // the station, e.g. build/tallion
    QString folder;          // an empty folder for settings, the log, the device link, recovery files
    int carcasses = 10000;   // up to 999999
    int noiseEvery = 50;     // noise bytes before every n-th carcass (0: never)
    int malformedEvery = 40; // a malformed frame before every n-th carcass (0: never)
    int silenceEvery = 0;    // the probe falls silent (the link is lost) after every n-th (0: never)
    int silenceMs = 4000;
    int pullEvery = 0; // the device is pulled and plugged in again after every n-th (0: never)
    int pullMs = 1500; // how long it stays away
    // Weighing: the station runs with --weighing, a Generic scale on port 2 and weight before
    // probe; the scale weighs each carcass just before the probe measures it, and its device is
    // pulled and plugged in again after every n-th carcass (0: never).
    bool weighing = false;
    int scalePullEvery = 0;
    int timeoutMs = 0; // give up after this long; 0: a generous time for the carcasses
};

struct SoakResult {
    QString error; // the run could not be made or did not finish
    int carcassesLogged = 0;
    bool onceInOrder = false;
    std::string problem; // the first thing wrong with the log (order, or a carcass with
                         // another carcass's weight), when not once in order
    int malformedSent = 0;
    int malformedNaked = 0;
    int givenUp = 0; // messages the probe dropped after failed deliveries
    int silences = 0;
    int pulls = 0;
    int scalePulls = 0;
    double seconds = 0;
    long rssFirstKb = 0; // resident memory once the first thousand (or tenth) carcasses are in
    long rssEndKb = 0;   // and at the end
    int exitCode = -1;   // of the station after SIGTERM
};

SoakResult RunStationSoak(const SoakOptions& options);
