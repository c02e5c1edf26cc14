#pragma once
// The plant database's outbox: an append-only journal beside the log file of every line this
// station appends and every line it deletes, written and synced while the log's lock is held,
// and a small cursor that says up to which event the server has confirmed. A deletion rewrites
// the log, so no byte position in the log could serve; the journal also keeps which of its
// sequence numbers each line of the log carries (0 for a line it did not append: older lines,
// another station's), so that a deletion by line number finds its row, identical lines told
// apart by their order. Once the server holds everything, the journal is compacted to that map.
//
// When the station changes to another log while lines of the old one still wait, the old journal
// is drained first: the new journal names it ("O" record) until the server holds all of it, so
// that a restart in between does not forget it.
//
// An append is journalled in two steps: before the log's bytes are written, its lines go into
// the journal as an intent ("P" and its "A" records, synced); once the log's append is synced
// they are committed ("C"). An intent left at the journal's end by a crash is checked against the
// log's bytes when the journal is opened again: committed when the lines are there, dropped ("X")
// when they are not. So a kill at any moment neither loses a logged line nor sends one that never
// reached the log.
//
// Files: LOG.<station>.dbjournal and LOG.<station>.dbcursor (two stations may share one log). Thread-safe: the
// station's thread journals, the publisher's thread takes batches and confirms them.
//
// Its parts: the journal file (OutboxJournal.cpp, JournalRecords.cpp, JournalEvents.cpp), keeping
// up with the log (OutboxLogChanges.cpp, with the line map in LogLineMap), and towards the server
// (OutboxQueue.cpp, with LogReconciliation).

#include "database/LogLineMap.h"
#include "database/LogReconciliation.h"
#include "database/OwedJournals.h"
#include "database/PlantDatabase.h"
#include "log/LogChangeObserver.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class OutboxJournal : public LogChangeObserver {
public:
    // `station`: part of the journal's and cursor's names, so that stations sharing a log keep
    // journals of their own.
    explicit OutboxJournal(std::string station = {});
    ~OutboxJournal() override;
    OutboxJournal(const OutboxJournal&) = delete;
    OutboxJournal& operator=(const OutboxJournal&) = delete;

    // Opens the journal of the log at `logPath`, creating it when missing (the log's present
    // lines then count as not this station's), and reconciles it with the log: lines that came
    // while no one watched (another station, a station without a database) are not published.
    // False, with `error`, when the journal cannot be read or made.
    bool Open(const std::string& logPath, std::string* error = nullptr);

    // LogChangeObserver; a path other than the open one opens that log's journal first.
    void LinesAppending(const std::string& path, long long offset, const std::vector<std::string>& lines) override;
    void LinesAppended(const std::string& path, const std::vector<std::string>& lines) override;
    void LineDeleted(const std::string& path, size_t lineNumber, const std::string& line) override;

    // The events the server has not confirmed, oldest first, at most `maxEvents` of them.
    OutboxBatch Unconfirmed(size_t maxEvents) const;
    // The server holds every event of journal `journal` up to `lastEvent`: the cursor moves
    // (durably), and the journal is compacted when it holds nothing else and has grown. False
    // when the cursor could not be written (the events are then sent again, which is harmless)
    // or the journal is no longer the open one.
    bool Confirm(std::int64_t journal, std::int64_t lastEvent);
    // Lines and deletions waiting for the server.
    size_t Waiting() const;
    // The journals still owed to the server (`owed`, kept in the station's folder) are drained
    // before the current one, under the names their lines were logged with. Before Open.
    void KeepOwedList(std::shared_ptr<OwedJournals> owed) { owed_ = std::move(owed); }
    // The server refuses the lines of owed journal `journal` (its station name is mapped to no
    // role of this station's): they wait for the next start, and the current lines go on.
    void PutOff(std::int64_t journal);
    // The last journal failure (a full disk, a folder not writable); empty while all is well.
    std::string Fault() const;
    // Another process of the same station name holds this log's journal: this one does not
    // publish it (its records still go to the log).
    bool HeldByOther() const;
    // Which sequence number each record line of the log carries (0: not this station's).
    std::vector<std::int64_t> LineMap() const;
    // The journal was damaged, lost or could not be read, and was set aside: until the log has
    // been compared with the server's rows for it (ReconcileWith), none of its lines are sent. Gives
    // the station (empty: the publisher's own name) and log to ask the server about.
    bool ReconcileNeeded(std::string* station = nullptr, std::string* logPath = nullptr) const;
    // Compares the log with the server's rows for it: lines no one's row holds become this
    // journal's lines, this station's rows of lines the log no longer has are marked. False
    // when no comparison was asked for or the log cannot be read. `sent`, `marked`: how many.
    // The journal asked for is the one ReconcileNeeded named (an earlier log's, being drained, too).
    // `station`: the name the rows were sent under (the one ReconcileNeeded gave, or the
    // publisher's when that was empty).
    bool ReconcileWith(const std::vector<ServerLine>& server, const std::string& station, size_t* sent = nullptr,
                       size_t* marked = nullptr);
    // `tallion db resync`: the comparison is made also for an intact journal.
    void RequestReconciliation();
    // Something the operator is told once (a journal set aside or written again); then empty.
    std::string TakeNotice();

    // Looks whether the log changed under the station (another station's append or deletion);
    // a line of this station's that another one deleted is marked. Cheap when nothing changed.
    void Recheck();

    // Called (without locks held) after events were added; the publisher wakes on it.
    std::function<void()> onChange;
    // The station's clock in ms since 1970 UTC; replaceable for tests.
    std::function<std::int64_t()> nowMs;
    // Records written since the last compaction before one is worth doing.
    size_t compactAfter = 1000;

    static std::string JournalPath(const std::string& logPath, const std::string& station = {})
    {
        return logPath + NamePart(station) + ".dbjournal";
    }
    static std::string CursorPath(const std::string& logPath, const std::string& station = {})
    {
        return logPath + NamePart(station) + ".dbcursor";
    }
    // Held (flock) for as long as the station runs on the log: one writer per journal. The journal
    // itself is replaced at each compaction, so it cannot carry the lock.
    static std::string LockPath(const std::string& logPath, const std::string& station = {})
    {
        return logPath + NamePart(station) + ".dblock";
    }

private:
    struct Event {
        std::int64_t number = 0;
        std::int64_t ms = 0;
        bool deletion = false;
        std::int64_t lineSeq = 0; // a deletion's line
        std::string line;
        std::int64_t lineJournal = 0; // a deletion's line's journal, when an earlier one
    };

    // ".<station>", with what a file name cannot hold replaced; empty for no station.
    static std::string NamePart(const std::string& station);

    // An append journalled before the log's write and not yet committed.
    struct Intent {
        bool active = false;
        long long start = 0; // where the first line begins in the log
        long long end = 0;   // where the last line's line end ends
        std::vector<Event> events;
        std::vector<long long> sizes; // the log's size after each line
    };
    // Commits `intent`'s lines: they are in the log, which was `intent.start` long before them.
    void CommitIntent(Intent& intent, std::string& records);
    // True when the log holds exactly `intent`'s lines between its start and end.
    bool IntentInLog(const Intent& intent) const;

    // `sizeNow`: the log's size to take as the present one (before a change being reported);
    // negative: the file's size.
    bool OpenLocked(const std::string& logPath, std::string* error, long long sizeNow = -1);
    // Changes to the journal of the log at `logPath`, which was `sizeBefore` bytes long before
    // the change being reported; it names the journals still being drained.
    bool SwitchTo(const std::string& logPath, long long sizeBefore);
    // Before changing to the log at `logPath`: the current journal is drained if anything waits.
    void SwitchLocked(const std::string& logPath);
    // Opens the journal of `owed` for draining, when anything in it waits and it is not the
    // current one; one with nothing waiting leaves the owed list.
    void DrainLocked(const OwedJournal& owed, const std::string& current);
    // Reads the journal from fd_, a part at a time.
    bool Replay(std::string* error);
    // The events of the records from byte `from` on that are numbered after confirmed_ and not
    // after `upTo`, at most `max` (an append's lines are taken whole); `end`: where the next
    // read begins.
    std::vector<Event> ReadEvents(long long from, size_t max, std::int64_t upTo, long long& end) const;
    // An A, W or D record's event; `size`: the log's size it records (A, D), `index`: the map
    // entry a D record erases.
    static bool ParseEvent(const std::string& record, Event& e, std::int64_t* size = nullptr,
                           std::int64_t* index = nullptr);
    void ResetLocked();
    // Renames the journal aside with the time; `damage` says what is wrong with it.
    bool SetAsideLocked(const std::string& damage);
    bool ApplyRecord(const std::string& record);
    // Brings the map in line with the log's first `size` bytes where `knownSize_` bytes of the
    // file last seen were expected: lines another station appended are added to the map (R
    // record); after anything else the map is matched to the log by content, a line of this
    // station's that the log lost is a deletion (D), and the map written whole (Q).
    void Reconcile(long long size, std::string& records);
    // `deleted`: the line this station just deleted, which stood at `deletedIndex` of the map.
    void Rematch(long long size, std::string& records, size_t deletedIndex = 0, const std::string* deleted = nullptr);
    // `sync`: false only for a commit, which a crash may lose (the intent is checked then).
    bool WriteRecords(const std::string& records, bool sync = true);
    // Writes the journal whole again from what the station holds (also what waits); once the
    // server holds everything, this is its compaction.
    bool Rewrite();
    // `next`: the next event's number to write (0: the journal's own).
    std::string MapText(std::int64_t next = 0) const;
    void CloseFile();

    std::string station_;
    Intent intent_;       // live: between LinesAppending and LinesAppended
    Intent replayIntent_; // while replaying: an intent whose commit has not been met yet
    mutable std::mutex mutex_;
    std::string logPath_;
    std::string journalPath_;
    std::string cursorPath_;
    int fd_ = -1;
    std::string lockPath_; // the lock this journal holds (shared within the process)
    bool heldByOther_ = false;
    std::int64_t journalId_ = 0;
    std::int64_t nextEvent_ = 1;
    // The first event number the journal's map allows; no event of the file is below it.
    std::int64_t mapNext_ = 1;
    std::int64_t confirmed_ = 0;
    long long knownSize_ = 0;
    unsigned long long knownFile_ = 0; // the log's inode when last seen; 0 when not known
    LogLineMap map_;
    size_t waiting_ = 0;       // events numbered after confirmed_, read back from the file in batches
    long long readOffset_ = 0; // where the journal's records after the confirmed ones begin
    // The last batch handed out: where it was read from, its last event, where it ended, how many.
    struct BatchRead {
        long long from = -1;
        std::int64_t lastEvent = 0;
        long long end = 0;
        size_t count = 0;
    };
    mutable BatchRead lastBatch_;
    size_t recordsSinceCompaction_ = 0;
    std::string unwritten_; // records a failed write left behind; written before the next
    std::string fault_;
    bool drainOthers_ = true; // false for a journal that is itself being drained
    std::vector<std::unique_ptr<OutboxJournal>> draining_;
    std::shared_ptr<OwedJournals> owed_;
    bool putOff_ = false; // a drained journal whose lines the server refused this run
    bool reconcile_ = false;
    std::string failedPath_; // the log whose journal could not be opened, tried again // the log waits to be compared
                             // with the server's rows (damaged journal)
    std::string told_;
    std::vector<std::string> othersFound_; // "O" records met while replaying
};
