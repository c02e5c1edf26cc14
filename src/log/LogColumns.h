#pragma once
// The result log's columns: where each value of a line stands and the title the header line
// gives it. Everything that writes or reads the log (the record lines, the class summary, the
// chart counts, the viewer, the database's typed view) takes its positions from here.

#include <string>
#include <vector>

// Value n of a line lies between TAB n - 1 and TAB n (value 0 before the first TAB). A result
// line starts with a TAB; a single or double site result has its comment at RZ7 Tender's place.
namespace LogColumn {
constexpr int Error = 0; // the text of a message line; empty in a result line
constexpr int TimeDate = 1;
constexpr int Kind = 2; // "Single Site", "Double Site, RZ7", ...
constexpr int CarcassType = 3;
constexpr int CarcassCount = 4;
constexpr int Fat1 = 5;
constexpr int Fat2 = 6;
constexpr int Meat = 7;
constexpr int Intrafat = 8;
constexpr int Thickness1 = 9;
constexpr int Distance1 = 10;
constexpr int Thickness2 = 11;
constexpr int Distance2 = 12;
constexpr int MeatPercent = 13;
constexpr int Indicator = 14;
constexpr int Class = 15;
constexpr int Colour1 = 16;
constexpr int Colour2 = 17;
constexpr int ColourNumber = 18;
constexpr int MinColour1 = 19;
constexpr int MinColour2 = 20;
constexpr int ColourVariation1 = 21;
constexpr int ColourVariation2 = 22;
constexpr int Pse = 23;
constexpr int Meat1 = 24;
constexpr int Meat1Indicator = 25;
constexpr int Intrafat1 = 26;
constexpr int Rz7Colour1 = 27;
constexpr int Rz7Colour2 = 28;
constexpr int Rz7ColourGrade = 29;
constexpr int Rz7Marble1 = 30;
constexpr int Rz7Marble2 = 31;
constexpr int Rz7MarbleGrade = 32;
constexpr int Rz7PseNumber = 33;
constexpr int Rz7PseIndicator = 34;
constexpr int Rz7SerialNumber = 35;
constexpr int Weight = 36;
constexpr int Rz7Tender = 37;
constexpr int Rz7TenderGrade = 38;
constexpr int Comment = 39;

constexpr int Count = 40;
} // namespace LogColumn

// The header line's title of every column, in order (LogColumn::Count of them).
std::vector<std::string> LogColumnTitles();
