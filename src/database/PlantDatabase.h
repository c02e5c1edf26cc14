#pragma once
// The plant database as the station's publisher sees it: connect (creating or upgrading the
// schema where the role may), put a batch of the journal's events in, mark lines deleted. A
// batch is one transaction, and sending it again changes nothing: lines are keyed by station,
// journal and sequence number, and a deletion keeps the first time it was marked.

#include "database/LogReconciliation.h"

#include <cstdint>
#include <string>
#include <vector>

struct OutboxLine {
    std::int64_t seq = 0;
    std::int64_t loggedAtMs = 0; // ms since 1970 UTC, the station's clock at the append
    std::string line;            // the log line's bytes, without its line end
};

struct OutboxDeletion {
    std::int64_t lineSeq = 0;     // the sequence number of the line deleted
    std::int64_t deletedAtMs = 0; // ms since 1970 UTC
    std::int64_t journal = 0;     // the journal that numbered the line; 0: the batch's
};

// Events of one journal, in the journal's order: every line before any deletion of it.
struct OutboxBatch {
    std::int64_t journal = 0;
    std::vector<OutboxLine> lines;
    std::vector<OutboxDeletion> deletions;
    std::int64_t lastEvent = 0; // the journal's number of the batch's last event
    std::string station;        // the name its lines were logged with, when not the station's own now
    std::string logPath;        // the log the journal belongs to, recorded with the server
};

enum class DatabaseFault {
    None,
    Unreachable,    // no server at that address, or the link went away
    Authentication, // wrong or missing password, unknown role
    UnknownHost,
    NoSchema, // the tables are missing and this role may not create them
    NoRights, // the role may not insert or mark lines
    Other,
    ConnectionSetting, // the connection string cannot be read, or holds a password
    Tls,               // the TLS link could not be made (sslmode, certificates)
    NewerSchema,       // the tables are of a version this station does not know
    WrongStation,      // the role sends the lines of another station
    Conflict,          // a line's number is held by another line
    NotAnswering,      // the server took the connection but answers nothing (stopped, frozen)
};

struct DatabaseResult {
    DatabaseFault fault = DatabaseFault::None;
    std::string message; // for the operator; empty when all went well
    bool ok() const { return fault == DatabaseFault::None; }
};

class PlantDatabase {
public:
    virtual ~PlantDatabase() = default;
    // Connects and makes sure the schema is there (creating or upgrading it when the role may).
    virtual DatabaseResult Connect() = 0;
    virtual bool Connected() const = 0;
    virtual void Disconnect() = 0;
    // One transaction: the lines (a line already there with the same text is left alone; with
    // another text it is a Conflict), then the deletions.
    virtual DatabaseResult Publish(const std::string& station, const OutboxBatch& batch) = 0;
    // Every row of the journals registered for the log at `logPath`: this station's (`station`)
    // by that path, another station's by the log's file name (the share may be mounted elsewhere
    // there); in the order they were logged.
    virtual DatabaseResult LogRows(const std::string& station, const std::string& logPath,
                                   std::vector<ServerLine>& rows) = 0;
    // From any thread: ends a call that waits on the server (a stuck lock, a silent network).
    virtual void Interrupt() = 0;
};
