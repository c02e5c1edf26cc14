// The outbox journal keeping up with its log: each append and deletion journalled as it happens,
// the line map matched to the log again when the log changed under the station.

#include "database/JournalRecords.h"
#include "database/OutboxJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kLineEnd = 2; // the log's lines end with CR LF

} // namespace

void OutboxJournal::Reconcile(long long size, std::string& records)
{
    const unsigned long long file = LogFileId(logPath_);
    if (size == knownSize_ && (knownFile_ == 0 || file == knownFile_)) {
        knownFile_ = file;
        return;
    }
    if (size > knownSize_ && (knownSize_ == 0 || (knownFile_ != 0 && file == knownFile_))) {
        // The same file, longer (or one that was empty): lines another station appended.
        std::vector<std::uint64_t> hashes;
        long long end = 0;
        ReadLineHashes(logPath_, knownSize_, size, hashes, end);
        const size_t from = map_.Size();
        map_.AppendLines(hashes);
        knownSize_ = size;
        records += "R" + Join({size, static_cast<std::int64_t>(map_.Size())})
                   + (hashes.empty() ? std::string() : " |" + map_.HashesText(from)) + "\n";
        return;
    }
    knownFile_ = file;
    Rematch(size, records);
}

void OutboxJournal::Rematch(long long size, std::string& records, size_t deletedIndex, const std::string* deleted)
{
    std::vector<std::uint64_t> hashes;
    long long end = 0;
    if (logPath_.empty() || !ReadLineHashes(logPath_, 0, size, hashes, end))
        return;
    // The station's own deletion: matched to the log as it was, the line put back where it stood.
    const bool own = deleted && deletedIndex <= hashes.size();
    if (own)
        hashes.insert(hashes.begin() + static_cast<std::ptrdiff_t>(deletedIndex), LogLineMap::HashOf(*deleted));
    std::vector<JournalRow> gone = map_.MatchTo(hashes);
    if (own) {
        if (const JournalRow row = map_.RowAt(deletedIndex); row.seq != 0)
            gone.push_back(row);
        map_.Erase(deletedIndex);
    }
    const std::int64_t now = nowMs();
    for (const JournalRow& row : gone) {
        const std::int64_t n = nextEvent_++;
        records += DeletionRecord(n, now, size, row.seq, row.journal);
        ++waiting_;
    }
    knownSize_ = size;
    records += "Q" + Join({size}) + map_.Text() + "\n";
}

void OutboxJournal::LinesAppending(const std::string& path, long long offset, const std::vector<std::string>& lines)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    const long long size = LogFileSize(path);
    if (size < 0)
        return;
    if (path != logPath_ && !SwitchTo(path, size))
        return;
    std::string records;
    if (intent_.active)
        records += "X\n"; // the last append failed: its lines come again, with new numbers
    intent_ = {true, offset, offset, {}, {}};
    const std::int64_t now = nowMs();
    std::string appends;
    for (const std::string& line : lines) {
        const std::int64_t n = nextEvent_++;
        intent_.end += static_cast<long long>(line.size() + kLineEnd);
        appends += "A" + Join({n, now, intent_.end}) + " " + Escaped(line) + "\n";
        intent_.events.push_back({n, now, false, 0, line});
        intent_.sizes.push_back(intent_.end);
    }
    records += "P" + Join({offset, intent_.end}) + "\n" + appends;
    // Synced before the log's bytes are written: whatever the log gets, the journal knows of.
    WriteRecords(records);
}

void OutboxJournal::CommitIntent(Intent& intent, std::string& records)
{
    Reconcile(intent.start, records);
    for (size_t i = 0; i < intent.events.size(); ++i) {
        Event& e = intent.events[i];
        map_.Append(e.number, LogLineMap::HashOf(e.line));
        if (e.number > confirmed_)
            ++waiting_;
        knownSize_ = intent.sizes[i];
    }
    intent = {};
}

bool OutboxJournal::IntentInLog(const Intent& intent) const
{
    std::string expected;
    for (const Event& e : intent.events)
        expected += e.line + "\r\n";
    if (expected.empty() || intent.end - intent.start != static_cast<long long>(expected.size()))
        return false;
    const int fd = ::open(logPath_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    std::string found(expected.size(), '\0');
    const ssize_t n = ::pread(fd, found.data(), found.size(), intent.start);
    ::close(fd);
    return n == static_cast<ssize_t>(found.size()) && found == expected;
}

void OutboxJournal::LinesAppended(const std::string& path, const std::vector<std::string>& lines)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const long long size = LogFileSize(path);
        if (size < 0)
            return;
        long long ours = 0;
        for (const std::string& line : lines)
            ours += static_cast<long long>(line.size() + kLineEnd);
        // A log met for the first time is taken as it was before these lines.
        if (path != logPath_ && !SwitchTo(path, size - ours))
            return;
        std::string records;
        bool announced = intent_.active && intent_.events.size() == lines.size();
        for (size_t i = 0; announced && i < lines.size(); ++i)
            announced = intent_.events[i].line == lines[i];
        if (announced) {
            CommitIntent(intent_, records);
            records += "C\n";
            // Lost in a crash, the commit is found again by checking the intent against the log.
            WriteRecords(records, false);
        } else {
            Reconcile(size - ours, records);
            const std::int64_t now = nowMs();
            long long running = size - ours;
            for (const std::string& line : lines) {
                const std::int64_t n = nextEvent_++;
                running += static_cast<long long>(line.size() + kLineEnd);
                records += "A" + Join({n, now, running}) + " " + Escaped(line) + "\n";
                map_.Append(n, LogLineMap::HashOf(line));
                ++waiting_;
            }
            WriteRecords(records);
        }
        knownSize_ = size;
    }
    if (onChange)
        onChange();
}

void OutboxJournal::LineDeleted(const std::string& path, size_t lineNumber, const std::string& line)
{
    bool published = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const long long size = LogFileSize(path);
        if (size < 0 || (path != logPath_ && !SwitchTo(path, size)))
            return;
        // The deletion put a new file in the log's place: the map is matched to it by content,
        // and the line the log lost is marked if it is this station's (a line it did not append
        // has no row of its own to mark).
        const size_t before = waiting_;
        std::string records;
        knownFile_ = LogFileId(path);
        Rematch(size, records, lineNumber >= 2 ? lineNumber - 2 : std::string::npos, &line);
        published = waiting_ > before;
        WriteRecords(records);
    }
    if (published && onChange)
        onChange();
}

void OutboxJournal::Recheck()
{
    bool published = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        // A journal that could not be opened (a folder not writable, another station of this name
        // publishing) is tried again.
        if (logPath_.empty() && !failedPath_.empty()) {
            const std::string path = failedPath_; // OpenLocked clears it
            if (!OpenLocked(path, nullptr))
                return;
            published = true;
        }
        // An append between its announcement and its commit is this station's own.
        if (logPath_.empty() || fd_ < 0 || intent_.active)
            return;
        // Removed or replaced under the station: written again from what it holds.
        struct stat named {};
        struct stat open {};
        if (::fstat(fd_, &open) == 0 && (::stat(journalPath_.c_str(), &named) != 0 || named.st_ino != open.st_ino)) {
            if (Rewrite())
                told_ = "The database journal " + journalPath_
                        + " was removed or replaced while the station ran; it was written again from what the "
                          "station holds, and nothing waiting is lost.";
        }
        const long long size = LogFileSize(logPath_);
        if (size < 0)
            return;
        const size_t before = waiting_;
        std::string records;
        Reconcile(size, records);
        published = published || waiting_ > before;
        WriteRecords(records);
    }
    if (published && onChange)
        onChange();
}

std::vector<std::int64_t> OutboxJournal::LineMap() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return map_.Seqs();
}
