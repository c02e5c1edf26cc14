#include "plant/PlantStreams.h"

#include <QDateTime>

#include <exception>

namespace {

std::string Unnumbered(std::string page, uint64_t generation)
{
    const std::string mark = " data-live=\"" + std::to_string(generation) + "\"";
    if (const size_t at = page.find(mark); at != std::string::npos)
        page.erase(at, mark.size());
    return page;
}

} // namespace

std::string PlantView::Key() const
{
    return station + '\n' + (day ? day->toString(Qt::ISODate).toStdString() : "today") + '\n' + std::to_string(page)
           + '\n' + (withWeight ? (*withWeight ? "1" : "0") : "-");
}

std::string ServerSentEvent(const std::string& name, const std::string& page, uint64_t id)
{
    std::string event = "id: " + std::to_string(id) + "\nevent: " + name + "\n";
    size_t start = 0;
    for (;;) {
        const size_t end = page.find('\n', start);
        event += "data: " + page.substr(start, end == std::string::npos ? std::string::npos : end - start) + "\n";
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return event + "\n";
}

PlantStreams::PlantStreams(Render render, size_t most)
    : render_(std::move(render))
    , most_(most)
    , generation_(static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch()))
{}

size_t PlantStreams::Count() const
{
    std::lock_guard lock(mutex_);
    return open_;
}

bool PlantStreams::Open(const PlantView& view, uint64_t seen, httplib::Response& response)
{
    std::shared_ptr<Subject> subject;
    uint64_t version = 0;
    {
        std::lock_guard lock(mutex_);
        if (open_ >= most_ || stopping_)
            return false;
        ++open_;
        std::shared_ptr<Subject>& found = subjects_[view.Key()];
        if (!found)
            found = std::make_shared<Subject>(Subject{view, {}, 0, 0});
        ++found->streams;
        subject = found;
        version = subject->version;
    }
    // Made for this stream: a change while it is made comes after it as the next version.
    std::string opening = "retry: 3000\n";
    try {
        if (const uint64_t now = generation_; now != seen)
            opening += ServerSentEvent("page", render_(view, now), now);
    } catch (...) {
        Close(subject);
        throw;
    }
    auto first = std::make_shared<std::string>(std::move(opening));
    auto sent = std::make_shared<uint64_t>(version);
    response.set_header("X-Accel-Buffering", "no");
    response.set_chunked_content_provider(
        "text/event-stream",
        [this, subject, first, sent](size_t, httplib::DataSink& sink) {
            if (!first->empty()) {
                const std::string event = std::move(*first);
                first->clear();
                return sink.write(event.data(), event.size());
            }
            std::unique_lock lock(mutex_);
            changed_.wait_for(lock, kPing, [&] { return stopping_ || subject->version > *sent; });
            if (stopping_)
                return false;
            std::string event;
            if (subject->version > *sent) {
                *sent = subject->version;
                event = ServerSentEvent("page", subject->page, subject->generation);
            } else {
                event = "event: ping\ndata: \n\n";
            }
            lock.unlock();
            return sink.write(event.data(), event.size());
        },
        [this, subject](bool) { Close(subject); });
    return true;
}

void PlantStreams::Close(const std::shared_ptr<Subject>& subject)
{
    std::lock_guard lock(mutex_);
    --open_;
    if (--subject->streams == 0) {
        const auto found = subjects_.find(subject->view.Key());
        if (found != subjects_.end() && found->second == subject)
            subjects_.erase(found);
    }
}

void PlantStreams::Refresh(const std::set<std::string>& stations, bool all)
{
    std::vector<std::shared_ptr<Subject>> due;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [key, subject] : subjects_)
            if (all || subject->view.station.empty() || stations.contains(subject->view.station))
                due.push_back(subject);
    }
    // Counted first: a page made from now on may hold the change.
    const uint64_t generation = ++generation_;
    bool any = false;
    for (const std::shared_ptr<Subject>& subject : due) {
        std::string page;
        try {
            page = render_(subject->view, generation);
        } catch (const std::exception&) {
            continue; // as a page that could not be made: its browsers keep what they show
        }
        std::lock_guard lock(mutex_);
        // The generation is part of the page: compared without it.
        if (Unnumbered(page, generation) != Unnumbered(subject->page, subject->generation)) {
            subject->page = std::move(page);
            subject->generation = generation;
            ++subject->version;
            any = true;
        }
    }
    if (any)
        changed_.notify_all();
}

void PlantStreams::Stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
}
