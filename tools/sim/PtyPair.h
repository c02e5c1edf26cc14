#pragma once
// A pseudo-terminal pair standing in for a serial cable: an instrument simulator works the
// master end, the station opens the slave path like any serial device.

#include <string>

class PtyPair {
public:
    // Opens the pair and makes both ends raw; throws std::system_error when the platform
    // refuses.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Non-blocking, close-on-exec; owned by the pair.
    int masterFd() const { return master_; }
    // The path the station opens, e.g. /dev/pts/7.
    const std::string& slavePath() const { return slavePath_; }

    // Throws away bytes the master wrote that no one has read on the slave side yet. A real line
    // keeps nothing while nobody listens; a pty would hand a late-starting station a pile of
    // stale polls.
    void DiscardUnread();

private:
    int master_ = -1;
    // Held open for the pair's life: once the last slave descriptor closes, reading the master
    // fails with EIO, which would end the simulator each time the station closes its port.
    int slave_ = -1;
    std::string slavePath_;
};
