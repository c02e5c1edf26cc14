#pragma once
// A station's day as CSV (RFC 4180): comma-separated, CR LF, '.' as the decimal mark, UTF-8, a
// header row, the typed columns, and when the line was deleted (empty while it is not).

#include "plant/PlantReader.h"

#include <string>
#include <string_view>

std::string CsvHeader();
// One record with its CR LF; `station` and the line's text are Latin-1.
std::string CsvRecord(std::string_view station, const PlantLine& line);
