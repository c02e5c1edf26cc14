#include "database/OutboxJournal.h"

#include "database/JournalLock.h"

#include "database/DurableFile.h"
#include "database/JournalRecords.h"

#include <QDateTime>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kComparedWithServer = ". The log is compared with the plant database: what the database lacks "
                                            "is sent, and lines the log no longer has are marked deleted.";

constexpr size_t kLineEnd = 2; // the log's lines end with CR LF

long long FileSize(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? 0 : -1;
    return static_cast<long long>(info.st_size);
}

// The file the log's name stands for, to tell an append (the same file, longer) from a rewrite
// (another station's deletion puts a new file in its place).
unsigned long long FileId(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<unsigned long long>(info.st_ino) : 0;
}

std::int64_t NewJournalId()
{
    std::random_device random;
    std::int64_t id = 0;
    while (id == 0)
        id = static_cast<std::int64_t>((static_cast<std::uint64_t>(random()) << 32 | random()) >> 1);
    return id;
}

} // namespace

std::string OutboxJournal::NamePart(const std::string& station)
{
    if (station.empty())
        return {};
    std::string part = ".";
    for (const char c : station)
        part += (c == '/' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    return part;
}

OutboxJournal::OutboxJournal(std::string station)
    : nowMs([] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    })
    , station_(std::move(station))
{}

OutboxJournal::~OutboxJournal()
{
    CloseFile();
    if (!lockPath_.empty())
        ReleaseJournalLock(lockPath_);
}

bool OutboxJournal::HeldByOther() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return heldByOther_;
}

void OutboxJournal::CloseFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool OutboxJournal::Open(const std::string& logPath, std::string* error)
{
    bool opened = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        opened = OpenLocked(logPath, error);
    }
    if (opened && onChange)
        onChange();
    return opened;
}

bool OutboxJournal::OpenLocked(const std::string& logPath, std::string* error, long long sizeNow)
{
    auto fail = [&](const std::string& why) {
        fault_ = why;
        if (error)
            *error = why;
        logPath_.clear();
        CloseFile();
        // Lines logged until it opens are not journalled: the log is compared with the server then.
        failedPath_ = logPath;
        return false;
    };
    CloseFile();
    logPath_.clear();
    heldByOther_ = false;
    // One writer per journal: a second station under the same name on this log would number its
    // lines on top of this one's.
    if (!lockPath_.empty())
        ReleaseJournalLock(lockPath_);
    lockPath_.clear();
    bool busy = false;
    if (TakeJournalLock(LockPath(logPath, station_), busy) >= 0)
        lockPath_ = LockPath(logPath, station_);
    if (busy) {
        heldByOther_ = true;
        return fail("Another station named \"" + station_ + "\" publishes this log (" + logPath
                    + "); this one logs its results but does not send them. Give each station its own "
                      "StationName.");
    }
    journalPath_ = JournalPath(logPath, station_);
    cursorPath_ = CursorPath(logPath, station_);
    ResetLocked();
    // The log becomes the current one again: it is no longer drained on the side.
    std::erase_if(draining_, [&](const std::unique_ptr<OutboxJournal>& j) {
        return j->logPath_ == logPath && j->station_ == station_;
    });

    // A journal that is damaged, cannot be read, or is gone while its cursor says it existed is
    // set aside, never cut: the log is compared with the server instead.
    std::string damage;
    struct stat info {};
    const bool exists = ::stat(journalPath_.c_str(), &info) == 0 || errno != ENOENT;
    const bool empty = !exists || (S_ISREG(info.st_mode) && info.st_size == 0);
    if (exists && (fd_ = ::open(journalPath_.c_str(), O_RDWR | O_APPEND | O_CLOEXEC)) < 0)
        damage = "cannot be read (" + std::string(std::strerror(errno)) + ")";
    else if (!empty && !Replay(&damage))
        ResetLocked();
    else if (empty && ::stat(cursorPath_.c_str(), &info) == 0)
        damage = exists ? "is empty" : "is missing";
    if (empty || !damage.empty()) {
        CloseFile();
        if (!damage.empty() && exists && !SetAsideLocked(damage))
            return fail(fault_);
        if (!damage.empty() && !exists)
            told_ = "The database journal " + journalPath_ + " " + damage + kComparedWithServer;
        // A new journal: the log's present lines were not appended while it watched, unless the
        // server says they were this station's.
        reconcile_ = !damage.empty() || failedPath_ == logPath;
        journalId_ = NewJournalId();
        knownSize_ = sizeNow >= 0 ? sizeNow : FileSize(logPath);
        if (knownSize_ < 0)
            return fail("cannot read " + logPath + ": " + std::strerror(errno));
        std::vector<std::uint64_t> hashes;
        long long end = 0;
        ReadLineHashes(logPath, 0, knownSize_, hashes, end);
        map_.AppendLines(hashes);
        const std::string content =
            kJournalHeader + std::to_string(journalId_) + "\n" + MapText() + (reconcile_ ? "N\n" : "");
        if (const int result = ReplaceFileDurably(journalPath_, content); result != 0)
            return fail("cannot write " + journalPath_ + ": " + std::strerror(-result));
        readOffset_ = static_cast<long long>(content.size());
        fd_ = ::open(journalPath_.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
        if (fd_ < 0)
            return fail("cannot open " + journalPath_ + ": " + std::strerror(errno));
    }
    logPath_ = logPath;
    fault_.clear();
    if (failedPath_ == logPath && !reconcile_) {
        reconcile_ = true;
        WriteRecords("N\n");
    }
    failedPath_.clear();
    if (drainOthers_) {
        if (owed_) {
            owed_->Add({station_, logPath_});
            for (const OwedJournal& owed : owed_->Read())
                DrainLocked(owed, logPath_);
        }
        for (const std::string& other : othersFound_)
            DrainLocked({station_, other}, logPath_);
    }

    std::string records;
    // An append the station was killed in: committed if its lines reached the log.
    if (replayIntent_.active) {
        if (IntentInLog(replayIntent_)) {
            CommitIntent(replayIntent_, records);
            records += "C\n";
        } else
            records += "X\n";
        replayIntent_ = {};
    }
    // Whatever happened to the log while no one watched it.
    const long long size = sizeNow >= 0 ? sizeNow : FileSize(logPath);
    knownFile_ = 0;
    if (size >= 0 && size == knownSize_ && map_.MissingHashes()) {
        // A journal of an older version, and the log as it left it: its own lines' hashes are read.
        std::vector<std::uint64_t> hashes;
        long long end = 0;
        if (ReadLineHashes(logPath, 0, size, hashes, end))
            map_.FillHashes(hashes);
    }
    if (size >= 0)
        Reconcile(size, records);
    WriteRecords(records);
    return true;
}

std::string OutboxJournal::MapText(std::int64_t next) const
{
    return "M" + Join({next > 0 ? next : nextEvent_, knownSize_}) + map_.Text() + "\n";
}

void OutboxJournal::ResetLocked()
{
    journalId_ = 0;
    nextEvent_ = 1;
    confirmed_ = 0;
    knownSize_ = 0;
    map_.Clear();
    waiting_ = 0;
    readOffset_ = 0;
    unwritten_.clear();
    othersFound_.clear();
    intent_ = {};
    replayIntent_ = {};
    recordsSinceCompaction_ = 0;
    reconcile_ = false;
}

bool OutboxJournal::SetAsideLocked(const std::string& damage)
{
    const std::string aside = journalPath_ + ".damaged-"
                              + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    if (::rename(journalPath_.c_str(), aside.c_str()) != 0) {
        fault_ =
            "The database journal " + journalPath_ + " " + damage + " and cannot be set aside: " + std::strerror(errno);
        return false;
    }
    told_ =
        "The database journal " + journalPath_ + " " + damage + "; it was set aside as " + aside + kComparedWithServer;
    return true;
}

bool OutboxJournal::Replay(std::string* error)
{
    // The cursor of another journal (one made again after this file was lost) says nothing; read
    // first, as the records count what waits by it.
    std::int64_t cursorId = 0;
    std::int64_t cursorConfirmed = 0;
    std::string cursor;
    if (ReadWholeFile(cursorPath_, cursor) && cursor.compare(0, std::strlen(kCursorHeader), kCursorHeader) == 0) {
        size_t c = std::strlen(kCursorHeader);
        if (!Number(cursor, c, cursorId) || !Number(cursor, c, cursorConfirmed))
            cursorId = 0;
    }
    std::string text;
    char buffer[1 << 16];
    long long at = 0;       // bytes read
    long long consumed = 0; // where `text` begins in the file
    long long settled = -1; // the end of the last record after which nothing waits
    size_t records = 0;
    bool header = true;
    for (;;) {
        const ssize_t n = ::pread(fd_, buffer, sizeof buffer, at);
        if (n < 0) {
            if (error)
                *error = "cannot be read (" + std::string(std::strerror(errno)) + ")";
            return false;
        }
        if (n == 0)
            break;
        at += n;
        text.append(buffer, static_cast<size_t>(n));
        size_t start = 0;
        for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
            const std::string record = text.substr(start, end - start);
            start = end + 1;
            if (header) {
                size_t h = std::strlen(kJournalHeader);
                if (record.compare(0, h, kJournalHeader) != 0 || !Number(record, h, journalId_)) {
                    if (error)
                        *error = "has no journal header";
                    return false;
                }
                header = false;
                if (cursorId == journalId_)
                    confirmed_ = cursorConfirmed;
            } else if (!ApplyRecord(record)) {
                if (error)
                    *error = "is damaged at byte "
                             + std::to_string(consumed + static_cast<long long>(start - record.size() - 1));
                return false;
            } else {
                ++records;
            }
            if (!replayIntent_.active && waiting_ == 0)
                settled = consumed + static_cast<long long>(start);
        }
        text.erase(0, start);
        consumed += static_cast<long long>(start);
    }
    if (header) {
        if (error)
            *error = "has no journal header";
        return false;
    }
    // A record cut short by a crash ends the journal there: it was never synced, so what it
    // announced never reached the log.
    if (!text.empty() && ::ftruncate(fd_, static_cast<off_t>(consumed)) != 0) {
        if (error)
            *error = "cannot be repaired (" + std::string(std::strerror(errno)) + ")";
        return false;
    }
    readOffset_ = settled >= 0 ? settled : consumed;
    // A long journal was read through buffers the allocator would otherwise keep for good.
    if (consumed > (1 << 24))
        ::malloc_trim(0);
    // Compacted once what it holds has gone, also when all of it came from an earlier run.
    recordsSinceCompaction_ = records;
    return true;
}

void OutboxJournal::Reconcile(long long size, std::string& records)
{
    const unsigned long long file = FileId(logPath_);
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
        records += "D" + Join({n, now, size, -1, row.seq}) + (row.journal != 0 ? Join({row.journal}) : "") + "\n";
        ++waiting_;
    }
    knownSize_ = size;
    records += "Q" + Join({size}) + map_.Text() + "\n";
}

bool OutboxJournal::WriteRecords(const std::string& records, bool sync)
{
    unwritten_ += records;
    if (unwritten_.empty())
        return true;
    if (fd_ < 0)
        return false;
    struct stat info {};
    const off_t before = ::fstat(fd_, &info) == 0 ? info.st_size : -1;
    size_t done = 0;
    int error = 0;
    while (done < unwritten_.size()) {
        const ssize_t n = ::write(fd_, unwritten_.data() + done, unwritten_.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (error == 0 && sync && ::fdatasync(fd_) != 0)
        error = errno;
    if (error != 0) {
        // Kept, and written before the next records; a part written now is cut off again.
        if (before >= 0 && ::ftruncate(fd_, before) != 0) {
            // Replay skips a record it has seen, so a part left behind does no harm.
        }
        fault_ = "cannot write " + journalPath_ + ": " + std::strerror(error);
        return false;
    }
    for (const char c : unwritten_)
        recordsSinceCompaction_ += c == '\n' ? 1 : 0;
    unwritten_.clear();
    fault_.clear();
    return true;
}

void OutboxJournal::LinesAppending(const std::string& path, long long offset, const std::vector<std::string>& lines)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    const long long size = FileSize(path);
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
        const long long size = FileSize(path);
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
        const long long size = FileSize(path);
        if (size < 0 || (path != logPath_ && !SwitchTo(path, size)))
            return;
        // The deletion put a new file in the log's place: the map is matched to it by content,
        // and the line the log lost is marked if it is this station's (a line it did not append
        // has no row of its own to mark).
        const size_t before = waiting_;
        std::string records;
        knownFile_ = FileId(path);
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
        const long long size = FileSize(logPath_);
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

bool OutboxJournal::SwitchTo(const std::string& logPath, long long sizeBefore)
{
    SwitchLocked(logPath);
    if (!OpenLocked(logPath, nullptr, sizeBefore))
        return false;
    for (const auto& other : draining_)
        WriteRecords("O " + other->logPath_ + "\n");
    return true;
}

void OutboxJournal::SwitchLocked(const std::string& logPath)
{
    if (logPath_.empty() || logPath_ == logPath)
        return;
    if (waiting_ == 0 && unwritten_.empty()) {
        if (owed_)
            owed_->Remove({station_, logPath_});
        return;
    }
    DrainLocked({station_, logPath_}, logPath);
}

void OutboxJournal::DrainLocked(const OwedJournal& owed, const std::string& current)
{
    if (owed.station == station_ && owed.logPath == current)
        return;
    for (const auto& other : draining_)
        if (other->station_ == owed.station && other->logPath_ == owed.logPath)
            return;
    struct stat info {};
    if (::stat(JournalPath(owed.logPath, owed.station).c_str(), &info) != 0 && errno == ENOENT) {
        if (owed_)
            owed_->Remove(owed); // nothing of it is left to send
        return;
    }
    auto other = std::make_unique<OutboxJournal>(owed.station);
    other->drainOthers_ = false;
    other->compactAfter = 0;
    other->nowMs = nowMs;
    // Not opened (another station of that name runs on it): it stays owed.
    if (!other->Open(owed.logPath))
        return;
    if (other->Waiting() > 0)
        draining_.push_back(std::move(other));
    else if (owed_)
        owed_->Remove(owed);
}

void OutboxJournal::PutOff(std::int64_t journal)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& other : draining_)
        if (other->journalId_ == journal)
            other->putOff_ = true;
}

OutboxBatch OutboxJournal::Unconfirmed(size_t maxEvents) const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    // An earlier log's lines go first.
    for (const auto& other : draining_) {
        if (other->putOff_ || other->Waiting() == 0)
            continue;
        OutboxBatch batch = other->Unconfirmed(maxEvents);
        if (other->station_ != station_)
            batch.station = other->station_;
        return batch;
    }
    OutboxBatch batch;
    batch.journal = journalId_;
    batch.logPath = logPath_;
    if (reconcile_ || waiting_ == 0)
        return batch;
    long long end = 0;
    for (const Event& e : ReadEvents(readOffset_, maxEvents, INT64_MAX, end)) {
        if (e.deletion)
            batch.deletions.push_back({e.lineSeq, e.ms, e.lineJournal});
        else
            batch.lines.push_back({e.number, e.ms, e.line});
        batch.lastEvent = e.number;
    }
    return batch;
}

bool OutboxJournal::Confirm(std::int64_t journal, std::int64_t lastEvent)
{
    std::string cursorPath;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (auto other = draining_.begin(); other != draining_.end(); ++other) {
            if ((*other)->journalId_ != journal)
                continue;
            const bool confirmed = (*other)->Confirm(journal, lastEvent);
            if ((*other)->Waiting() == 0) {
                if (owed_)
                    owed_->Remove({(*other)->station_, (*other)->logPath_});
                draining_.erase(other); // its O record goes with the next compaction
            }
            return confirmed;
        }
        if (logPath_.empty() || journal != journalId_)
            return false;
        cursorPath = cursorPath_;
    }
    // Written without the lock: the station's thread may journal meanwhile.
    const std::string cursor = kCursorHeader + std::to_string(journal) + " " + std::to_string(lastEvent) + "\n";
    const int written = ReplaceFileDurably(cursorPath, cursor);

    const std::lock_guard<std::mutex> lock(mutex_);
    if (written != 0) {
        fault_ = "cannot write " + cursorPath + ": " + std::strerror(-written);
        return false;
    }
    if (journal != journalId_)
        return true; // the station changed logs meanwhile; that journal's cursor is written
    if (lastEvent > confirmed_) {
        long long end = 0;
        const size_t done = ReadEvents(readOffset_, SIZE_MAX, lastEvent, end).size();
        readOffset_ = end;
        waiting_ -= std::min(waiting_, done);
        confirmed_ = lastEvent;
    }
    // Never while an append is announced: its intent would be lost with the old records.
    if (waiting_ == 0 && unwritten_.empty() && !intent_.active && recordsSinceCompaction_ >= compactAfter)
        Compact();
    return true;
}

bool OutboxJournal::Compact()
{
    return Rewrite();
}

bool OutboxJournal::Rewrite()
{
    // The waiting events follow the map with their own numbers, which the map's count must not
    // pass. Read through the open file, which may be the only way left to them.
    long long end = 0;
    const std::vector<Event> waiting =
        waiting_ > 0 ? ReadEvents(readOffset_, SIZE_MAX, INT64_MAX, end) : std::vector<Event>();
    std::string content = kJournalHeader + std::to_string(journalId_) + "\n"
                          + MapText(waiting.empty() ? nextEvent_ : waiting.front().number);
    for (const auto& other : draining_)
        content += "O " + other->logPath_ + "\n";
    const long long firstWaiting = static_cast<long long>(content.size());
    for (const Event& e : waiting) {
        if (e.deletion)
            content += "D" + Join({e.number, e.ms, knownSize_, -1, e.lineSeq})
                       + (e.lineJournal != 0 ? Join({e.lineJournal}) : "") + "\n";
        else
            content += "W" + Join({e.number, e.ms}) + " " + Escaped(e.line) + "\n";
    }
    if (reconcile_)
        content += "N\n";
    if (const int result = ReplaceFileDurably(journalPath_, content); result != 0) {
        fault_ = "cannot write " + journalPath_ + ": " + std::strerror(-result);
        return false;
    }
    CloseFile();
    fd_ = ::open(journalPath_.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fd_ < 0) {
        fault_ = "cannot open " + journalPath_ + ": " + std::strerror(errno);
        return false;
    }
    readOffset_ = firstWaiting;
    waiting_ = waiting.size();
    recordsSinceCompaction_ = 0;
    return true;
}

bool OutboxJournal::ReconcileNeeded(std::string* station, std::string* logPath) const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& other : draining_)
        if (other->ReconcileNeeded(station, logPath))
            return true;
    if (!reconcile_ || logPath_.empty())
        return false;
    if (station)
        *station = station_;
    if (logPath)
        *logPath = logPath_;
    return true;
}

void OutboxJournal::RequestReconciliation()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (logPath_.empty() || reconcile_)
        return;
    reconcile_ = true;
    WriteRecords("N\n");
}

bool OutboxJournal::ReconcileWith(const std::vector<ServerLine>& server, const std::string& station, size_t* sent,
                                  size_t* marked)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& other : draining_)
            if (other->ReconcileNeeded())
                return other->ReconcileWith(server, station, sent, marked);
        // An append between its announcement and its commit is not in the log as a whole yet.
        if (!reconcile_ || logPath_.empty() || intent_.active)
            return false;
        const long long size = FileSize(logPath_);
        std::vector<std::string> lines;
        if (size < 0 || !ReadRecordLines(logPath_, size, lines))
            return false;
        // The server's rows of this journal are its own; lines still waiting count as held.
        std::vector<ServerLine> rows = server;
        for (ServerLine& row : rows)
            if (row.station == station && row.journal == journalId_)
                row.journal = 0;
        long long end = 0;
        const std::vector<Event> events = ReadEvents(readOffset_, SIZE_MAX, INT64_MAX, end);
        std::vector<WaitingLine> waiting;
        for (const Event& e : events)
            if (!e.deletion)
                waiting.push_back({{0, e.number}, e.line});
        for (const Event& e : events)
            if (e.deletion)
                std::erase_if(waiting, [&](const WaitingLine& w) {
                    return w.row == JournalRow{e.lineJournal, e.lineSeq};
                });
        const Reconciliation found = ReconcileLog(lines, rows, station, waiting);

        const std::int64_t now = nowMs();
        std::string records;
        std::vector<JournalRow> map = found.rows;
        for (const size_t i : found.missing) {
            const std::int64_t n = nextEvent_++;
            records += "W" + Join({n, now}) + " " + Escaped(lines[i]) + "\n";
            ++waiting_;
            map[i] = {0, n};
        }
        for (const JournalRow& row : found.gone) {
            const std::int64_t n = nextEvent_++;
            records += "D" + Join({n, now, size, -1, row.seq}) + (row.journal != 0 ? Join({row.journal}) : "") + "\n";
            ++waiting_;
        }
        map_.Clear();
        for (size_t i = 0; i < lines.size(); ++i)
            map_.Append(map[i].seq, LogLineMap::HashOf(lines[i]), map[i].seq == 0 ? 0 : map[i].journal);
        knownSize_ = size;
        knownFile_ = FileId(logPath_);
        records += "Q" + Join({size}) + map_.Text() + "\nK\n";
        reconcile_ = false;
        WriteRecords(records);
        if (sent)
            *sent = found.missing.size();
        if (marked)
            *marked = found.gone.size();
    }
    if (onChange)
        onChange();
    return true;
}

std::string OutboxJournal::TakeNotice()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(told_, std::string());
}

size_t OutboxJournal::Waiting() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    size_t waiting = waiting_;
    for (const auto& other : draining_)
        waiting += other->Waiting();
    return waiting;
}

std::string OutboxJournal::Fault() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return fault_;
}

std::vector<std::int64_t> OutboxJournal::LineMap() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return map_.Seqs();
}
