#pragma once
// The one LISTEN connection of the server. A notification names a station, but any role may send
// one, so it is only a hint of what to read again: the pages are made afresh from the views.
// Bursts are gathered (a backlog of 100,000 lines is a handful of refreshes); a connection lost or
// made again refreshes everything, since notices may have been missed meanwhile; and every minute
// everything is refreshed anyway, for the "quiet for" times.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

class PlantListener {
public:
    // `stations` named (Latin-1), or `all`.
    using Changed = std::function<void(const std::set<std::string>& stations, bool all)>;

    PlantListener(std::string conninfo, Changed changed);
    ~PlantListener();
    PlantListener(const PlantListener&) = delete;
    PlantListener& operator=(const PlantListener&) = delete;

    void Start();
    void Stop();

    // A burst's first notice waits this long for the rest; refreshes are at least kGap apart.
    static constexpr std::chrono::milliseconds kGather{100};
    static constexpr std::chrono::milliseconds kGap{400};
    static constexpr std::chrono::seconds kEverything{60};
    static constexpr std::chrono::seconds kRetry{2};

private:
    void Run();
    // Waits for the socket (-1: none) or the stop pipe until `deadline`; false when stopping.
    bool Wait(int socket, std::chrono::steady_clock::time_point deadline);

    std::string conninfo_;
    Changed changed_;
    std::thread thread_;
    int wake_[2] = {-1, -1};
    std::mutex mutex_;
    bool stopping_ = false;
};
