#include "log/LogLineDeletion.h"

#include "log/FileModes.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

// Another station holds the lock for the milliseconds of one append; the operator's deletion
// waits that long rather than refusing, but never long enough to starve the receive tick.
constexpr auto kLockWait = std::chrono::milliseconds(500);
constexpr auto kLockPoll = std::chrono::milliseconds(5);

// Start and end (after its LF, or the end of the text) of line `lineNumber`; false when the
// text has fewer lines.
bool FindLine(std::string_view text, size_t lineNumber, size_t& start, size_t& end)
{
    start = 0;
    for (size_t line = 1; line < lineNumber; ++line) {
        const size_t lineFeed = text.find('\n', start);
        if (lineFeed == std::string_view::npos)
            return false;
        start = lineFeed + 1;
    }
    if (start >= text.size())
        return false;
    const size_t lineFeed = text.find('\n', start);
    end = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
    return true;
}

std::string_view WithoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

int WriteAll(LogFileSystem& fs, int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const long long n = fs.Write(fd, bytes.data(), bytes.size());
        if (n < 0)
            return static_cast<int>(n);
        if (n == 0)
            return -EIO;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

// The whole file behind `fd` (`size` bytes long); 0 or -errno.
int ReadAll(LogFileSystem& fs, int fd, long long size, std::string& text)
{
    text.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < text.size()) {
        const long long n = fs.ReadAt(fd, text.data() + done, text.size() - done, static_cast<long long>(done));
        if (n < 0)
            return static_cast<int>(n);
        if (n == 0)
            break; // shorter than fstat said: take what is there
        done += static_cast<size_t>(n);
    }
    text.resize(done);
    return 0;
}

// A new file beside `path` that no one else uses; its descriptor, or -errno.
int CreateTemporary(LogFileSystem& fs, const std::string& path, std::string& temporary)
{
    const std::filesystem::path target(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = (target.parent_path()
                     / ("." + target.filename().string() + ".deleting-" + std::to_string(::getpid()) + "-"
                        + std::to_string(attempt)))
                        .string();
        const int fd = fs.Open(temporary, O_WRONLY | O_CREAT | O_EXCL);
        if (fd != -EEXIST)
            return fd;
    }
    return -EEXIST;
}

int LockWithin(LogFileSystem& fs, const std::string& path)
{
    const auto until = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        bool created = false;
        const int fd = OpenAndLockLog(fs, path, false, created);
        if (fd != kLockBusy || std::chrono::steady_clock::now() >= until)
            return fd;
        std::this_thread::sleep_for(kLockPoll);
    }
}

} // namespace

LineDeletionResult DeleteLogLine(const std::string& path, size_t lineNumber,
                                 const std::function<bool(std::string_view)>& isTheLine, LogFileSystem& fs,
                                 LogChangeObserver* observer)
{
    LineDeletionResult result;
    const std::string target = LinkTarget(path);
    const int fd = LockWithin(fs, target);
    if (fd < 0) {
        result.error = LogErrorText(fd);
        return result;
    }
    std::string temporary;
    int temporaryFd = -1;
    // Every way out closes what is open; closing the log's descriptor releases the lock.
    auto finish = [&](LineDeletionResult r) {
        if (temporaryFd >= 0)
            fs.Close(temporaryFd);
        fs.Close(fd);
        return r;
    };
    auto fail = [&](int error) {
        if (temporaryFd >= 0) {
            fs.Close(temporaryFd);
            temporaryFd = -1;
        }
        if (!temporary.empty())
            fs.Remove(temporary);
        LineDeletionResult r;
        r.error = LogErrorText(error);
        return finish(r);
    };

    LogFileFacts facts;
    if (const int statted = fs.Stat(fd, facts); statted != 0)
        return fail(statted);
    std::string text;
    if (const int read = ReadAll(fs, fd, facts.size, text); read != 0)
        return fail(read);
    size_t start = 0;
    size_t end = 0;
    if (lineNumber < 2 || !FindLine(text, lineNumber, start, end)
        || !isTheLine(std::string_view(text).substr(start, end - start))) {
        result.outcome = LineDeletion::NotIdentified;
        return finish(result);
    }

    temporaryFd = CreateTemporary(fs, target, temporary);
    if (temporaryFd < 0) {
        const int error = temporaryFd;
        temporary.clear();
        return fail(error);
    }
    const std::string_view all(text);
    int error = fs.TakeModeAndOwner(temporaryFd, facts);
    if (error == 0)
        error = WriteAll(fs, temporaryFd, all.substr(0, start));
    if (error == 0)
        error = WriteAll(fs, temporaryFd, all.substr(end));
    if (error == 0)
        error = fs.DataSync(temporaryFd);
    // The new file is locked before it takes the name, so a station that opens it at once
    // waits until this change is complete.
    if (error == 0)
        error = fs.TryLock(temporaryFd);
    if (error == 0)
        error = fs.Rename(temporary, target);
    if (error != 0)
        return fail(error);

    result.outcome = LineDeletion::Deleted;
    if (const int synced = fs.SyncFolder(FolderOf(target)); synced != 0)
        result.error = LogErrorText(synced);
    if (observer)
        observer->LineDeleted(path, lineNumber, std::string(WithoutLineEnd(all.substr(start, end - start))));
    return finish(result);
}
