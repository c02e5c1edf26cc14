#include "SimulatedDevice.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

SimulatedDevice::SimulatedDevice(int fd, bool ownsFd, QObject* parent)
    : QObject(parent)
    , fd_(fd)
    , ownsFd_(ownsFd)
    , readNotifier_(fd, QSocketNotifier::Read)
{
    connect(&readNotifier_, &QSocketNotifier::activated, this, &SimulatedDevice::OnReadable);
}

SimulatedDevice::~SimulatedDevice()
{
    readNotifier_.setEnabled(false);
    if (ownsFd_)
        close(fd_);
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
