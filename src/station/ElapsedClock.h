#pragma once
// Time since start-up as the status bar shows it: hours (at least two digits), minutes and
// seconds. Counts ticks of the one-second clock timer; never reset while the station runs.

#include <cstdint>
#include <string>

class ElapsedClock {
public:
    // One second more.
    void Tick();
    // "hh:mm:ss"; hours grow past two digits ("123:00:00").
    std::string Text() const;

    std::int64_t hours() const { return hours_; }
    int minutes() const { return minutes_; }
    int seconds() const { return seconds_; }

private:
    // 64 bits: a station left running never wraps the hour count.
    std::int64_t hours_ = 0;
    int minutes_ = 0;
    int seconds_ = 0;
};
