#pragma once
// The notice the plant's pages listen for: each statement that adds or changes lines names the
// stations it touched on one channel, once each, when its transaction commits.

#include <string>
#include <vector>

// The channel `tallion-plant` listens on; a notification's payload is a station's name.
constexpr const char* kPlantNotifyChannel = "tallion_lines";

// The trigger's statements, run by `db init` with the rest of the schema.
std::vector<std::string> PlantNotifyStatements();
