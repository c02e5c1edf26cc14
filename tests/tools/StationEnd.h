#pragma once
// The station's end of a pseudo-terminal, played by a test: plain POSIX reads on the slave,
// with the Qt event loop kept turning so a simulator in the same thread can run.

#include <string>

class StationEnd {
public:
    // Opens `path` raw and non-blocking, as the station's serial layer would.
    explicit StationEnd(const std::string& path);
    ~StationEnd();
    StationEnd(const StationEnd&) = delete;
    StationEnd& operator=(const StationEnd&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    // The next reception: bytes followed by `quietMs` without another byte, the way the
    // station's receive tick cuts them. Empty when nothing started within `timeoutMs`.
    std::string NextReception(int timeoutMs = 1500, int quietMs = 60);
    // Every byte that arrives within `ms`.
    std::string CollectFor(int ms);
    void Answer(const std::string& bytes);
    // Keeps the event loop turning for `ms` without reading.
    static void Pump(int ms);

private:
    std::string ReadWaiting();
    void WaitABit();

    int fd_ = -1;
};
