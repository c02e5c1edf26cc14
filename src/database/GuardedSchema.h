#pragma once
// The statements of schema version 2: the lines move into the schema `tallion`, stations write
// only through functions that map their login role to their station, and every line carries its
// typed values (computed by the server as the line is stored) for the view
// `tallion.carcass_results`.

#include <string>
#include <vector>

// Version 2's statements, one statement each, in order; they upgrade a version-1 database with
// its lines and deletions in place.
std::vector<std::string> GuardedSchemaStatements();

// The 0-based column of the result log whose header title is `title`; -1 when the header has
// none. The typed columns take their positions from here, so they follow the log's own header.
int LogColumnTitled(const std::string& title);
