#include "database/OutboxJournal.h"

#include "database/JournalLock.h"

#include "database/DurableFile.h"
#include "database/JournalRecords.h"

#include <QDateTime>

#include <algorithm>
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
        knownSize_ = sizeNow >= 0 ? sizeNow : LogFileSize(logPath);
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
    const long long size = sizeNow >= 0 ? sizeNow : LogFileSize(logPath);
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
    mapNext_ = 1;
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
            } else if ((records > 0 && record.compare(0, 2, "M ") == 0) || !ApplyRecord(record)) {
                // The map is written only as a journal's first record; one further on would
                // number events again from its count while an earlier write is still open.
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
    // A cursor ahead of the journal's last event (a journal cut back behind a cursor kept): new
    // events are numbered after it, or the publisher would take them as sent and never send them.
    nextEvent_ = std::max(nextEvent_, confirmed_ + 1);
    // A long journal was read through buffers the allocator would otherwise keep for good.
    if (consumed > (1 << 24))
        ::malloc_trim(0);
    // Compacted once what it holds has gone, also when all of it came from an earlier run.
    recordsSinceCompaction_ = records;
    return true;
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
            content += DeletionRecord(e.number, e.ms, knownSize_, e.lineSeq, e.lineJournal);
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
    lastBatch_ = {};
    waiting_ = waiting.size();
    recordsSinceCompaction_ = 0;
    return true;
}

std::string OutboxJournal::TakeNotice()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(told_, std::string());
}

std::string OutboxJournal::Fault() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return fault_;
}
