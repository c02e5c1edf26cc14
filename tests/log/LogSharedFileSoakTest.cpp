// Two stations appending to one log while a third deletes rows, as separate processes for a
// few seconds: every record is in the file once unless it was deleted, and there is one header.

#include "LogFileBytes.h"
#include "LogTestRecords.h"
#include "log/LogFileWriter.h"
#include "log/LogLineDeletion.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using logtest::FileBytes;
using logtest::kHeader;

namespace {

constexpr auto kRunFor = std::chrono::seconds(3);

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    return lines;
}

std::string RecordName(const std::string& writer, int n)
{
    return writer + "-" + std::to_string(n);
}

// A station appending its own numbered records ("W1-1" ...) until the time is up; the
// count it wrote goes to `countFile`.
[[noreturn]] void RunWriter(const std::string& log, const std::string& name, const std::string& countFile)
{
    LogFileWriter writer;
    const auto end = std::chrono::steady_clock::now() + kRunFor;
    int written = 0;
    while (std::chrono::steady_clock::now() < end) {
        CarcassMeasurement record;
        record.kind = 'Z'; // a probe error: its line is TAB, the name, TAB, CR LF
        record.timeDate = RecordName(name, ++written);
        writer.WriteLogRecord(record, log);
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    // Records held back by a busy lock are written before the station ends.
    for (int i = 0; i < 5000 && !writer.RetryPending(log); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::ofstream(countFile) << (writer.PendingCount() == 0 ? written : -1);
    std::_Exit(0);
}

// The operator deleting random rows until the time is up; each deleted line goes to `deletedFile`.
[[noreturn]] void RunDeleter(const std::string& log, const std::string& deletedFile)
{
    std::mt19937 random(18);
    std::ofstream deleted(deletedFile, std::ios::binary);
    const auto end = std::chrono::steady_clock::now() + kRunFor;
    while (std::chrono::steady_clock::now() < end) {
        const std::vector<std::string> lines = LinesOf(FileBytes(log));
        if (lines.size() > 2) {
            const size_t number = 2 + random() % (lines.size() - 1);
            const std::string line = lines[number - 1];
            const LineDeletionResult result =
                DeleteLogLine(log, number, [&line](std::string_view found) { return found == line; });
            if (result.outcome == LineDeletion::Deleted)
                deleted << line << std::flush;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::_Exit(0);
}

} // namespace

TEST(LogSharedFileSoak, TwoWritersAndADeleterLoseNothingAndWriteOneHeader)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string log = folder + "/shared.dif"; // made by whichever writer comes first
    const std::function<void()> stations[] = {[&] { RunWriter(log, "W1", folder + "/W1.count"); },
                                              [&] { RunWriter(log, "W2", folder + "/W2.count"); },
                                              [&] { RunDeleter(log, folder + "/deleted.txt"); }};
    std::vector<pid_t> children;
    for (const auto& station : stations) {
        children.push_back(::fork());
        if (children.back() == 0)
            station();
    }
    for (const pid_t pid : children) {
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::set<std::string> deleted;
    for (const std::string& line : LinesOf(FileBytes(folder + "/deleted.txt")))
        EXPECT_TRUE(deleted.insert(line).second) << "deleted twice: " << line;
    // Every line but the header is one writer's record, there once unless it was deleted.
    const std::string bytes = FileBytes(log);
    EXPECT_TRUE(bytes.starts_with(kHeader));
    std::map<std::string, int> seen;
    for (const std::string& line : LinesOf(bytes))
        ++seen[line];
    EXPECT_EQ(seen[kHeader], 1);
    seen.erase(kHeader);

    for (const std::string name : {"W1", "W2"}) {
        int count = -1;
        std::ifstream(folder + "/" + name + ".count") >> count;
        ASSERT_GT(count, 100) << name << " wrote its records";
        for (int n = 1; n <= count; ++n) {
            const std::string line = "\t" + RecordName(name, n) + "\t\r\n";
            EXPECT_EQ(seen[line], deleted.count(line) ? 0 : 1) << line;
            seen.erase(line);
        }
    }
    EXPECT_TRUE(seen.empty()) << "no other line: " << (seen.empty() ? "" : seen.begin()->first);
    EXPECT_GT(deleted.size(), 20u) << "the deletions did meet the writers";
}
