#include "database/LogLineMap.h"

#include "database/JournalRecords.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

std::uint64_t LogLineMap::HashOf(std::string_view line)
{
    // FNV-1a: the same on every machine and in every version, as it is kept in the journal.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : line) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash == 0 ? 1 : hash;
}

LogLineMap::Entry LogLineMap::Make(std::int64_t seq, std::uint64_t hash, std::int64_t journal)
{
    std::uint64_t index = 0;
    if (seq != 0 && journal != 0) {
        index = static_cast<std::uint64_t>(std::find(journals_.begin(), journals_.end(), journal) - journals_.begin());
        if (index == journals_.size())
            journals_.push_back(journal);
    }
    return {(index << 48) | (static_cast<std::uint64_t>(seq) & kSeqMask), hash};
}

std::vector<std::int64_t> LogLineMap::Seqs() const
{
    std::vector<std::int64_t> seqs;
    seqs.reserve(entries_.size());
    for (const Entry& e : entries_)
        seqs.push_back(e.Seq());
    return seqs;
}

void LogLineMap::Erase(size_t index)
{
    if (index < entries_.size())
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool LogLineMap::MissingHashes() const
{
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.hash == 0; });
}

std::string LogLineMap::Text() const
{
    std::string text;
    size_t i = 0;
    while (i < entries_.size()) {
        const std::int64_t first = entries_[i].Seq();
        const std::int64_t journal = JournalOf(entries_[i]);
        size_t k = 1;
        while (i + k < entries_.size() && JournalOf(entries_[i + k]) == journal
               && entries_[i + k].Seq() == (first == 0 ? 0 : first + static_cast<std::int64_t>(k)))
            ++k;
        text += ' ' + std::to_string(first) + ':' + std::to_string(k);
        if (journal != 0)
            text += '@' + std::to_string(journal);
        i += k;
    }
    return entries_.empty() ? text : text + " |" + HashesText(0);
}

std::string LogLineMap::HashesText(size_t from) const
{
    std::string text;
    text.reserve((entries_.size() - std::min(from, entries_.size())) * 17);
    char hex[17];
    for (size_t j = from; j < entries_.size(); ++j) {
        const auto [end, error] = std::to_chars(hex, hex + sizeof hex, entries_[j].hash, 16);
        text += ' ';
        text.append(hex, end);
    }
    return text;
}

bool LogLineMap::ParseHashes(const std::string& text, size_t at, size_t from)
{
    for (size_t j = from; j < entries_.size(); ++j) {
        while (at < text.size() && text[at] == ' ')
            ++at;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), entries_[j].hash, 16);
        if (error != std::errc())
            return false;
        at = static_cast<size_t>(end - text.data());
    }
    return at == text.size();
}

bool LogLineMap::Parse(const std::string& text, size_t at, std::int64_t logSize)
{
    Clear();
    std::int64_t lines = 0;
    while (at < text.size() && text[at] != '|') {
        std::int64_t first = 0;
        std::int64_t count = 0;
        if (!Number(text, at, first) || at >= text.size() || text[at] != ':')
            return false;
        ++at;
        if (!Number(text, at, count) || count < 0 || count > logSize - lines)
            return false;
        lines += count;
        std::int64_t journal = 0;
        if (at < text.size() && text[at] == '@' && !Number(text, ++at, journal))
            return false;
        for (std::int64_t k = 0; k < count; ++k)
            entries_.push_back(Make(first == 0 ? 0 : first + k, 0, journal));
    }
    // Without hashes: a journal of an older version; they are read from the log when it can be.
    return at >= text.size() || ParseHashes(text, at + 1, 0);
}

void LogLineMap::AppendLines(const std::vector<std::uint64_t>& lineHashes)
{
    for (const std::uint64_t hash : lineHashes)
        entries_.push_back({0, hash});
}

void LogLineMap::FillHashes(const std::vector<std::uint64_t>& lineHashes)
{
    if (lineHashes.size() != entries_.size())
        return;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].hash == 0)
            entries_[i].hash = lineHashes[i];
}

std::vector<JournalRow> LogLineMap::MatchTo(const std::vector<std::uint64_t>& lineHashes)
{
    std::unordered_map<std::uint64_t, std::vector<size_t>> where;
    for (size_t j = 0; j < entries_.size(); ++j)
        where[entries_[j].hash].push_back(j);
    std::vector<Entry> matched(lineHashes.size());
    std::vector<JournalRow> gone;
    auto lose = [&](size_t from, size_t to) {
        for (size_t j = from; j < to; ++j)
            if (entries_[j].Seq() != 0)
                gone.push_back({JournalOf(entries_[j]), entries_[j].Seq()});
    };
    // The log only loses lines and gains them at its end, so the lines it kept are in the map's
    // order: each takes the first entry with its text after the one before it.
    size_t next = 0;
    for (size_t i = 0; i < lineHashes.size(); ++i) {
        size_t at = entries_.size();
        if (next < entries_.size() && entries_[next].hash == 0) {
            at = next; // text not known: where it would stand had nothing moved
        } else if (const auto found = where.find(lineHashes[i]); found != where.end()) {
            const auto it = std::lower_bound(found->second.begin(), found->second.end(), next);
            if (it != found->second.end())
                at = *it;
        }
        if (at < entries_.size()) {
            lose(next, at);
            matched[i] = {entries_[at].key, lineHashes[i]};
            next = at + 1;
        } else {
            matched[i] = {0, lineHashes[i]}; // a line no one's map knew: appended while unseen
        }
    }
    lose(next, entries_.size());
    entries_ = std::move(matched);
    return gone;
}

bool ForEachRecordLine(const std::string& logPath, long long from, long long to,
                       const std::function<bool(const std::string& line, long long end)>& take)
{
    if (to <= from)
        return true;
    const int fd = ::open(logPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    std::string line;
    bool header = from == 0;
    char buffer[65536];
    long long at = from;
    bool more = true;
    while (more && at < to) {
        const size_t want = static_cast<size_t>(std::min<long long>(to - at, sizeof buffer));
        const ssize_t n = ::pread(fd, buffer, want, at);
        if (n <= 0)
            break;
        for (ssize_t i = 0; more && i < n; ++i) {
            if (buffer[i] != '\n') {
                line += buffer[i];
                continue;
            }
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!header)
                more = take(line, at + i + 1);
            header = false;
            line.clear();
        }
        at += n;
    }
    ::close(fd);
    return true;
}

bool ReadLineHashes(const std::string& logPath, long long from, long long to, std::vector<std::uint64_t>& hashes,
                    long long& end)
{
    end = from;
    return ForEachRecordLine(logPath, from, to, [&](const std::string& line, long long lineEnd) {
        hashes.push_back(LogLineMap::HashOf(line));
        end = lineEnd;
        return true;
    });
}

long long LogFileSize(const std::string& logPath)
{
    struct stat info {};
    if (::stat(logPath.c_str(), &info) != 0)
        return errno == ENOENT ? 0 : -1;
    return static_cast<long long>(info.st_size);
}

unsigned long long LogFileId(const std::string& logPath)
{
    struct stat info {};
    return ::stat(logPath.c_str(), &info) == 0 ? static_cast<unsigned long long>(info.st_ino) : 0;
}
