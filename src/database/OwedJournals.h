#pragma once
// The journals whose lines this station still owes the server, kept in the station's own folder
// (not beside a log, which may be gone or another station's): a log changed, or StationName
// changed, while lines waited, and the station restarted before it met the old journal again.
// Each is drained under the name its lines were logged with. A pair of lines an entry: the
// station's name, then the log's path, each escaped as the journal escapes a line.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct OwedJournal {
    std::string station;
    std::string logPath;
    bool operator==(const OwedJournal&) const = default;
};

class OwedJournals {
public:
    // No list is kept for an empty path.
    explicit OwedJournals(std::string path);

    std::vector<OwedJournal> Read() const;
    // Durable before they return; false when the list cannot be written (the entry is then
    // missing after a restart only if the journal itself was not met again).
    bool Add(const OwedJournal& journal);
    bool Remove(const OwedJournal& journal);

    // Beside the received-message journal of the settings file `settingsFile`.
    static std::string PathFor(const std::string& folder, const std::string& settingsFile);

private:
    bool Write(const std::vector<OwedJournal>& journals);

    std::string path_;
    mutable std::mutex mutex_;
};
