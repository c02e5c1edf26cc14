// The outbox journal towards the server: the batches of what waits, the server's confirmations,
// the journals of earlier logs drained first, and the comparison of a log with the server's rows.

#include "database/DurableFile.h"
#include "database/JournalRecords.h"
#include "database/OutboxJournal.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>
#include <sys/stat.h>

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
    const std::vector<Event> events = ReadEvents(readOffset_, maxEvents, INT64_MAX, end);
    for (const Event& e : events) {
        if (e.deletion)
            batch.deletions.push_back({e.lineSeq, e.ms, e.lineJournal});
        else
            batch.lines.push_back({e.number, e.ms, e.line});
        batch.lastEvent = e.number;
    }
    // Its confirmation moves on from here without reading the batch again.
    lastBatch_ = {readOffset_, batch.lastEvent, end, events.size()};
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
        BatchRead read = lastBatch_;
        if (read.from != readOffset_ || read.lastEvent != lastEvent) {
            read = {readOffset_, lastEvent, 0, 0};
            read.count = ReadEvents(readOffset_, SIZE_MAX, lastEvent, read.end).size();
        }
        readOffset_ = read.end;
        waiting_ -= std::min(waiting_, read.count);
        confirmed_ = lastEvent;
    }
    // Never while an append is announced: its intent would be lost with the old records.
    if (waiting_ == 0 && unwritten_.empty() && !intent_.active && recordsSinceCompaction_ >= compactAfter)
        Rewrite();
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
        const long long size = LogFileSize(logPath_);
        std::vector<std::uint64_t> hashes;
        long long lineEnd = 0;
        if (size < 0 || !ReadLineHashes(logPath_, 0, size, hashes, lineEnd))
            return false;
        // The server's rows of this journal are its own; lines still waiting count as held.
        std::vector<ServerLine> rows = server;
        for (ServerLine& row : rows)
            if (row.station == station && row.journal == journalId_)
                row.journal = 0;
        long long end = 0;
        const std::vector<Event> events = ReadEvents(readOffset_, SIZE_MAX, INT64_MAX, end);
        std::set<std::int64_t> deleted; // waiting deletions of the open journal's lines
        for (const Event& e : events)
            if (e.deletion && e.lineJournal == 0)
                deleted.insert(e.lineSeq);
        std::vector<WaitingLine> waiting;
        for (const Event& e : events)
            if (!e.deletion && !deleted.count(e.number))
                waiting.push_back({{0, e.number}, LogLineMap::HashOf(e.line)});
        const Reconciliation found = ReconcileLog(hashes, rows, station, waiting);
        std::vector<std::string> missing;
        if (!ReadRecordLines(logPath_, size, found.missing, missing) || missing.size() != found.missing.size())
            return false;

        const std::int64_t now = nowMs();
        std::string records;
        std::vector<JournalRow> map = found.rows;
        for (size_t k = 0; k < found.missing.size(); ++k) {
            const std::int64_t n = nextEvent_++;
            records += "W" + Join({n, now}) + " " + Escaped(missing[k]) + "\n";
            ++waiting_;
            map[found.missing[k]] = {0, n};
        }
        for (const JournalRow& row : found.gone) {
            const std::int64_t n = nextEvent_++;
            records += DeletionRecord(n, now, size, row.seq, row.journal);
            ++waiting_;
        }
        map_.Clear();
        for (size_t i = 0; i < hashes.size(); ++i)
            map_.Append(map[i].seq, hashes[i], map[i].seq == 0 ? 0 : map[i].journal);
        knownSize_ = size;
        knownFile_ = LogFileId(logPath_);
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

size_t OutboxJournal::Waiting() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    size_t waiting = waiting_;
    for (const auto& other : draining_)
        waiting += other->Waiting();
    return waiting;
}
