#include "probe/CrashPoint.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Armed {
    std::string name;
    long remaining = 0;
};

Armed ReadArmed()
{
    Armed armed;
    const char* value = std::getenv("TALLION_CRASH_AT");
    if (!value || !*value)
        return armed;
    const char* colon = std::strchr(value, ':');
    armed.name = colon ? std::string(value, colon) : std::string(value);
    armed.remaining = colon ? std::strtol(colon + 1, nullptr, 10) : 1;
    return armed;
}

} // namespace

void CrashPoint(const char* name)
{
    static Armed armed = ReadArmed();
    if (armed.name.empty() || armed.name != name)
        return;
    if (--armed.remaining > 0)
        return;
    std::raise(SIGKILL);
}
