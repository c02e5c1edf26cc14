// Reading the events that wait for the server back from the journal file, a batch at a time, so
// that a backlog of any size is held on disk and not in memory.

#include "database/JournalRecords.h"
#include "database/OutboxJournal.h"

#include <cstring>
#include <unistd.h>

bool OutboxJournal::ParseEvent(const std::string& record, Event& e, std::int64_t* sizeOut, std::int64_t* indexOut)
{
    size_t at = 2;
    std::int64_t ignored = 0;
    std::int64_t& size = sizeOut ? *sizeOut : ignored;
    std::int64_t& index = indexOut ? *indexOut : ignored;
    e = {};
    switch (record.size() >= 2 && record[1] == ' ' ? record[0] : '\0') {
    case 'A':
        if (!Number(record, at, e.number) || !Number(record, at, e.ms) || !Number(record, at, size))
            return false;
        e.line = Unescaped(record.substr(std::min(at, record.size())));
        return true;
    case 'W':
        if (!Number(record, at, e.number) || !Number(record, at, e.ms))
            return false;
        e.line = Unescaped(record.substr(std::min(at, record.size())));
        return true;
    case 'D':
        e.deletion = true;
        if (!Number(record, at, e.number) || !Number(record, at, e.ms) || !Number(record, at, size)
            || !Number(record, at, index) || !Number(record, at, e.lineSeq))
            return false;
        return at >= record.size() || Number(record, at, e.lineJournal);
    default: return false;
    }
}

std::vector<OutboxJournal::Event> OutboxJournal::ReadEvents(long long from, size_t max, std::int64_t upTo,
                                                            long long& end) const
{
    std::vector<Event> events;
    std::vector<Event> intent; // an append's lines count once it is committed
    bool inIntent = false;
    std::int64_t last = confirmed_;
    end = from;
    std::string pending;
    char buffer[65536];
    long long at = from;
    long long recordStart = from;
    while (events.size() < max || inIntent) {
        const ssize_t n = ::pread(fd_, buffer, sizeof buffer, at);
        if (n <= 0)
            break;
        at += n;
        pending.append(buffer, static_cast<size_t>(n));
        size_t start = 0;
        for (size_t nl = pending.find('\n'); nl != std::string::npos; nl = pending.find('\n', start)) {
            const std::string record = pending.substr(start, nl - start);
            const long long recordEnd = recordStart + static_cast<long long>(nl - start + 1);
            start = nl + 1;
            Event e;
            const char kind = record.empty() ? '\0' : record[0];
            if (kind == 'P') {
                inIntent = true;
                intent.clear();
            } else if (kind == 'X') {
                inIntent = false;
                intent.clear();
            } else if (kind == 'C') {
                if (!intent.empty() && intent.back().number > last && intent.back().number > upTo)
                    return events;
                inIntent = false;
                for (Event& i : intent)
                    if (i.number > last && i.number <= upTo) {
                        last = i.number;
                        events.push_back(std::move(i));
                    }
                intent.clear();
            } else if (ParseEvent(record, e) && !(kind == 'D' && e.lineSeq == 0)) {
                if (inIntent && kind == 'A') {
                    intent.push_back(std::move(e));
                } else if (e.number > last) {
                    if (e.number > upTo)
                        return events;
                    last = e.number;
                    events.push_back(std::move(e));
                }
            }
            recordStart = recordEnd;
            if (!inIntent)
                end = recordEnd;
            if (events.size() >= max && !inIntent)
                return events;
        }
        pending.erase(0, start);
    }
    return events;
}
