#pragma once
// A plant database in memory, with the real one's rules: a line resent is stored once, a
// deletion keeps its first time. The test keeps the shared state and can make the server
// refuse or go away.

#include "database/PlantDatabase.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>

struct FakeDatabaseState {
    struct Row {
        std::string line;
        std::optional<std::int64_t> deletedAtMs;
    };
    std::mutex mutex;
    std::map<std::tuple<std::string, std::int64_t, std::int64_t>, Row> rows; // station, journal, seq
    DatabaseResult refusal;                                                  // not ok: every call answers this
    bool connectAnyway = false; // the refusal comes with the lines, not with the connection
    int publishes = 0;
    std::map<std::int64_t, std::string> journalLogs; // the log each journal was sent for
    std::string refusedStation;                      // lines sent under this name are another station's for this role

    void Refuse(DatabaseResult result)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        refusal = std::move(result);
    }
    // "station seq line deleted" per row, in key order.
    std::string Rows()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        std::string text;
        for (const auto& [key, row] : rows)
            text += std::get<0>(key) + " " + std::to_string(std::get<2>(key)) + " " + row.line
                    + (row.deletedAtMs ? " deleted\n" : "\n");
        return text;
    }
};

class FakePlantDatabase : public PlantDatabase {
public:
    explicit FakePlantDatabase(std::shared_ptr<FakeDatabaseState> state)
        : state_(std::move(state))
    {}
    DatabaseResult Connect() override
    {
        const std::lock_guard<std::mutex> lock(state_->mutex);
        connected_ = state_->refusal.ok() || state_->connectAnyway;
        return connected_ ? DatabaseResult{} : state_->refusal;
    }
    bool Connected() const override { return connected_; }
    void Disconnect() override { connected_ = false; }
    void Interrupt() override {}
    DatabaseResult Publish(const std::string& station, const OutboxBatch& batch) override
    {
        const std::lock_guard<std::mutex> lock(state_->mutex);
        ++state_->publishes;
        if (!state_->refusal.ok())
            return state_->refusal;
        if (station == state_->refusedStation)
            return {DatabaseFault::WrongStation, "The database role sends the lines of another station"};
        state_->journalLogs[batch.journal] = batch.logPath;
        for (const OutboxLine& l : batch.lines)
            state_->rows.emplace(std::make_tuple(station, batch.journal, l.seq),
                                 FakeDatabaseState::Row{l.line, std::nullopt});
        for (const OutboxDeletion& d : batch.deletions) {
            auto row = state_->rows.find(std::make_tuple(station, d.journal ? d.journal : batch.journal, d.lineSeq));
            if (row != state_->rows.end() && !row->second.deletedAtMs)
                row->second.deletedAtMs = d.deletedAtMs;
        }
        return {};
    }
    DatabaseResult LogRows(const std::string&, const std::string& logPath, std::vector<ServerLine>& rows) override
    {
        const std::lock_guard<std::mutex> lock(state_->mutex);
        if (!state_->refusal.ok())
            return state_->refusal;
        for (const auto& [key, row] : state_->rows)
            if (state_->journalLogs[std::get<1>(key)] == logPath)
                rows.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key), LogLineMap::HashOf(row.line),
                                row.deletedAtMs.has_value()});
        return {};
    }

private:
    std::shared_ptr<FakeDatabaseState> state_;
    bool connected_ = false;
};
