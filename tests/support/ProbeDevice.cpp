#include "support/ProbeDevice.h"

#include <QFile>

#include <cstdio>

ProbeDevice::ProbeDevice(const QString& link)
    : link_(link)
{
    const QString fresh = link + ".new";
    QFile::remove(fresh);
    QFile::link(QString::fromStdString(pty.slavePath()), fresh);
    std::rename(fresh.toLocal8Bit().constData(), link.toLocal8Bit().constData());
    probe.SetPollInterval(60);
    // A station slowed down by a loaded machine (sanitizers, parallel tests) may answer late; a
    // probe that gave up on an answer sends the message again, which would log it twice.
    probe.SetAnswerTimeout(3000);
}

ProbeDevice::~ProbeDevice()
{
    probe.Stop();
    // Left behind, the link would point at a pseudo-terminal number that another test may be
    // given next, and the station would open that one. Only a link still pointing here goes.
    if (QFile::symLinkTarget(link_) == QString::fromStdString(pty.slavePath()))
        QFile::remove(link_);
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

bool LoggedOnceInOrder(const std::string& log, std::initializer_list<const char*> counters, std::string* why)
{
    size_t last = 0;
    for (const char* counter : counters) {
        const std::string field = std::string("\t") + counter + "\t";
        const size_t at = log.find(field);
        std::string problem;
        if (at == std::string::npos)
            problem = std::string(counter) + " missing";
        else if (log.find(field, at + 1) != std::string::npos)
            problem = std::string(counter) + " logged twice";
        else if (at < last)
            problem = std::string(counter) + " out of order";
        if (!problem.empty()) {
            if (why)
                *why = problem;
            return false;
        }
        last = at;
    }
    return true;
}
