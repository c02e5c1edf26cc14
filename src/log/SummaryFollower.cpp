#include "log/SummaryFollower.h"

#include "log/SummaryStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// More new bytes than a burst of records brings: reading them all at once inside the tick is no
// cheaper than counting afresh.
constexpr long long kMostNewBytes = 1 << 20;

} // namespace

bool SummaryFollower::Start(const std::string& path, SummaryMode mode, std::string* error)
{
    Stop();
    struct stat info {};
    const long long size = ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
    std::optional<ClassSummaryTally> tally = StreamClassSummaryTally(path, mode, error);
    if (!tally)
        return false;
    path_ = path;
    mode_ = mode;
    countedTo_ = size;
    tally_ = std::move(tally);
    return true;
}

std::optional<std::string> SummaryFollower::Follow()
{
    if (!tally_)
        return std::nullopt;
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> added;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= countedTo_
        && info.st_size - countedTo_ <= kMostNewBytes) {
        std::string bytes(static_cast<size_t>(info.st_size - countedTo_), '\0');
        if (::pread(fd, bytes.data(), bytes.size(), countedTo_) == static_cast<ssize_t>(bytes.size())) {
            // A line still being written by another station is counted with the next refresh.
            const size_t end = bytes.rfind('\n');
            bytes.resize(end == std::string::npos ? 0 : end + 1);
            countedTo_ += static_cast<long long>(bytes.size());
            tally_->AddLines(bytes);
            added = std::move(bytes);
        }
    }
    ::close(fd);
    return added;
}

bool SummaryFollower::Follows(const std::string& path, SummaryMode mode) const
{
    return tally_ && path == path_ && mode == mode_;
}

void SummaryFollower::Stop()
{
    tally_.reset();
    path_.clear();
    countedTo_ = 0;
}

std::string SummaryFollower::Body() const
{
    return tally_ ? tally_->Body() : ClassSummaryTally(mode_).Body();
}
