#include "SimulatedDevice.h"

#include "SerialLine.h"

#include <cerrno>
#include <poll.h>
#include <system_error>
#include <unistd.h>

SimulatedDevice::SimulatedDevice(Line line, QObject* parent)
    : QObject(parent)
    , pty_(std::move(line.pty))
    , fd_(line.fd)
    , ownsFd_(line.ownsFd)
    , readNotifier_(line.fd, QSocketNotifier::Read)
{
    connect(&readNotifier_, &QSocketNotifier::activated, this, &SimulatedDevice::OnReadable);
}

SimulatedDevice::~SimulatedDevice()
{
    readNotifier_.setEnabled(false);
    if (ownsFd_)
        close(fd_);
}

SimulatedDevice::Line SimulatedDevice::OpenLine(const std::string& path, const std::string& lineSettings,
                                                std::string& error)
{
    Line line;
    if (!path.empty()) {
        line.fd = OpenSerialDevice(path, lineSettings, error);
        line.ownsFd = true;
        return line;
    }
    try {
        line.pty = std::make_unique<PtyPair>();
    } catch (const std::system_error& e) {
        error = e.what();
        return line;
    }
    line.fd = line.pty->masterFd();
    return line;
}

void SimulatedDevice::DiscardUnread()
{
    if (pty_)
        pty_->DiscardUnread();
}

void SimulatedDevice::OnReadable()
{
    std::string got;
    char buffer[512];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // End of file or a dead device: stop listening instead of spinning on a descriptor that
        // is always readable.
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            readNotifier_.setEnabled(false);
        break;
    }
    if (!got.empty())
        BytesArrived(got);
}

size_t SimulatedDevice::Write(const std::string& bytes)
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
        break;
    }
    return done;
}
