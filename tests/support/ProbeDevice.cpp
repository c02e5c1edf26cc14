#include "support/ProbeDevice.h"

ProbeDevice::ProbeDevice(const QString& link)
    : name(link, pty.slavePath())
{
    probe.SetPollInterval(60);
    // A station slowed down by a loaded machine (sanitizers, parallel tests) may answer late; a
    // probe that gave up on an answer sends the message again, which would log it twice.
    probe.SetAnswerTimeout(3000);
}

bool ProbeDevice::StartUpCommandsArrived() const
{
    const auto commands = probe.Commands();
    return commands.size() >= 3 && commands[0].text == "0" && commands[1].text == "A1" && commands[2].text == "I1";
}

std::string BasicRecord(const std::string& counter)
{
    return "E01" + counter + "01250530001203000450612ABS140533X";
}

::testing::AssertionResult LoggedOnceInOrder(const std::string& log, std::initializer_list<const char*> counters)
{
    size_t last = 0;
    for (const char* counter : counters) {
        const std::string field = std::string("\t") + counter + "\t";
        const size_t at = log.find(field);
        if (at == std::string::npos)
            return ::testing::AssertionFailure() << counter << " missing";
        if (log.find(field, at + 1) != std::string::npos)
            return ::testing::AssertionFailure() << counter << " logged twice";
        if (at < last)
            return ::testing::AssertionFailure() << counter << " out of order";
        last = at;
    }
    return ::testing::AssertionSuccess();
}
