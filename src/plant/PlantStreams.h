#pragma once
// The pages' live updates: each open page holds a stream of server-sent events on which the
// server pushes the whole page again whenever what it shows has changed. Pages that show the same
// thing share one copy, made once per change however many browsers show it; a stream also gets a
// "ping" every 15 s, so that the browser sees a connection that silently died.
//
// Each refresh counts a generation (from the server's start time, so that a restarted server
// counts differently); a page carries the one it was made in and the stream starts from there:
// a page opened while nothing changed is not sent again, one that missed a change is.

#include <QDate>

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

// What a page shows.
struct PlantView {
    std::string station;      // Latin-1; empty: the plant today
    std::optional<QDate> day; // none: today, whichever day that is when the page is made
    long long page = 0;
    std::optional<bool> withWeight;
    std::string Key() const;
};

class PlantStreams {
public:
    using Render = std::function<std::string(const PlantView& view, uint64_t generation)>;

    PlantStreams(Render render, size_t most);

    // Makes `response` a stream of `view`'s page, for a page made in generation `seen`. False when
    // `most` streams are open already.
    bool Open(const PlantView& view, uint64_t seen, httplib::Response& response);
    uint64_t Generation() const { return generation_; }
    // Makes the pages that show `stations` (Latin-1) again, or every page, and pushes those that changed.
    void Refresh(const std::set<std::string>& stations, bool all);
    // Ends every stream (the server is stopping).
    void Stop();
    size_t Count() const;

    static constexpr std::chrono::seconds kPing{15};

private:
    struct Subject {
        PlantView view;
        std::string page;
        uint64_t version = 0;
        uint64_t generation = 0; // of `page`
        size_t streams = 0;
    };
    void Close(const std::shared_ptr<Subject>& subject);

    Render render_;
    size_t most_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, std::shared_ptr<Subject>> subjects_;
    size_t open_ = 0;
    bool stopping_ = false;
    std::atomic<uint64_t> generation_;
};

// `page` as one server-sent event named `name` (each line its own data: field), with `id`.
std::string ServerSentEvent(const std::string& name, const std::string& page, uint64_t id);
