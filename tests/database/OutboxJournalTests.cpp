// The outbox journal: what it writes beside the log for each change, what it makes of a journal
// found at start-up (cut short by a crash, confirmed in part, compacted), and its compaction.

#include "database/OutboxJournal.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string Read(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(missing)");
}

void Write(const std::string& path, const std::string& bytes)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// The journal after its first line (which carries a random id).
std::string Records(const std::string& logPath)
{
    const std::string text = Read(OutboxJournal::JournalPath(logPath));
    return text.substr(text.find('\n') + 1);
}

std::vector<std::int64_t> PendingSeqs(const OutboxJournal& journal)
{
    const OutboxBatch batch = journal.Unconfirmed(100);
    std::vector<std::int64_t> seqs;
    for (const OutboxLine& l : batch.lines)
        seqs.push_back(l.seq);
    for (const OutboxDeletion& d : batch.deletions)
        seqs.push_back(-d.lineSeq); // a deletion shows as its line's number, negative
    return seqs;
}

std::vector<std::string> Lines(const OutboxBatch& batch)
{
    std::vector<std::string> lines;
    for (const OutboxLine& l : batch.lines)
        lines.push_back(l.line);
    return lines;
}

class OutboxJournalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        log = dir.filePath(QStringLiteral("shift.dif")).toStdString();
        journal.nowMs = [] { return 1000; };
    }
    // Appends `lines` to the log as the writer does, and tells the journal.
    void Append(const std::vector<std::string>& lines)
    {
        std::string bytes = Read(log);
        if (bytes == "(missing)")
            bytes = "H\r\n";
        for (const std::string& l : lines)
            bytes += l + "\r\n";
        Write(log, bytes);
        journal.LinesAppended(log, lines);
    }

    QTemporaryDir dir;
    std::string log;
    OutboxJournal journal;
};

TEST_F(OutboxJournalTest, EachChangeIsJournalledWithTheLineNumbersItMapsTo)
{
    Write(log, "H\r\nold\r\n"); // logged before the database was set
    ASSERT_TRUE(journal.Open(log));
    Append({"a", "b"});
    Write(log, Read(log) + "x\r\n"); // another station shares the file
    Append({"c"});
    Write(log, "H\r\nold\r\nb\r\nx\r\nc\r\n"); // the operator deleted "a", line 3
    journal.LineDeleted(log, 3, "a");

    EXPECT_EQ(Records(log),
              "M 1 8 0:1 | 1a0fad1921d08076\n"
              "A 1 1000 11 a\n"
              "A 2 1000 14 b\n"
              "R 17 4 | af63f54c86021707\n"
              "A 3 1000 20 c\n"
              "D 4 1000 17 -1 1\n"
              "Q 17 0:1 2:1 0:1 3:1 | 1a0fad1921d08076 af63df4c8601f1a5 af63f54c86021707 af63de4c8601eff2\n");
    EXPECT_EQ(journal.LineMap(), (std::vector<std::int64_t>{0, 2, 0, 3}));
    EXPECT_EQ(PendingSeqs(journal), (std::vector<std::int64_t>{1, 2, 3, -1}));

    // Deleting a line the station did not append marks nothing.
    Write(log, "H\r\nb\r\nx\r\nc\r\n");
    journal.LineDeleted(log, 2, "old");
    EXPECT_EQ(journal.Waiting(), 4u);
    EXPECT_EQ(journal.LineMap(), (std::vector<std::int64_t>{2, 0, 3}));
}

TEST_F(OutboxJournalTest, AJournalFoundAtStartUpIsTakenUpWhereItWas)
{
    const std::string kLog = "H\r\na\r\nb\r\n";
    const struct {
        const char* name;
        std::string journal;
        std::string cursor;
        std::vector<std::int64_t> map;
        std::vector<std::int64_t> pending;
        std::string recordsAfter;
    } cases[] = {
        {"cut short by a crash: the torn record goes, its line counts as not published",
         "TALLION-JOURNAL 1 42\nM 1 3\nA 1 5 6 a\nA 2 5 9 b",
         "",
         {1, 0},
         {1},
         "M 1 3\nA 1 5 6 a\nQ 9 1:1 0:1 | af63dc4c8601ec8c af63df4c8601f1a5\n"},
        {"the cursor confirms the first line",
         "TALLION-JOURNAL 1 42\nM 1 3\nA 1 5 6 a\nA 2 5 9 b\n",
         "TALLION-CURSOR 42 1\n",
         {1, 2},
         {2},
         "M 1 3\nA 1 5 6 a\nA 2 5 9 b\n"},
        {"the cursor of another journal says nothing",
         "TALLION-JOURNAL 1 42\nM 1 3\nA 1 5 6 a\nA 2 5 9 b\n",
         "TALLION-CURSOR 41 2\n",
         {1, 2},
         {1, 2},
         "M 1 3\nA 1 5 6 a\nA 2 5 9 b\n"},
        {"compacted, then a deletion",
         "TALLION-JOURNAL 1 42\nM 7 12 0:1 5:2\nD 7 5 9 0 0\n",
         "TALLION-CURSOR 42 6\n",
         {5, 6},
         {},
         "M 7 12 0:1 5:2\nD 7 5 9 0 0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(log, kLog);
        Write(OutboxJournal::JournalPath(log), c.journal);
        QFile::remove(QString::fromStdString(OutboxJournal::CursorPath(log)));
        if (!c.cursor.empty())
            Write(OutboxJournal::CursorPath(log), c.cursor);
        OutboxJournal found;
        ASSERT_TRUE(found.Open(log));
        EXPECT_EQ(found.LineMap(), c.map);
        EXPECT_EQ(PendingSeqs(found), c.pending);
        EXPECT_EQ(Records(log), c.recordsAfter);
    }
}

TEST_F(OutboxJournalTest, ALineHoldingABackslashOrALineEndStaysOneRecord)
{
    Write(log, "H\r\n");
    ASSERT_TRUE(journal.Open(log));
    const std::string odd = "\tC:\\probe\nerror\t";
    Append({odd});
    EXPECT_EQ(Records(log), "M 1 3\nA 1 1000 21 \tC:\\\\probe\\nerror\t\n");

    OutboxJournal restarted;
    ASSERT_TRUE(restarted.Open(log));
    EXPECT_EQ(Lines(restarted.Unconfirmed(10)), std::vector<std::string>{odd});
}

TEST_F(OutboxJournalTest, ConfirmedJournalIsCompactedToItsMapAndNumberingGoesOn)
{
    journal.compactAfter = 3;
    ASSERT_TRUE(journal.Open(log));
    Append({"a", "b"});
    const OutboxBatch batch = journal.Unconfirmed(100);
    Append({"c"});
    // Not all confirmed: nothing is compacted yet.
    ASSERT_TRUE(journal.Confirm(batch.journal, batch.lastEvent));
    EXPECT_EQ(Records(log), "M 1 0\nR 3 0\nA 1 1000 6 a\nA 2 1000 9 b\nA 3 1000 12 c\n");
    ASSERT_TRUE(journal.Confirm(batch.journal, 3));
    EXPECT_EQ(Records(log), "M 4 12 1:3 | af63dc4c8601ec8c af63df4c8601f1a5 af63de4c8601eff2\n");
    EXPECT_EQ(Read(OutboxJournal::CursorPath(log)), "TALLION-CURSOR " + std::to_string(batch.journal) + " 3\n");
    EXPECT_FALSE(journal.Confirm(batch.journal + 1, 3)); // another journal's batch

    Append({"d"});
    EXPECT_EQ(Records(log), "M 4 12 1:3 | af63dc4c8601ec8c af63df4c8601f1a5 af63de4c8601eff2\nA 4 1000 15 d\n");
}

TEST_F(OutboxJournalTest, AnEarlierLogsWaitingLinesGoFirstAlsoAfterARestart)
{
    ASSERT_TRUE(journal.Open(log));
    Append({"a"});
    const std::int64_t first = journal.Unconfirmed(100).journal;

    // The operator chose another log while "a" still waited.
    const std::string earlier = log;
    log = dir.filePath(QStringLiteral("next.dif")).toStdString();
    Append({"b"});
    EXPECT_EQ(journal.Waiting(), 2u);
    // The new log is taken as it was before "b" came, its header only.
    EXPECT_EQ(Records(log), "M 1 3\nO " + earlier + "\nA 1 1000 6 b\n");

    // Restarted: the new log's journal still names the earlier one.
    OutboxJournal restarted;
    ASSERT_TRUE(restarted.Open(log));
    for (const std::string line : {"a", "b"}) { // "a" in the earlier log's journal
        const OutboxBatch batch = restarted.Unconfirmed(100);
        EXPECT_EQ(batch.journal == first, line == "a");
        EXPECT_EQ(Lines(batch), std::vector<std::string>{line});
        ASSERT_TRUE(restarted.Confirm(batch.journal, batch.lastEvent));
    }
    EXPECT_EQ(restarted.Waiting(), 0u);
}

} // namespace

// An append is announced before the log's bytes are written and committed after their sync; a
// station killed in between finds the announcement at its next start and checks it against the
// log, so the line is neither lost nor sent without being in the log.
TEST_F(OutboxJournalTest, AnAnnouncedAppendCountsOnlyIfItsLinesReachedTheLog)
{
    const std::string kAnnounced = "M 1 3\nP 3 9\nA 1 1000 6 a\nA 2 1000 9 b\n";
    const struct {
        const char* name;
        bool committed; // LinesAppended came before the station stopped
        std::string logAfter;
        std::vector<std::int64_t> pending;
        std::string recordsAfter;
    } cases[] = {
        {"committed as it happened", true, "H\r\na\r\nb\r\n", {1, 2}, kAnnounced + "C\n"},
        {"killed after the log's sync", false, "H\r\na\r\nb\r\n", {1, 2}, kAnnounced + "C\n"},
        {"killed before the log's write", false, "H\r\n", {}, kAnnounced + "X\n"},
        {"killed in the middle of the write", false, "H\r\na\r\nb", {}, kAnnounced + "X\nQ 7 0:1 | af63dc4c8601ec8c\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(log, "H\r\n");
        QFile::remove(QString::fromStdString(OutboxJournal::JournalPath(log)));
        {
            OutboxJournal station;
            station.nowMs = [] { return 1000; };
            ASSERT_TRUE(station.Open(log));
            station.LinesAppending(log, 3, {"a", "b"});
            Write(log, c.logAfter);
            if (c.committed)
                station.LinesAppended(log, {"a", "b"});
        }
        OutboxJournal restarted;
        ASSERT_TRUE(restarted.Open(log));
        EXPECT_EQ(PendingSeqs(restarted), c.pending);
        EXPECT_EQ(Records(log), c.recordsAfter);
    }
}

// Two stations log into one file. A deletion marks the line deleted, however many lines the other
// station deleted before it: identical lines of the station's own are told apart by their order,
// and a line of its own that another station deleted is marked when it looks at the log again.
TEST_F(OutboxJournalTest, ADeletionInASharedLogMarksTheLineDeletedWhoeverDeletedIt)
{
    Write(log, "H\r\n");
    OutboxJournal a("A");
    ASSERT_TRUE(a.Open(log));
    ASSERT_TRUE(journal.Open(log));
    auto logBy = [&](OutboxJournal& station, const std::string& line) {
        Write(log, Read(log) + line + "\r\n");
        station.LinesAppended(log, {line});
    };
    // A deletion puts a new file in the log's place, as the station's deletion does.
    auto deleteLine = [&](OutboxJournal& station, size_t number) {
        QStringList lines = QString::fromStdString(Read(log)).split(QStringLiteral("\r\n"));
        const std::string line = lines.takeAt(static_cast<qsizetype>(number) - 1).toStdString();
        Write(log + ".new", lines.join(QStringLiteral("\r\n")).toStdString());
        ASSERT_TRUE(QFile::remove(QString::fromStdString(log)));
        ASSERT_TRUE(QFile::rename(QString::fromStdString(log + ".new"), QString::fromStdString(log)));
        station.LineDeleted(log, number, line);
    };
    logBy(a, "a1");
    logBy(journal, "x");
    logBy(journal, "x");
    logBy(a, "a2");
    deleteLine(a, 2);       // A's "a1"
    deleteLine(journal, 3); // this station's second "x"
    deleteLine(a, 2);       // this station's first "x", deleted by A
    EXPECT_EQ(journal.Waiting(), 3u);
    journal.Recheck();
    EXPECT_EQ(PendingSeqs(journal), (std::vector<std::int64_t>{1, 2, -2, -1}));
    EXPECT_EQ(PendingSeqs(a), (std::vector<std::int64_t>{1, 2, -1}));
    EXPECT_EQ(a.LineMap(), (std::vector<std::int64_t>{2}));
    EXPECT_EQ(journal.LineMap(), (std::vector<std::int64_t>{0}));
}

// Lines left waiting in a journal the station no longer opens by itself (the log or the station's
// name changed, then a restart) are drained first, under the name they were logged with.
TEST_F(OutboxJournalTest, AJournalLeftWaitingIsDrainedAfterARestartUnderItsOwnName)
{
    const struct {
        const char* name;
        std::string stationAfter;
        std::string logAfter;
        std::string batchStation;
    } cases[] = {
        {"another log", "A", "next.dif", ""},
        {"another StationName", "B", "shift.dif", "A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QTemporaryDir folder;
        const std::string owedPath = folder.filePath(QStringLiteral("owed")).toStdString();
        const std::string first = folder.filePath(QStringLiteral("shift.dif")).toStdString();
        {
            OutboxJournal before("A");
            before.KeepOwedList(std::make_shared<OwedJournals>(owedPath));
            Write(first, "H\r\none\r\n");
            ASSERT_TRUE(before.Open(first));
            before.LinesAppended(first, {"one"});
        }
        const std::string after = folder.filePath(QString::fromStdString(c.logAfter)).toStdString();
        auto owed = std::make_shared<OwedJournals>(owedPath);
        OutboxJournal restarted(c.stationAfter);
        restarted.KeepOwedList(owed);
        ASSERT_TRUE(restarted.Open(after));
        const OutboxBatch batch = restarted.Unconfirmed(10);
        EXPECT_EQ(Lines(batch), std::vector<std::string>{"one"});
        EXPECT_EQ(batch.station, c.batchStation);
        ASSERT_TRUE(restarted.Confirm(batch.journal, batch.lastEvent));
        EXPECT_EQ(restarted.Waiting(), 0u);
        EXPECT_EQ(owed->Read(), (std::vector<OwedJournal>{{c.stationAfter, after}}));
    }
}

// A journal removed while the station runs is written again from what the station holds: what
// waited still goes, once, and the operator is told.
TEST_F(OutboxJournalTest, AJournalRemovedWhileTheStationRunsIsWrittenAgain)
{
    ASSERT_TRUE(journal.Open(log));
    Append({"a", "b"});
    const OutboxBatch first = journal.Unconfirmed(1);
    ASSERT_TRUE(journal.Confirm(first.journal, first.lastEvent));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(OutboxJournal::JournalPath(log))));
    journal.Recheck();
    EXPECT_NE(journal.TakeNotice(), "");
    EXPECT_EQ(Records(log), "M 2 9 1:2 | af63dc4c8601ec8c af63df4c8601f1a5\nW 2 1000 b\n");
    Append({"c"});

    OutboxJournal restarted;
    ASSERT_TRUE(restarted.Open(log));
    EXPECT_EQ(Lines(restarted.Unconfirmed(10)), (std::vector<std::string>{"b", "c"}));
}

TEST(OutboxJournalNames, StationsSharingALogKeepJournalsOfTheirOwn)
{
    EXPECT_EQ(OutboxJournal::JournalPath("/plant/line.dif", "Line 2/B"), "/plant/line.dif.Line 2_B.dbjournal");
    EXPECT_EQ(OutboxJournal::CursorPath("/plant/line.dif", "north"), "/plant/line.dif.north.dbcursor");
}
