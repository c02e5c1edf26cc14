#pragma once
// Pieces every page is made of: text made safe for HTML, times and numbers as the pages show
// them, and the frame around a page's body.

#include <QDate>

#include <optional>

#include <string>
#include <string_view>

// Latin-1 bytes (a log line, a name from the database) as UTF-8 text, escaped for HTML.
std::string HtmlText(std::string_view latin1);
// UTF-8 text escaped for HTML.
std::string HtmlEscape(std::string_view utf8);
// A station's name (Latin-1) for a link's path, percent-encoded.
std::string StationPath(std::string_view latin1);

// "07:12:03" in the server's time zone.
std::string ClockTime(long long msSinceEpoch);
// "57.3" from the database's "57.30"; empty stays empty.
std::string OneDecimal(std::string_view number);

// A whole page: title, the stylesheet and script of the server, `body`. A `live` page follows the
// database by itself (the script asks for its stream of updates); the number is the server's count
// of changes when it was made.
std::string HtmlPage(const std::string& title, const std::string& body,
                     std::optional<unsigned long long> live = std::nullopt);
