#pragma once
// Which of this station's journal numbers each record line of its log carries (0: a line it did
// not append: older lines, another station's), with a hash of each line. A log shared
// by stations changes under each of them (another station's deletion rewrites the file), so the
// map is matched to the log again by content, never cut by position; identical lines are told
// apart by their order.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A row of the plant database: the journal that numbered the line (0: the open one) and its number.
struct JournalRow {
    std::int64_t journal = 0;
    std::int64_t seq = 0;
    bool operator==(const JournalRow&) const = default;
};

class LogLineMap {
public:
    // Never 0, which stands for "not known" (a journal written before hashes were kept).
    static std::uint64_t HashOf(std::string_view line);

    size_t Size() const { return entries_.size(); }
    std::int64_t SeqAt(size_t index) const { return entries_[index].Seq(); }
    JournalRow RowAt(size_t index) const { return {JournalOf(entries_[index]), entries_[index].Seq()}; }
    std::vector<std::int64_t> Seqs() const;

    void Clear()
    {
        entries_.clear();
        journals_.assign(1, 0);
    }
    void Append(std::int64_t seq, std::uint64_t hash, std::int64_t journal = 0)
    {
        entries_.push_back(Make(seq, hash, journal));
    }
    void Resize(size_t count) { entries_.resize(count); }
    // Lines this station did not append, added at the end.
    void AppendLines(const std::vector<std::uint64_t>& lineHashes);
    void Erase(size_t index);
    // Some lines' hashes are not known (a journal of an older version).
    bool MissingHashes() const;

    // " s:k ...": runs of k lines numbered s, s+1, ... (0:k, k lines not this station's; s:k@j,
    // numbered by the station's earlier journal j), then " | h ..." with each line's hash in hex.
    std::string Text() const;
    // Reads Text() from `text[at]` on; false when it is not one.
    // A log of `logSize` bytes holds at most as many lines: a count beyond that is damage.
    bool Parse(const std::string& text, size_t at, std::int64_t logSize);
    // " h ...": the hashes of the lines from `from` on; read back into the entries from `from`.
    std::string HashesText(size_t from) const;
    bool ParseHashes(const std::string& text, size_t at, size_t from);

    // The log's record lines are known to be those the map was made for: hashes a journal of an
    // older version did not keep are taken from them.
    void FillHashes(const std::vector<std::uint64_t>& lineHashes);
    // Matches the map to the log's record lines (their hashes, in order). Returns the rows of
    // this station's lines the log no longer has. Of identical lines the first ones are taken to
    // be kept: which of them went cannot be read from the log.
    std::vector<JournalRow> MatchTo(const std::vector<std::uint64_t>& lineHashes);

private:
    // 16 bytes a line, as a log may hold a million: the line's number in the low 48 bits, in the
    // high 16 which journal numbered it (an index into journals_; 0, the open one).
    struct Entry {
        std::uint64_t key = 0;
        std::uint64_t hash = 0;
        std::int64_t Seq() const { return static_cast<std::int64_t>(key & kSeqMask); }
    };
    static constexpr std::uint64_t kSeqMask = (std::uint64_t{1} << 48) - 1;
    Entry Make(std::int64_t seq, std::uint64_t hash, std::int64_t journal);
    std::int64_t JournalOf(const Entry& e) const { return journals_[e.key >> 48]; }

    std::vector<Entry> entries_;
    std::vector<std::int64_t> journals_{0};
};

// Hands each of the log's record lines (LF-ended, without CR LF; the header line left out) between
// byte `from` and `to` to `take` with where it ends, until `take` says false. False when the log
// cannot be read.
bool ForEachRecordLine(const std::string& logPath, long long from, long long to,
                       const std::function<bool(const std::string& line, long long end)>& take);

// The hashes of the log's record lines (LF-ended, without their CR LF; the header line left out)
// between byte `from` and `to`; `end` becomes where the last whole line ends. False when the log
// cannot be read.
bool ReadLineHashes(const std::string& logPath, long long from, long long to, std::vector<std::uint64_t>& hashes,
                    long long& end);

// The log's size in bytes (0 when it is not there yet); -1 when it cannot be looked at.
long long LogFileSize(const std::string& logPath);
// The file the log's name stands for (its inode), to tell an append (the same file, longer) from a
// rewrite (another station's deletion puts a new file in its place); 0 when there is none.
unsigned long long LogFileId(const std::string& logPath);
