#pragma once
// The station's tables in the plant database, versioned: each version's statements run once,
// in order, in one transaction that holds an advisory lock, so stations starting together (or
// `tallion db init` beside them) never collide.

#include "database/PgConnection.h"

// The version this program creates and expects.
constexpr int kSchemaVersion = 1;

// Creates or upgrades the schema to kSchemaVersion; nothing happens when it is there already.
DatabaseResult CreateOrUpgradeSchema(PgConnection& connection);

// The schema's version as the database has it; 0 when it has none. The station's role may read
// it without any right to create tables.
DatabaseResult SchemaVersion(PgConnection& connection, int& version);
