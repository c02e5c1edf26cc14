// Two stations appending to one log while a third deletes rows, as separate processes, until
// each has done enough (however slow a loaded machine makes them): every record is in the file
// once unless it was deleted, and there is one header.

#include "LogFileBytes.h"
#include "LogTestRecords.h"
#include "log/LogFileWriter.h"
#include "log/LogLineDeletion.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using logtest::FileBytes;
using logtest::kHeader;

namespace {

// The stations run until the test has seen enough of each and makes the stop file, or at most
// this long.
constexpr auto kRunAtMost = std::chrono::seconds(90);
constexpr int kRecordsWanted = 1000; // of each writer
constexpr size_t kDeletionsWanted = 100;

bool Stopped(const std::string& stopFile)
{
    return ::access(stopFile.c_str(), F_OK) == 0;
}

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

// A station appending its own numbered records ("W1-1" ...) until it is stopped; the count it
// wrote goes to `countFile`.
[[noreturn]] void RunWriter(const std::string& log, const std::string& name, const std::string& countFile,
                            const std::string& stopFile)
{
    LogFileWriter writer;
    const auto end = std::chrono::steady_clock::now() + kRunAtMost;
    int written = 0;
    while (!Stopped(stopFile) && std::chrono::steady_clock::now() < end) {
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

// The operator deleting random rows until stopped; each deleted line goes to `deletedFile`.
[[noreturn]] void RunDeleter(const std::string& log, const std::string& deletedFile, const std::string& stopFile)
{
    std::mt19937 random(18);
    std::ofstream deleted(deletedFile, std::ios::binary);
    const auto end = std::chrono::steady_clock::now() + kRunAtMost;
    while (!Stopped(stopFile) && std::chrono::steady_clock::now() < end) {
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
    const std::string stop = folder + "/stop";
    const std::function<void()> stations[] = {[&] { RunWriter(log, "W1", folder + "/W1.count", stop); },
                                              [&] { RunWriter(log, "W2", folder + "/W2.count", stop); },
                                              [&] { RunDeleter(log, folder + "/deleted.txt", stop); }};
    std::vector<pid_t> children;
    for (const auto& station : stations) {
        children.push_back(::fork());
        if (children.back() == 0)
            station();
    }
    // Enough of each: a record of each writer numbered beyond the ones wanted (the deleter may have
    // taken any one of them), and the deletions wanted.
    auto enough = [&] {
        std::map<std::string, int> highest;
        for (const std::string& line : LinesOf(FileBytes(log))) {
            const size_t dash = line.find('-');
            if (line.size() > 4 && dash == 3)
                highest[line.substr(1, 2)] = std::max(highest[line.substr(1, 2)], std::atoi(line.c_str() + 4));
        }
        return highest["W1"] >= kRecordsWanted && highest["W2"] >= kRecordsWanted
               && LinesOf(FileBytes(folder + "/deleted.txt")).size() >= kDeletionsWanted;
    };
    const auto deadline = std::chrono::steady_clock::now() + kRunAtMost;
    while (!enough() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ofstream(stop) << "stop";
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
        ASSERT_GE(count, kRecordsWanted) << name << " wrote its records";
        for (int n = 1; n <= count; ++n) {
            const std::string line = "\t" + RecordName(name, n) + "\t\r\n";
            EXPECT_EQ(seen[line], deleted.count(line) ? 0 : 1) << line;
            seen.erase(line);
        }
    }
    EXPECT_TRUE(seen.empty()) << "no other line: " << (seen.empty() ? "" : seen.begin()->first);
    EXPECT_GE(deleted.size(), kDeletionsWanted) << "the deletions did meet the writers";
}
