#include "database/LogReconciliation.h"

#include <deque>
#include <unordered_map>

Reconciliation ReconcileLog(const std::vector<std::uint64_t>& logLines, const std::vector<ServerLine>& server,
                            const std::string& station, const std::vector<WaitingLine>& waiting)
{
    std::unordered_map<std::uint64_t, std::deque<JournalRow>> own;
    std::unordered_map<std::uint64_t, size_t> others;
    for (const ServerLine& s : server) {
        if (s.station != station)
            ++others[s.hash]; // held, deleted or not: never sent again as this station's
        else if (!s.deleted)
            own[s.hash].push_back({s.journal, s.seq});
    }
    for (const WaitingLine& w : waiting)
        own[w.hash].push_back(w.row);

    Reconciliation result;
    result.rows.resize(logLines.size());
    for (size_t i = 0; i < logLines.size(); ++i) {
        if (const auto it = own.find(logLines[i]); it != own.end() && !it->second.empty()) {
            result.rows[i] = it->second.front();
            it->second.pop_front();
        } else if (const auto other = others.find(logLines[i]); other != others.end() && other->second > 0) {
            --other->second;
        } else {
            result.missing.push_back(i);
        }
    }
    for (const auto& [line, rows] : own)
        result.gone.insert(result.gone.end(), rows.begin(), rows.end());
    return result;
}

bool ReadRecordLines(const std::string& logPath, long long size, const std::vector<size_t>& wanted,
                     std::vector<std::string>& lines)
{
    size_t index = 0;
    auto next = wanted.begin();
    return ForEachRecordLine(logPath, 0, size, [&](const std::string& line, long long) {
        if (next != wanted.end() && *next == index) {
            lines.push_back(line);
            ++next;
        }
        ++index;
        return next != wanted.end();
    });
}
