#pragma once
// The plant database on a PostgreSQL server, through libpq.

#include "database/PgConnection.h"
#include "database/PlantDatabase.h"

#include <string>

class PgPlantDatabase : public PlantDatabase {
public:
    // `conninfo`: a libpq connection string or URI, as the `[Database]` `Connection` setting holds it;
    // `passwordAllowed` false refuses one that holds a password.
    explicit PgPlantDatabase(const std::string& conninfo, bool passwordAllowed = true);

    DatabaseResult Connect() override;
    bool Connected() const override;
    void Disconnect() override;
    DatabaseResult Publish(const std::string& station, const OutboxBatch& batch) override;
    DatabaseResult LogRows(const std::string& station, const std::string& logPath,
                           std::vector<ServerLine>& rows) override;
    void Interrupt() override;

    // How long a statement may wait for the server before it counts as not answering.
    void SetAnswerDeadline(std::chrono::milliseconds deadline) { connection_.deadline = deadline; }

private:
    DatabaseResult Send(const std::string& station, const OutboxBatch& batch);
    PgConnection connection_;
};

// The text of a PostgreSQL array literal holding `items`, each quoted, to be bound as one
// parameter. A NUL byte, which no text value may hold, becomes SUB (26).
std::string ArrayLiteral(const std::vector<std::string>& items);
