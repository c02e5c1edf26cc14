#include "PtyPair.h"

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <stdlib.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowErrno(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

void MakeRaw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        ThrowErrno("tcgetattr");
    cfmakeraw(&t);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0)
        ThrowErrno("tcsetattr");
}

void AddFlags(int fd, int fdFlags, int statusFlags)
{
    if (fdFlags != 0 && fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | fdFlags) != 0)
        ThrowErrno("fcntl F_SETFD");
    if (statusFlags != 0 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | statusFlags) != 0)
        ThrowErrno("fcntl F_SETFL");
}

} // namespace

PtyPair::PtyPair()
{
    if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0)
        ThrowErrno("openpty");
    try {
        char name[256];
        if (ptsname_r(master_, name, sizeof name) != 0)
            ThrowErrno("ptsname_r");
        slavePath_ = name;
        // Raw before anyone else opens the slave, so not a single byte is echoed or translated.
        MakeRaw(slave_);
        MakeRaw(master_);
        AddFlags(master_, FD_CLOEXEC, O_NONBLOCK);
        AddFlags(slave_, FD_CLOEXEC, 0);
    } catch (...) {
        close(master_);
        close(slave_);
        throw;
    }
}

PtyPair::~PtyPair()
{
    close(master_);
    close(slave_);
}

void PtyPair::DiscardUnread()
{
    tcflush(slave_, TCIFLUSH);
}
