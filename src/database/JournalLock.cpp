#include "database/JournalLock.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The journals' locks this process holds, shared by its own instances (a journal drained on the
// side, a test's restarted one): only another process is kept out.
struct HeldLocks {
    std::mutex mutex;
    std::map<std::string, std::pair<int, int>> held; // lock path: descriptor, users
};

HeldLocks& Locks()
{
    static HeldLocks locks;
    return locks;
}

} // namespace

// The descriptor holding `path`'s lock; -1 with `busy` when another process holds it.
int TakeJournalLock(const std::string& path, bool& busy)
{
    busy = false;
    HeldLocks& locks = Locks();
    const std::lock_guard<std::mutex> lock(locks.mutex);
    if (const auto found = locks.held.find(path); found != locks.held.end()) {
        ++found->second.second;
        return found->second.first;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1; // a folder that takes no lock file takes no journal either: told there
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        busy = errno == EWOULDBLOCK;
        ::close(fd);
        return -1;
    }
    locks.held[path] = {fd, 1};
    return fd;
}

void ReleaseJournalLock(const std::string& path)
{
    HeldLocks& locks = Locks();
    const std::lock_guard<std::mutex> lock(locks.mutex);
    const auto found = locks.held.find(path);
    if (found == locks.held.end() || --found->second.second > 0)
        return;
    ::close(found->second.first);
    locks.held.erase(found);
}
