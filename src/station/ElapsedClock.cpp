#include "station/ElapsedClock.h"

#include <cstdio>

void ElapsedClock::Tick()
{
    if (++seconds_ > 59) {
        seconds_ = 0;
        if (++minutes_ > 59) {
            minutes_ = 0;
            ++hours_;
        }
    }
}

std::string ElapsedClock::Text() const
{
    char text[40];
    std::snprintf(text, sizeof text, "%02lld:%02d:%02d", static_cast<long long>(hours_), minutes_, seconds_);
    return text;
}
