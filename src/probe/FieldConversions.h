#pragma once
// Conversions from fixed positions of a probe message to the texts kept in a measurement.
// Positions count from 1 (the type letter) and ranges are inclusive. A numeric range that does
// not hold a whole number (letters, only spaces, or cut short by the end of the message) gives
// an empty text, so a garbled message never turns into a plausible-looking value.

#include <QDate>

#include <optional>
#include <string>

namespace ProbeFields {

// The number held by positions first..last: spaces around it and a sign are allowed, nothing
// else. No value when the range is not wholly inside the message.
std::optional<long long> ReadNumber(const std::string& message, int first, int last);

// The characters as sent; fewer or none where the message is shorter.
std::string Text(const std::string& message, int first, int last);

// A value sent in tenths: right-aligned to four characters, then "." before the last one
// ("0005" gives "   .5", "-012" gives " -1.2").
std::string Tenths(const std::string& message, int first, int last);

// The lean meat percentage: as Tenths but aligned to three characters; 0 gives "__._".
std::string Percent(const std::string& message, int first, int last);

// Leading spaces for a result of 1, 2 or 3 characters; longer results get none.
enum class FillRule {
    A, // 4, 2, 0
    B, // 2, 1, 0
    C, // 3, 2, 1
};
std::string Integer(const std::string& message, int first, int last, FillRule rule);

// A depth with its indicator character: Tenths, one space, the character at `mark`.
std::string Marked(const std::string& message, int first, int last, int mark);

// The whole number without any fill ("0123" gives "123").
std::string Whole(const std::string& message, int first, int last);

// Tenderness in tenths with a leading zero below 1 ("0007" gives "0.7", "0125" gives "12.5").
std::string Tender(const std::string& message, int first, int last);

// "hh:mm:ss  dd-mm-yyyy" from six characters hhmmss at `first` and the station's date. Empty
// when the six characters are not all there, so the caller keeps the station's time.
std::string ProbeTime(const std::string& message, int first, const QDate& stationDate);

// "hh:mm:ss  dd-mm-ccyy" from the probe's clock, twelve characters yymmddhhmmss at `first`;
// the century cc is the station's. Empty when the twelve characters are not all there.
std::string ProbeDateTime(const std::string& message, int first, const QDate& stationDate);

} // namespace ProbeFields
