#pragma once
// The station's tables in the plant database, versioned: each version's statements run once,
// in order, in one transaction that holds an advisory lock, so stations starting together (or
// `tallion db init` beside them) never collide.
//
// Since version 2 everything lives in the schema `tallion`: the lines, the roles' stations, and
// the functions through which alone a station's role writes (each maps the login role to its
// station, so no station can touch another's rows). `public.tallion_schema` keeps the version
// so that stations of version 1 see a newer schema and leave it alone.

#include "database/PgConnection.h"

#include <string>

// The version this program creates and expects.
constexpr int kSchemaVersion = 3;

// Creates or upgrades the schema to kSchemaVersion; nothing happens when it is there already.
// Refuses a database whose encoding cannot hold Latin-1 text and a schema newer than this one.
DatabaseResult CreateOrUpgradeSchema(PgConnection& connection);

// The schema's version as the database has it; 0 when it has none. The station's role may read
// it without any right to create tables.
DatabaseResult SchemaVersion(PgConnection& connection, int& version);

// The fault of a schema newer than this program knows.
DatabaseResult NewerSchemaFault(int version);

// Maps an existing login role to one station and lets it call the station's functions.
DatabaseResult AddStation(PgConnection& connection, const std::string& station, const std::string& role);
