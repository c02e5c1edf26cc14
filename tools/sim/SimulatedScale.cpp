#include "SimulatedScale.h"

#include "SerialLine.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

SimulatedScale::SimulatedScale(int fd, QObject* parent)
    : SimulatedScale(fd, false, parent)
{}

SimulatedScale::SimulatedScale(int fd, bool ownsFd, QObject* parent)
    : QObject(parent)
    , fd_(fd)
    , ownsFd_(ownsFd)
    , readNotifier_(fd, QSocketNotifier::Read)
{
    paceTimer_.setTimerType(Qt::PreciseTimer);
    connect(&readNotifier_, &QSocketNotifier::activated, this, &SimulatedScale::OnReadable);
    connect(&paceTimer_, &QTimer::timeout, this, &SimulatedScale::OnPace);
}

std::unique_ptr<SimulatedScale> SimulatedScale::OpenDevice(const std::string& path, std::string& error,
                                                           const std::string& lineSettings)
{
    const int fd = OpenSerialDevice(path, lineSettings, error);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<SimulatedScale>(new SimulatedScale(fd, true, nullptr));
}

SimulatedScale::~SimulatedScale()
{
    readNotifier_.setEnabled(false);
    if (ownsFd_)
        close(fd_);
}

bool SimulatedScale::SendWeight(double kg)
{
    ++messagesSent_;
    return Send(ScaleMessage(kg, format_, messagesSent_));
}

bool SimulatedScale::SendRaw(const std::string& bytes)
{
    return Send(bytes);
}

void SimulatedScale::Start(int ms, std::function<bool(double& kg)> next)
{
    next_ = std::move(next);
    paceTimer_.start(ms);
}

void SimulatedScale::Stop()
{
    paceTimer_.stop();
}

void SimulatedScale::OnPace()
{
    double kg = 0;
    if (!next_ || !next_(kg)) {
        paceTimer_.stop();
        return;
    }
    SendWeight(kg);
}

void SimulatedScale::OnReadable()
{
    char buffer[512];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            received_.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // End of file or a dead device: stop listening instead of spinning on a descriptor that
        // is always readable.
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            readNotifier_.setEnabled(false);
        return;
    }
}

bool SimulatedScale::Send(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, 100) > 0)
                continue;
        }
        break; // nobody drains the line: the rest is lost, as on a cable with no one listening
    }
    emit messageSent(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(done)));
    return done == bytes.size();
}
