#pragma once
// The journal of received messages: an append-only file in which each probe message is synced
// before the probe is acknowledged, and the state the station holds (HeldState) is written after
// each change. Whatever the station is killed in the middle of, the last state plus the messages
// after it bring it back. One process holds the file (an exclusive lock) while it runs.
//
// Each entry: a tag (M probe message, W scale message, K state), its length and checksum, then
// its bytes:
//   "M <len hex> <fnv hex>\n" "<seq>\t<ms>\t<message bytes>" "\n"   (W alike)
//   "K <len hex> <fnv hex>\n" "<seq>\n<state text>" "\n"
// A K entry holds every message up to its sequence number.

#include "station/HeldState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ReceivedJournal {
public:
    // What an opened journal held.
    struct Contents {
        std::optional<HeldState> state;     // the last state written
        std::uint64_t stateSeq = 0;         // messages up to this number are in it
        std::vector<ReceivedMessage> after; // kept after the last state, oldest first
        std::uint64_t lastSeq = 0;          // the highest number used so far
        bool endsInMessage = false;         // the last entry is a probe message (its ACK may not be out)
        std::string damagedCopy;            // where a copy of a damaged journal was kept
    };
    enum class Opening { Opened, HeldByOther, Failed };

    ReceivedJournal() = default;
    ~ReceivedJournal();
    ReceivedJournal(const ReceivedJournal&) = delete;
    ReceivedJournal& operator=(const ReceivedJournal&) = delete;

    // Opens (or creates) the journal at `path`, locks it and reads it. A journal whose end is
    // torn (a power cut mid-append) or damaged is copied aside before the bad part is cut off.
    Opening Open(const std::string& path, Contents& contents, std::string* error = nullptr);
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // Appends a message (of either kind) and syncs the file; false when it could not.
    bool AppendMessage(const ReceivedMessage& message, std::string* error = nullptr);
    // Appends the held state; not synced: the next message's sync carries it to the disk.
    bool AppendState(std::uint64_t seq, const std::string& stateText);
    // Replaces the journal by one state entry, synced, so that it does not grow without end.
    bool Compact(std::uint64_t seq, const std::string& stateText);
    long long Size() const { return size_; }
    // Closes the file; `remove` deletes it first (nothing is held).
    void Close(bool remove);

    static constexpr long long kCompactAboveBytes = 256 * 1024;

private:
    bool Append(char tag, const std::string& payload, bool sync, std::string* error);

    int fd_ = -1;
    std::string path_;
    long long size_ = 0;
};

// The journal's name for a settings file: one journal per settings file, in `folder`.
std::string ReceivedJournalPath(const std::string& folder, const std::string& settingsFile);
