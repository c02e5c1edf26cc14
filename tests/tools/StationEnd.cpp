#include "StationEnd.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

StationEnd::StationEnd(const std::string& path)
{
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios t{};
    if (fd_ >= 0 && tcgetattr(fd_, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }
}

StationEnd::~StationEnd()
{
    if (fd_ >= 0)
        close(fd_);
}

void StationEnd::WaitABit()
{
    QCoreApplication::processEvents();
    pollfd p{fd_, POLLIN, 0};
    poll(&p, 1, 2);
}

std::string StationEnd::ReadWaiting()
{
    std::string got;
    char buffer[256];
    ssize_t n;
    while ((n = read(fd_, buffer, sizeof buffer)) > 0)
        got.append(buffer, static_cast<size_t>(n));
    return got;
}

std::string StationEnd::NextReception(int timeoutMs, int quietMs)
{
    std::string reception;
    QElapsedTimer sinceStart;
    QElapsedTimer sinceLastByte;
    sinceStart.start();
    for (;;) {
        WaitABit();
        const std::string got = ReadWaiting();
        if (!got.empty()) {
            reception += got;
            sinceLastByte.start();
        }
        if (!reception.empty() && sinceLastByte.elapsed() >= quietMs)
            return reception;
        if (reception.empty() && sinceStart.elapsed() >= timeoutMs)
            return reception;
    }
}

std::string StationEnd::CollectFor(int ms)
{
    std::string got;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        WaitABit();
        got += ReadWaiting();
    }
    return got;
}

void StationEnd::Answer(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
}

void StationEnd::Pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents();
        usleep(1000);
    }
}
