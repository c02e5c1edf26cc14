#include "log/FileModes.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

// Linux reports the umask without changing it; elsewhere it is set and set back, which is safe
// only because this runs while the program starts, before any thread exists.
mode_t ReadUmask()
{
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            unsigned mask = 0;
            if (std::sscanf(line, "Umask: %o", &mask) == 1) {
                std::fclose(status);
                return static_cast<mode_t>(mask & 0777);
            }
        }
        std::fclose(status);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

const mode_t startUpUmask = ReadUmask();

} // namespace

mode_t StartUpUmask()
{
    return startUpUmask;
}

mode_t ModeForReplacement(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    return 0666 & ~StartUpUmask();
}

std::string LinkTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}
