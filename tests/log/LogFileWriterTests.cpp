#include "FakeLogFileSystem.h"
#include "LogTestRecords.h"
#include "log/LogFileWriter.h"
#include "log/LogRecordFormat.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using logtest::kHeader;

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

class LogFileWriterTest : public ::testing::Test {
protected:
    std::string PathIn(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
    QTemporaryDir dir_;
};

const std::string kNotFound = " file does not exist";
const std::string kInUse = " is used by other application. Please close it.";

std::string DiskFull(const std::string& path)
{
    return "No space left on device\r\nThe disk holding " + path
           + " is full; results wait and are written when there is space. Please free some space on it.";
}

std::string NotPermitted(const std::string& path, const char* reason = "Permission denied")
{
    return std::string(reason) + "\r\nThis user may not write to " + path
           + "; results wait and are written once it may. Please give the user permission to write there or "
             "choose another log file.";
}

} // namespace

TEST_F(LogFileWriterTest, NewFileGetsTheHeaderOnceThenEveryRecordKind)
{
    struct Case {
        CarcassMeasurement record;
        std::string line;
    };
    CarcassMeasurement probeError = logtest::Result("000002");
    probeError.kind = 'Z';
    probeError.alertText = "Not through";
    CarcassMeasurement longResult = logtest::Result("000004");
    longResult.kind = 'L';
    longResult.rz7Tender = "3.1";
    longResult.rz7TenderGrade = "T";
    longResult.comment = "end";
    const Case cases[] = {
        {logtest::Result("000001"),
         "\t08:15:02  14-03-2024\tSingle Site\t1\t000001\t 14.2\t\t 55.0\t\t\t\t\t\t 58.3\t\tE\t"
             + std::string(22, '\t') + "\r\n"},
        {probeError, "\tNot through\t\r\n"},
        {logtest::Cancel("000003"), "\tCancel      000003\t\r\n"},
        {longResult, "\t08:15:02  14-03-2024\tSingle Site, RZ7\t1\t000004\t 14.2\t\t 55.0\t\t\t\t\t\t 58.3\t\tE\t"
                         + std::string(21, '\t') + "3.1\tT\tend\t\r\n"},
    };

    LogFileWriter writer;
    const std::string path = PathIn("day.dif");
    std::string expected = kHeader;
    for (const Case& c : cases) {
        const LogWriteOutcome outcome = writer.WriteLogRecord(c.record, path);
        EXPECT_TRUE(outcome.written);
        EXPECT_FALSE(outcome.report);
        expected += c.line;
        EXPECT_EQ(FileBytes(path), expected);
    }
    EXPECT_EQ(LogField(1, FileBytes(path).substr(kHeader.size())), "08:15:02  14-03-2024");
}

TEST_F(LogFileWriterTest, EmptyFileChosenEarlierReceivesTheHeaderWithItsFirstRecord)
{
    const std::string path = PathIn("chosen.dif");
    std::ofstream(path).close();
    LogFileWriter writer;
    EXPECT_TRUE(writer.WriteLogRecord(logtest::Cancel("000009"), path).written);
    EXPECT_EQ(FileBytes(path), kHeader + "\tCancel      000009\t\r\n");

    // A record of a kind without a line still gives a new file its header.
    CarcassMeasurement info;
    info.kind = 'I';
    const std::string other = PathIn("other.dif");
    EXPECT_TRUE(writer.WriteLogRecord(info, other).written);
    EXPECT_EQ(FileBytes(other), kHeader);
}

TEST_F(LogFileWriterTest, EmptyPathWritesAndReportsNothing)
{
    LogFileWriter writer;
    const LogWriteOutcome outcome = writer.WriteLogRecord(logtest::Result("000001"), "");
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(outcome.report);
    EXPECT_EQ(writer.PendingCount(), 0u);
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(LogFileWriterTest, MissingFolderIsReportedOnceAndNothingIsLost)
{
    const std::string folder = PathIn("line2");
    const std::string path = folder + "/day.dif";
    LogFileWriter writer;

    const LogWriteOutcome first = writer.WriteLogRecord(logtest::Result("000001"), path);
    EXPECT_FALSE(first.written);
    EXPECT_TRUE(first.report);
    EXPECT_TRUE(first.pathNotFound);
    EXPECT_EQ(first.text, "No such file or directory\r\n" + path + kNotFound);

    const LogWriteOutcome second = writer.WriteLogRecord(logtest::Cancel("000002"), path);
    EXPECT_FALSE(second.written);
    EXPECT_FALSE(second.report);
    EXPECT_EQ(second.text, first.text);
    EXPECT_EQ(writer.PendingCount(), 2u);

    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const LogWriteOutcome third = writer.WriteLogRecord(logtest::Result("000003"), path);
    EXPECT_TRUE(third.written);
    EXPECT_EQ(third.recovered, 2u);
    EXPECT_EQ(writer.PendingCount(), 0u);
    EXPECT_EQ(FileBytes(path), kHeader + LogLineFor(logtest::Result("000001")) + "\tCancel      000002\t\r\n"
                                   + LogLineFor(logtest::Result("000003")));

    // Writing worked again, so the next failure is a new fault and is shown again.
    ASSERT_EQ(::rename(folder.c_str(), (folder + "-moved").c_str()), 0);
    EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000004"), path).report);
}

TEST_F(LogFileWriterTest, UnwritableFolderIsAWarningAndRecordsWaitForIt)
{
    LogFileWriter writer;
    if (::geteuid() == 0) {
        // chmod does not stop root; a folder that does not exist yet does.
        const std::string folder = PathIn("late");
        const std::string path = folder + "/day.dif";
        EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000001"), path).report);
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000002"), path).written);
        EXPECT_EQ(FileBytes(path),
                  kHeader + LogLineFor(logtest::Result("000001")) + LogLineFor(logtest::Result("000002")));
        return;
    }
    const std::string folder = PathIn("locked");
    const std::string path = folder + "/day.dif";
    ASSERT_EQ(::mkdir(folder.c_str(), 0555), 0);
    const LogWriteOutcome first = writer.WriteLogRecord(logtest::Result("000001"), path);
    EXPECT_FALSE(first.written);
    EXPECT_TRUE(first.report);
    EXPECT_FALSE(first.pathNotFound);
    EXPECT_EQ(first.text, NotPermitted(path));
    EXPECT_FALSE(writer.WriteLogRecord(logtest::Result("000002"), path).report);
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000003"), path).written);
    EXPECT_EQ(FileBytes(path), kHeader + LogLineFor(logtest::Result("000001")) + LogLineFor(logtest::Result("000002"))
                                   + LogLineFor(logtest::Result("000003")));
}

TEST_F(LogFileWriterTest, AlertLineNeedsAnExistingFile)
{
    const std::string path = PathIn("deleted.dif");
    LogFileWriter writer;
    const LogWriteOutcome outcome = writer.WriteLogRecord(logtest::Cancel("000001"), path);
    EXPECT_FALSE(outcome.written);
    EXPECT_TRUE(outcome.pathNotFound);
    EXPECT_EQ(outcome.text, "No such file or directory\r\n" + path + kNotFound);
    EXPECT_FALSE(Exists(path));

    // A waiting alert alone does not create the file either...
    EXPECT_FALSE(writer.RetryPending(path));
    EXPECT_FALSE(Exists(path));
    // ...but a result does, and the alert goes in first.
    EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000002"), path).written);
    EXPECT_EQ(FileBytes(path), kHeader + "\tCancel      000001\t\r\n" + LogLineFor(logtest::Result("000002")));
}

TEST_F(LogFileWriterTest, WaitingRecordsGoToTheCurrentLogFile)
{
    const std::string lost = PathIn("gone/day.dif");
    const std::string chosen = PathIn("new.dif");
    LogFileWriter writer;
    EXPECT_FALSE(writer.WriteLogRecord(logtest::Result("000001"), lost).written);
    EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000002"), chosen).written);
    EXPECT_EQ(FileBytes(chosen),
              kHeader + LogLineFor(logtest::Result("000001")) + LogLineFor(logtest::Result("000002")));
}

TEST_F(LogFileWriterTest, FailedWritesLeaveNoPartOfARecordAndAreReportedOncePerFault)
{
    FakeLogFileSystem fs;
    LogFileWriter writer(fs);
    const std::string path = PathIn("day.dif");
    ASSERT_TRUE(writer.WriteLogRecord(logtest::Result("000001"), path).written);
    const std::string good = FileBytes(path);

    struct Step {
        const char* name;
        std::function<void()> fault;
        bool report;
        std::string message;
    };
    const Step steps[] = {
        {"disk full mid-record", [&] { fs.writeBudget = 20; }, true, DiskFull(path)},
        {"same fault again", [&] { fs.writeBudget = 5; }, false, DiskFull(path)},
        {"sync fails",
         [&] {
             fs.Heal();
             fs.syncError = -EIO;
         },
         true, "Input/output error\r\n" + path + kInUse},
        {"sync fails again", [] {}, false, "Input/output error\r\n" + path + kInUse},
    };
    int counter = 2;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.fault();
        const LogWriteOutcome outcome =
            writer.WriteLogRecord(logtest::Result("00000" + std::to_string(counter++)), path);
        EXPECT_FALSE(outcome.written);
        EXPECT_EQ(outcome.report, step.report);
        EXPECT_FALSE(outcome.pathNotFound);
        EXPECT_EQ(outcome.text, step.message);
        EXPECT_EQ(FileBytes(path), good);
    }
    EXPECT_EQ(writer.PendingCount(), 4u);

    fs.Heal();
    fs.maxChunk = 7; // short writes must still put every byte down
    const LogWriteOutcome healed = writer.WriteLogRecord(logtest::Result("000006"), path);
    EXPECT_TRUE(healed.written);
    EXPECT_EQ(healed.recovered, 4u);
    std::string expected = good;
    for (int i = 2; i <= 6; ++i)
        expected += LogLineFor(logtest::Result("00000" + std::to_string(i)));
    EXPECT_EQ(FileBytes(path), expected);
}

TEST_F(LogFileWriterTest, FullReadOnlyAndRefusedAreEachToldInTheirOwnWords)
{
    const std::string path = PathIn("new.dif");
    const struct {
        int error;
        std::string text;
    } cases[] = {
        {-ENOSPC, DiskFull(path)},
        {-EROFS, "Read-only file system\r\nThe disk holding " + path
                     + " is read-only; results wait and are written when it can be written again. Please make it "
                       "writable or choose a log file on another disk."},
        {-EACCES, NotPermitted(path)},
        {-EPERM, NotPermitted(path, "Operation not permitted")},
        {-ETXTBSY, "Text file busy\r\n" + path + kInUse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        FakeLogFileSystem fs;
        fs.createError = c.error;
        LogFileWriter writer(fs);
        const LogWriteOutcome outcome = writer.WriteLogRecord(logtest::Result("000001"), path);
        EXPECT_TRUE(outcome.report);
        EXPECT_EQ(outcome.text, c.text);
        EXPECT_EQ(writer.PendingCount(), 1u);
    }
}

TEST_F(LogFileWriterTest, TimerRetryWritesWaitingRecordsWithoutUsingUpTheReport)
{
    FakeLogFileSystem fs;
    LogFileWriter writer(fs);
    const std::string path = PathIn("day.dif");
    EXPECT_TRUE(writer.RetryPending(path)); // nothing waiting: nothing touched
    EXPECT_FALSE(Exists(path));

    fs.writeBudget = 0;
    EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000001"), path).report);
    // The fault changes while only the timer is retrying; the operator has not seen it yet.
    fs.Heal();
    fs.syncError = -EIO;
    EXPECT_FALSE(writer.RetryPending(path));
    EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000002"), path).report);

    fs.Heal();
    EXPECT_TRUE(writer.RetryPending(path));
    EXPECT_EQ(writer.PendingCount(), 0u);
    EXPECT_EQ(FileBytes(path), kHeader + LogLineFor(logtest::Result("000001")) + LogLineFor(logtest::Result("000002")));
}

TEST_F(LogFileWriterTest, NewFileIsNotDoneUntilItsFolderIsSynced)
{
    FakeLogFileSystem fs;
    LogFileWriter writer(fs);
    const std::string path = PathIn("day.dif");
    fs.folderSyncError = -EIO;
    EXPECT_FALSE(writer.WriteLogRecord(logtest::Result("000001"), path).written);
    EXPECT_EQ(FileBytes(path), ""); // cut back, so the retry does not repeat the record
    fs.Heal();
    const int syncsBefore = fs.folderSyncs;
    EXPECT_TRUE(writer.RetryPending(path));
    EXPECT_EQ(fs.folderSyncs, syncsBefore + 1); // still owed, though the file exists now
    EXPECT_EQ(FileBytes(path), kHeader + LogLineFor(logtest::Result("000001")));

    EXPECT_TRUE(writer.WriteLogRecord(logtest::Result("000002"), path).written);
    EXPECT_EQ(fs.folderSyncs, syncsBefore + 1); // an existing file needs no folder sync
}

TEST_F(LogFileWriterTest, RecoveryFileHoldsEveryWaitingRecord)
{
    LogFileWriter writer;
    std::string error = "stale";
    EXPECT_EQ(writer.SaveToRecoveryFile(dir_.path(), &error), "");
    EXPECT_EQ(error, "");

    const std::string lost = PathIn("gone/day.dif");
    writer.WriteLogRecord(logtest::Result("000001"), lost);
    writer.WriteLogRecord(logtest::Cancel("000002"), lost);
    const QString folder = dir_.path() + "/appdata/tallion";
    const std::string saved = writer.SaveToRecoveryFile(folder, &error);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(std::regex_match(saved, std::regex(".*/appdata/tallion/tallion-unwritten-[0-9]{8}-[0-9]{6}\\.dif")))
        << saved;
    EXPECT_EQ(FileBytes(saved), kHeader + LogLineFor(logtest::Result("000001")) + "\tCancel      000002\t\r\n");
    EXPECT_EQ(writer.PendingCount(), 0u);

    // A second save within the same second must not overwrite the first.
    writer.WriteLogRecord(logtest::Result("000003"), lost);
    const std::string again = writer.SaveToRecoveryFile(folder, &error);
    EXPECT_NE(again, "");
    EXPECT_NE(again, saved);
    EXPECT_EQ(FileBytes(saved), kHeader + LogLineFor(logtest::Result("000001")) + "\tCancel      000002\t\r\n");
}

TEST_F(LogFileWriterTest, FailedRecoveryKeepsTheRecordsAndLeavesNoFile)
{
    FakeLogFileSystem fs;
    LogFileWriter writer(fs);
    writer.WriteLogRecord(logtest::Result("000001"), PathIn("gone/day.dif"));
    const QString folder = dir_.path() + "/recovery";

    struct Case {
        const char* name;
        std::function<void()> fault;
        std::string errorStart;
    };
    const Case cases[] = {
        {"cannot create", [&] { fs.createError = -EACCES; }, "Permission denied\r\n"},
        {"disk full", [&] { fs.writeBudget = 10; }, "No space left on device\r\n"},
        {"sync fails", [&] { fs.syncError = -EIO; }, "Input/output error\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs.Heal();
        c.fault();
        std::string error;
        EXPECT_EQ(writer.SaveToRecoveryFile(folder, &error), "");
        EXPECT_TRUE(error.starts_with(c.errorStart)) << error;
        EXPECT_EQ(writer.PendingCount(), 1u);
        EXPECT_TRUE(QDir(folder).isEmpty());
    }
    fs.Heal();
    EXPECT_NE(writer.SaveToRecoveryFile(folder), "");
    EXPECT_EQ(writer.PendingCount(), 0u);
}
