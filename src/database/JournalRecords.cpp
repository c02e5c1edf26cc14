#include "database/JournalRecords.h"

#include "database/OutboxJournal.h"

#include <algorithm>
#include <charconv>

bool Number(const std::string& text, size_t& at, std::int64_t& value)
{
    const char* begin = text.data() + at;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc() || end == begin)
        return false;
    at += static_cast<size_t>(end - begin);
    if (at < text.size() && text[at] == ' ')
        ++at;
    return true;
}

std::string Escaped(const std::string& line)
{
    std::string text;
    text.reserve(line.size());
    for (const char c : line) {
        if (c == '\\')
            text += "\\\\";
        else if (c == '\n')
            text += "\\n";
        else
            text += c;
    }
    return text;
}

std::string Unescaped(const std::string& text)
{
    std::string line;
    line.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            line += text[i] == 'n' ? '\n' : text[i];
        } else {
            line += text[i];
        }
    }
    return line;
}

std::string DeletionRecord(std::int64_t number, std::int64_t ms, std::int64_t size, std::int64_t seq,
                           std::int64_t journal)
{
    return "D" + Join({number, ms, size, -1, seq}) + (journal != 0 ? Join({journal}) : "") + "\n";
}

std::string Join(std::initializer_list<std::int64_t> numbers)
{
    std::string text;
    for (const std::int64_t n : numbers)
        text += ' ' + std::to_string(n);
    return text;
}

bool OutboxJournal::ApplyRecord(const std::string& record)
{
    if (record == "C" || record == "X" || record == "N" || record == "K")
        return ApplyRecord(record + " ");
    if (record.size() < 2 || record[1] != ' ')
        return false;
    size_t at = 2;
    std::int64_t size = 0;
    switch (record[0]) {
    case 'M': {
        std::int64_t next = 0;
        if (!Number(record, at, next) || !Number(record, at, size))
            return false;
        nextEvent_ = next;
        mapNext_ = next;
        knownSize_ = size;
        waiting_ = 0;
        return map_.Parse(record, at, size);
    }
    case 'Q': {
        // The map matched to the log again after it changed under the station.
        if (!Number(record, at, size))
            return false;
        knownSize_ = size;
        return map_.Parse(record, at, size);
    }
    case 'A':
    case 'D':
    case 'W': {
        // W: a line waiting for the server that the map already holds. D with index -1: the Q
        // record after it says where lines stand.
        Event e;
        std::int64_t index = -1;
        if (!ParseEvent(record, e, &size, &index))
            return false;
        if (e.number < mapNext_)
            return false; // numbered before the map: pieced together wrongly
        if (e.number < nextEvent_)
            return true; // written twice after a failed sync; the first counts
        nextEvent_ = e.number + 1;
        if (record[0] == 'A' && replayIntent_.active) {
            replayIntent_.events.push_back(std::move(e));
            replayIntent_.sizes.push_back(size);
            return true;
        }
        if (record[0] == 'A')
            map_.Append(e.number, LogLineMap::HashOf(e.line));
        if (record[0] == 'D' && index >= 0)
            map_.Erase(static_cast<size_t>(index));
        if (record[0] != 'W')
            knownSize_ = size;
        if (e.number > confirmed_ && !(e.deletion && e.lineSeq == 0))
            ++waiting_;
        return true;
    }
    case 'N': reconcile_ = true; return true;
    case 'K': reconcile_ = false; return true;
    case 'O': othersFound_.push_back(record.substr(2)); return true;
    case 'P': {
        std::int64_t start = 0;
        std::int64_t end = 0;
        if (!Number(record, at, start) || !Number(record, at, end))
            return false;
        replayIntent_ = {true, start, end, {}, {}};
        return true;
    }
    case 'C': {
        if (replayIntent_.active) {
            std::string ignored; // its R record, if any, came before it
            CommitIntent(replayIntent_, ignored);
        }
        replayIntent_ = {};
        return true;
    }
    case 'X': replayIntent_ = {}; return true;
    case 'R': {
        std::int64_t count = 0;
        if (!Number(record, at, size) || !Number(record, at, count) || count < 0)
            return false;
        knownSize_ = size;
        // " | h ...": the hashes of the lines added (none from an older version).
        if (at < record.size() && record[at] == '|') {
            const size_t added =
                static_cast<size_t>(std::count(record.begin() + static_cast<std::ptrdiff_t>(at), record.end(), ' '));
            if (added > static_cast<size_t>(count))
                return false;
            const size_t from = static_cast<size_t>(count) - added;
            map_.Resize(from);
            map_.Resize(static_cast<size_t>(count));
            return map_.ParseHashes(record, at + 1, from);
        }
        map_.Resize(static_cast<size_t>(count));
        return true;
    }
    default: return false;
    }
}
