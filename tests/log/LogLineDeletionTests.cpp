// Deleting one line of a log file: exactly that line, only when it is still there, and never a
// damaged file when writing fails.

#include "FakeLogFileSystem.h"
#include "log/LogLineDeletion.h"

#include "support/TestPaths.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string DataFile(const char* name)
{
    QFile file(TestDataFile(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

class LogLineDeletionTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path.toStdString();
    }
    std::string Read() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    QString path = dir.filePath("shift.dif");
    FakeLogFileSystem fs;
};

auto Is(std::string expected)
{
    return [expected](std::string_view line) { return line == expected; };
}

} // namespace

TEST_F(LogLineDeletionTest, RemovesExactlyTheLineAskedForEvenWhenAnotherHasTheSameTime)
{
    const std::string before = DataFile("delete_before.dif");
    const std::string log = Write(before);
    // Line 4 is the record of 09:30:00 on the second day; line 2 has the same time a day earlier.
    const size_t start = before.find("\t09:30:00  15-03-2024");
    const std::string line = before.substr(start, before.find('\n', start) + 1 - start);

    const LineDeletionResult result = DeleteLogLine(log, 4, Is(line), fs);
    EXPECT_EQ(result.outcome, LineDeletion::Deleted);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(Read(), DataFile("delete_after.dif"));
    EXPECT_EQ(Files(), QStringList{"shift.dif"}) << "no temporary file is left behind";
    EXPECT_EQ(fs.folderSyncs, 1);
}

TEST_F(LogLineDeletionTest, RefusesWhenTheLineIsNotWhereItWas)
{
    const std::string content = "header\r\nfirst\r\nsecond\r\nthird";
    struct Case {
        const char* name;
        size_t lineNumber;
        std::string expected;
    };
    const Case cases[] = {
        {"another line stands there", 3, "first\r\n"},
        {"the header line", 1, "header\r\n"},
        {"beyond the last line", 6, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string log = Write(content);
        EXPECT_EQ(DeleteLogLine(log, c.lineNumber, Is(c.expected), fs).outcome, LineDeletion::NotIdentified);
        EXPECT_EQ(Read(), content);
    }
    // A last line without line end goes, the rest stays.
    EXPECT_EQ(DeleteLogLine(Write(content), 4, Is("third"), fs).outcome, LineDeletion::Deleted);
    EXPECT_EQ(Read(), "header\r\nfirst\r\nsecond\r\n");
}

TEST_F(LogLineDeletionTest, AFailedRewriteLeavesTheLogWhole)
{
    const std::string content = "header\r\nfirst\r\nsecond\r\n";
    struct Case {
        const char* name;
        std::function<void(FakeLogFileSystem&)> fault;
    };
    const Case cases[] = {
        {"disk full", [](FakeLogFileSystem& f) { f.writeBudget = 10; }},
        {"sync fails", [](FakeLogFileSystem& f) { f.syncError = -EIO; }},
        {"rename fails", [](FakeLogFileSystem& f) { f.renameError = -EACCES; }},
        {"folder not writable", [](FakeLogFileSystem& f) { f.createError = -EACCES; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs.Heal();
        fs.renameError = 0;
        const std::string log = Write(content);
        c.fault(fs);
        const LineDeletionResult result = DeleteLogLine(log, 2, Is("first\r\n"), fs);
        EXPECT_EQ(result.outcome, LineDeletion::Failed);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(Read(), content);
        EXPECT_EQ(Files(), QStringList{"shift.dif"});
    }
    // The line is gone once the rename is done, even if the folder cannot be synced: say so.
    fs.Heal();
    fs.renameError = 0;
    fs.folderSyncError = -EIO;
    const LineDeletionResult result = DeleteLogLine(Write(content), 2, Is("first\r\n"), fs);
    EXPECT_EQ(result.outcome, LineDeletion::Deleted);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(Read(), "header\r\nsecond\r\n");
}
