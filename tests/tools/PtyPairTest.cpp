#include "tools/sim/PtyPair.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace {

std::string ReadAvailable(int fd, size_t wanted, int timeoutMs = 500)
{
    std::string got;
    char buffer[512];
    while (got.size() < wanted) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            break;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

TEST(PtyPair, EveryByteValuePassesUnchangedBothWays)
{
    PtyPair pty;
    const int slave = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    std::string all;
    for (int code = 0; code < 256; ++code)
        all += static_cast<char>(code);

    struct Direction {
        const char* name;
        int from;
        int to;
    };
    for (const Direction& d :
         {Direction{"master to slave", pty.masterFd(), slave}, Direction{"slave to master", slave, pty.masterFd()}}) {
        SCOPED_TRACE(d.name);
        ASSERT_EQ(write(d.from, all.data(), all.size()), static_cast<ssize_t>(all.size()));
        EXPECT_EQ(ReadAvailable(d.to, all.size()), all);
        // No echo comes back to the writer.
        EXPECT_EQ(ReadAvailable(d.from, 1, 50), "");
    }
    close(slave);
}

TEST(PtyPair, MasterStaysUsableAfterTheStationClosesItsEnd)
{
    PtyPair pty;
    const int slave = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    close(slave);

    char byte;
    errno = 0;
    EXPECT_EQ(read(pty.masterFd(), &byte, 1), -1);
    EXPECT_EQ(errno, EAGAIN) << "a closed slave must not turn into EIO, and the master must not block";

    // The station opens the port again and hears the probe.
    const int reopened = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(reopened, 0);
    ASSERT_EQ(write(pty.masterFd(), "h\5", 2), 2);
    EXPECT_EQ(ReadAvailable(reopened, 2), "h\5");
    close(reopened);
}

TEST(PtyPair, DiscardUnreadDropsWhatNobodyRead)
{
    PtyPair pty;
    ASSERT_EQ(write(pty.masterFd(), "H\5H\5", 4), 4);
    usleep(20000); // let the bytes reach the slave's queue
    pty.DiscardUnread();
    const int slave = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    ASSERT_EQ(write(pty.masterFd(), "h\5", 2), 2);
    EXPECT_EQ(ReadAvailable(slave, 6, 100), "h\5");
    close(slave);
}

} // namespace
