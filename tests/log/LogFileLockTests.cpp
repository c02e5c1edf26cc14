// The log shared with other stations and damaged by the world: one lock around every change, a
// torn last line, a file renamed over the log, FIFOs, devices and folders, the change observer.

#include "FakeLogFileSystem.h"
#include "LogFileBytes.h"
#include "LogTestRecords.h"
#include "log/LogFileWriter.h"
#include "log/LogLineDeletion.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using logtest::FileBytes;
using logtest::kHeader;
using logtest::WriteBytes;

namespace {

// Notes every change as "what line-number lines... in path", and whether another open file
// found the log's lock still held meanwhile.
class FakeObserver final : public LogChangeObserver {
public:
    void LinesAppended(const std::string& path, const std::vector<std::string>& lines) override
    {
        Note(path, "appended 0", lines);
    }
    void LineDeleted(const std::string& path, size_t lineNumber, const std::string& line) override
    {
        Note(path, "deleted " + std::to_string(lineNumber), {line});
    }
    std::vector<std::string> changes;
    std::vector<int> lockSeenByOthers;

private:
    void Note(const std::string& path, std::string change, const std::vector<std::string>& lines)
    {
        for (const std::string& line : lines)
            change += " " + line;
        changes.push_back(change + " in " + path);
        LogFileSystem& fs = PosixLogFileSystem();
        const int fd = fs.Open(path, O_RDWR);
        lockSeenByOthers.push_back(fd < 0 ? fd : fs.TryLock(fd));
        if (fd >= 0)
            fs.Close(fd);
    }
};

class LogFileLockTest : public ::testing::Test {
protected:
    std::string PathIn(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
    // A probe error: its log line is TAB, `text`, TAB, CR LF, and it may create the file.
    LogWriteOutcome Write(const std::string& text, const std::string& path, LogFileWriter* writer = nullptr)
    {
        CarcassMeasurement record;
        record.kind = 'Z';
        record.timeDate = text;
        return (writer ? *writer : writer_).WriteLogRecord(record, path);
    }
    QTemporaryDir dir_;
    FakeLogFileSystem fs_;
    LogFileWriter writer_{fs_};
};

} // namespace

TEST_F(LogFileLockTest, TornLastLineIsKeptAndEveryRecordStartsALineOfItsOwn)
{
    // Cut mid-record, cut between CR and LF, and a last line end dropped by an editor.
    for (const std::string torn :
         {"\t11:02:03  01-02-2024\tSingle Si", "\tCancel      000007\t\r", "\tCancel      000007\t"}) {
        SCOPED_TRACE(torn);
        const std::string path = PathIn("torn.dif");
        WriteBytes(path, kHeader + torn);
        LogFileWriter writer(fs_);
        const LogWriteOutcome first = Write("ERR-1", path, &writer);
        const LogWriteOutcome second = Write("ERR-2", path, &writer);
        EXPECT_TRUE(first.written && second.written);
        EXPECT_TRUE(first.tornLineMended) << "the operator is told";
        EXPECT_FALSE(second.tornLineMended) << "once";
        const std::string mended = torn.back() == '\r' ? torn + "\n" : torn + "\r\n";
        EXPECT_EQ(FileBytes(path), kHeader + mended + "\tERR-1\t\r\n\tERR-2\t\r\n");
    }
}

TEST_F(LogFileLockTest, ABusyLockDelaysRecordsAndOnlyFiveSecondsOfItIsAFault)
{
    const std::string path = PathIn("shared.dif");
    WriteBytes(path, kHeader + "\tERR-0\t\r\n");
    long long now = 1000;
    writer_.clock = [&now] { return now; };
    fs_.lockBusy = true;

    LogWriteOutcome outcome = Write("ERR-1", path);
    EXPECT_FALSE(outcome.written);
    EXPECT_TRUE(outcome.lockBusy) << "tried again at the next tick";
    EXPECT_FALSE(outcome.report);
    now += 4999;
    EXPECT_FALSE(writer_.RetryWaiting(path).report) << "still within five seconds";
    now += 1;
    outcome = writer_.RetryWaiting(path);
    EXPECT_TRUE(outcome.report);
    EXPECT_EQ(outcome.text, "The log file is being changed by another station for more than five seconds.\r\n" + path
                                + " The results wait and are written as soon as it is free.");
    EXPECT_EQ(writer_.PendingCount(), 1u);

    // A deletion gives up on a lock held too long and changes nothing.
    const LineDeletionResult deletion = DeleteLogLine(
        path, 2, [](std::string_view) { return true; }, fs_);
    EXPECT_EQ(deletion.outcome, LineDeletion::Failed);
    EXPECT_EQ(deletion.error, "The log file is being changed by another station");
    EXPECT_EQ(FileBytes(path), kHeader + "\tERR-0\t\r\n");

    fs_.lockBusy = false;
    EXPECT_TRUE(Write("ERR-2", path).written);
    EXPECT_EQ(FileBytes(path), kHeader + "\tERR-0\t\r\n\tERR-1\t\r\n\tERR-2\t\r\n");
}

TEST_F(LogFileLockTest, AFileRenamedOverTheLogAfterOpeningIsTheOneWrittenTo)
{
    const std::string path = PathIn("shift.dif");
    const std::string old = PathIn("old-inode.dif");
    const std::string renamed = PathIn(".shift.dif.new");
    WriteBytes(path, kHeader + "\told\t\r\n");
    ASSERT_EQ(::link(path.c_str(), old.c_str()), 0); // keeps the replaced file to look at
    WriteBytes(renamed, kHeader + "\tnew\t\r\n");
    // Another station's deletion renames its new file over the log just as this one locks.
    fs_.afterLock = [&] { ASSERT_EQ(::rename(renamed.c_str(), path.c_str()), 0); };

    EXPECT_TRUE(Write("ERR-1", path).written);
    EXPECT_EQ(FileBytes(path), kHeader + "\tnew\t\r\n\tERR-1\t\r\n");
    EXPECT_EQ(FileBytes(old), kHeader + "\told\t\r\n") << "nothing goes to the file no longer named";
}

TEST_F(LogFileLockTest, FifosDevicesAndFoldersAreRefusedWithoutBlockingAndTheRecordsWait)
{
    const std::string fifo = PathIn("pipe.dif");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {fifo, std::string("/dev/full"), std::string("/dev/zero"), dir_.path().toStdString()}) {
        SCOPED_TRACE(path);
        LogFileWriter writer;
        const LogWriteOutcome outcome = Write("ERR-1", path, &writer);
        EXPECT_FALSE(outcome.written);
        EXPECT_TRUE(outcome.report);
        EXPECT_EQ(outcome.text, "Not a regular file (a FIFO, device, socket or folder cannot hold the log)\r\n" + path
                                    + " is not a regular file. Please choose a log file.");
        EXPECT_EQ(writer.PendingCount(), 1u);
    }
}

TEST_F(LogFileLockTest, ObserverHearsOfEveryChangeWhileTheLockIsStillHeld)
{
    const std::string path = PathIn("shift.dif");
    FakeObserver observer;
    writer_.SetChangeObserver(&observer);
    fs_.writeBudget = 0; // a full disk: nothing is told of a record that is not in the file
    Write("ERR-1", path);
    EXPECT_TRUE(observer.changes.empty());
    fs_.Heal();
    Write("ERR-2", path);

    auto isSecond = [](std::string_view line) { return line == "\tERR-2\t\r\n"; };
    ASSERT_EQ(DeleteLogLine(path, 3, isSecond, fs_, &observer).outcome, LineDeletion::Deleted);

    EXPECT_EQ(observer.changes, (std::vector<std::string>{"appended 0 \tERR-1\t \tERR-2\t in " + path,
                                                          "deleted 3 \tERR-2\t in " + path}));
    EXPECT_EQ(observer.lockSeenByOthers, (std::vector<int>{kLockBusy, kLockBusy}));
    EXPECT_EQ(FileBytes(path), kHeader + "\tERR-1\t\r\n");
}

TEST_F(LogFileLockTest, DeletionThroughALinkChangesTheLinkedFileAndKeepsItsMode)
{
    ASSERT_EQ(::mkdir(PathIn("shared").c_str(), 0700), 0);
    const std::string real = PathIn("shared/shift.dif");
    const std::string link = PathIn("shift.dif");
    WriteBytes(real, kHeader + "\tERR-1\t\r\n\tERR-2\t\r\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);

    auto isFirst = [](std::string_view line) { return line == "\tERR-1\t\r\n"; };
    EXPECT_EQ(DeleteLogLine(link, 2, isFirst, fs_).outcome, LineDeletion::Deleted);
    // Later records go to the linked file too.
    EXPECT_TRUE(Write("ERR-3", link).written);

    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(FileBytes(real), kHeader + "\tERR-2\t\r\n\tERR-3\t\r\n");
}

TEST_F(LogFileLockTest, ALinkToAFileNotMadeYetMakesItWhereItPoints)
{
    ASSERT_EQ(::mkdir(PathIn("data").c_str(), 0700), 0);
    const std::string link = PathIn("shift.dif");
    ASSERT_EQ(::symlink("data/shift.dif", link.c_str()), 0); // relative, as `ln -s` makes it
    EXPECT_TRUE(Write("ERR-1", link).written);

    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    EXPECT_EQ(FileBytes(PathIn("data/shift.dif")), kHeader + "\tERR-1\t\r\n");
}
