#include "log/LogFileChunks.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kChunk = 1 << 20;
// A line of kLongestLineKept characters and its CR LF is kept whole.
constexpr size_t kKept = kLongestLineKept + 2;

bool Fail(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
    return false;
}

// Hands out whole lines from the chunks it is given, cutting over-long ones.
class LineCutter {
public:
    explicit LineCutter(const std::function<void(std::string_view)>& lines)
        : lines_(lines)
    {}

    void Add(std::string_view chunk)
    {
        // First the end of a line begun in an earlier chunk.
        if (!partial_.empty() || cut_) {
            const void* found = std::memchr(chunk.data(), '\n', chunk.size());
            if (!found) {
                Keep(chunk);
                return;
            }
            const size_t end = static_cast<size_t>(static_cast<const char*>(found) - chunk.data()) + 1;
            Keep(chunk.substr(0, end));
            Finish();
            chunk.remove_prefix(end);
        }
        // Then the whole lines: runs of ordinary lines go out as they stand, without a copy.
        size_t runStart = 0;
        size_t position = 0;
        while (position < chunk.size()) {
            const void* found = std::memchr(chunk.data() + position, '\n', chunk.size() - position);
            if (!found)
                break;
            const size_t end = static_cast<size_t>(static_cast<const char*>(found) - chunk.data()) + 1;
            if (end - position > kKept) {
                if (position > runStart)
                    lines_(chunk.substr(runStart, position - runStart));
                Keep(chunk.substr(position, end - position));
                Finish();
                runStart = end;
            }
            position = end;
        }
        if (position > runStart)
            lines_(chunk.substr(runStart, position - runStart));
        Keep(chunk.substr(position));
    }

    void End()
    {
        if (!partial_.empty() || cut_)
            Finish();
    }

private:
    void Keep(std::string_view piece)
    {
        if (piece.empty())
            return;
        if (piece.size() > 1 || piece.back() != '\n')
            lastByte_ = piece.back() == '\n' ? piece[piece.size() - 2] : piece.back();
        const size_t room = kKept > partial_.size() ? kKept - partial_.size() : 0;
        if (piece.size() > room) {
            partial_.append(piece.substr(0, room));
            cut_ = true;
            sawLineFeed_ = piece.back() == '\n';
            return;
        }
        partial_.append(piece);
    }

    void Finish()
    {
        if (cut_) {
            // The kept part may end inside the line end: drop it and write a fresh one.
            while (!partial_.empty() && (partial_.back() == '\n' || partial_.back() == '\r'))
                partial_.pop_back();
            if (partial_.size() > kLongestLineKept)
                partial_.resize(kLongestLineKept);
            partial_ += "...";
            if (sawLineFeed_)
                partial_ += lastByte_ == '\r' ? "\r\n" : "\n";
        }
        lines_(partial_);
        partial_.clear();
        cut_ = false;
        sawLineFeed_ = false;
    }

    const std::function<void(std::string_view)>& lines_;
    std::string partial_;
    bool cut_ = false;
    bool sawLineFeed_ = false;
    char lastByte_ = 0;
};

} // namespace

bool ReadLogLines(const std::string& path, const std::function<void(std::string_view)>& lines, std::string* error,
                  bool crEndsLine)
{
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Fail(error, std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int why = errno;
        ::close(fd);
        return Fail(error, S_ISREG(st.st_mode) ? std::strerror(why) : "not a regular file");
    }

    std::vector<char> buffer(kChunk);
    LineCutter cutter(lines);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int why = errno;
            ::close(fd);
            return Fail(error, std::strerror(why));
        }
        if (n == 0)
            break;
        if (crEndsLine)
            std::replace(buffer.begin(), buffer.begin() + n, '\r', '\n');
        cutter.Add(std::string_view(buffer.data(), static_cast<size_t>(n)));
    }
    ::close(fd);
    cutter.End();
    return true;
}

bool IsLineShownAs(std::string_view stored, std::string_view shown)
{
    if (stored == shown)
        return true;
    return shown.size() == kLongestLineKept + 3 && shown.substr(kLongestLineKept) == "..."
           && stored.size() > kLongestLineKept
           && stored.substr(0, kLongestLineKept) == shown.substr(0, kLongestLineKept);
}
