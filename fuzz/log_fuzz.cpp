// Reads arbitrary log text back as the log viewer does, and stores records made of arbitrary
// values as the log writer does.
//
// Input: a log text. Each of its lines (up to and including LF) is read as a stored line; the
// text's pieces between bytes 0xFF also fill the fields of a record of each kind.
//
// Checks: a stored line's value n is what lies between its n-th and (n+1)-th TAB, read alike
// one value at a time and all at once; a line's kind follows its first character; every template
// reads any line back as one display line; a record of any values is stored
// as one line of its kind's number of values that reads back as one display line and, where
// the columns agree, as it was shown.

#include "FuzzInput.h"
#include "LogLineChecks.h"

#include "log/StoredLine.h"

#include <array>
#include <vector>

using fuzz::Check;

namespace {

// The line's values as a plain split: value n is followed by TAB number n.
std::vector<std::string> TabbedValues(const std::string& line)
{
    std::vector<std::string> values;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        values.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    return values;
}

void ReadStoredLine(const std::string& line)
{
    const std::vector<std::string> values = TabbedValues(line);
    for (int n = -1; n <= 45; ++n) {
        const std::string expected =
            n >= 0 && static_cast<std::size_t>(n) < values.size() ? values[static_cast<std::size_t>(n)] : std::string();
        Check(LogField(n, line) == expected, "a stored value lies between its TABs", line);
    }
    StoredFields fields;
    SplitStoredLine(line, fields);
    for (int n = 0; n < kStoredColumns; ++n)
        Check(fields[static_cast<std::size_t>(n)] == LogField(n, line), "a split line's values are LogField's", line);

    const StoredLineKind kind = KindOfStoredLine(line);
    Check((kind == StoredLineKind::Empty) == (line.empty() || line[0] == '\r'), "an empty line starts with CR", line);
    // A probing error is logged as one value between two TABs.
    const bool betweenTabs = kind == StoredLineKind::Message && !line.empty() && line[0] == '\t';
    Check((kind == StoredLineKind::Message && !betweenTabs) == (!line.empty() && line[0] != '\r' && line[0] != '\t'),
          "a message line starts with its value", line);
    if (kind == StoredLineKind::Message) {
        const std::string_view message = MessageOfStoredLine(line);
        const std::string_view from = betweenTabs ? std::string_view(line).substr(1) : std::string_view(line);
        Check(from.starts_with(message) && message.find('\t') == std::string_view::npos && !message.ends_with('\n'),
              "a message is the line's first value", line);
        if (betweenTabs) {
            Check(!message.empty() && from.size() > message.size() && from[message.size()] == '\t'
                      && WithoutLineEndView(from.substr(message.size() + 1)).empty(),
                  "a probing error is one value between two TABs", line);
        }
    }

    for (int t = 0; t <= 11; ++t) {
        const std::string shown = ReadDisplayLine(line, t);
        Check(shown.ends_with("\r\n"), "a reloaded line ends in CR LF", shown);
        // The line holds no LF but its last character, so neither do its values.
        Check(fuzz::Count(shown, '\n') == 1, "a reloaded line adds no line of its own", shown);
        Check((t >= 1 && t <= 10) || shown == "\r\n", "a template outside 1 to 10 shows nothing", shown);
    }
}

// Fills every field of a record in turn from `values` (cycling), so each kind meets any text.
// Values are cut to a realistic length: what matters is their bytes, and 38 long values to a
// record would slow the fuzzer down to a crawl.
void StoreRecords(const std::vector<std::string>& values)
{
    auto next = [&values, i = std::size_t{0}]() mutable { return values[i++ % values.size()].substr(0, 40); };
    // One kind of each line layout: result, long result, "Z", "C" and none.
    for (const char kind : {'E', 'L', 'Z', 'C', 'A'}) {
        CarcassMeasurement r;
        r.kind = kind;
        // clang-format off
        for (std::string* field : {&r.timeDate, &r.carcassType, &r.carcassCount, &r.fat1, &r.fat2, &r.meat, &r.meat1,
                                   &r.meat1Indicator, &r.intrafat, &r.intrafat1, &r.thickness1, &r.distance1,
                                   &r.thickness2, &r.distance2, &r.meatPercent, &r.indicator, &r.carcassClass,
                                   &r.colour1, &r.colour2, &r.colourNumber, &r.minColour1, &r.minColour2,
                                   &r.colourVariation1, &r.colourVariation2, &r.pse, &r.rz7Colour1, &r.rz7Colour2,
                                   &r.rz7ColourGrade, &r.rz7Marble1, &r.rz7Marble2, &r.rz7MarbleGrade,
                                   &r.rz7PseNumber, &r.rz7PseIndicator, &r.rz7Tender, &r.rz7TenderGrade, &r.weight,
                                   &r.comment, &r.serialNumber})
            *field = next();
        // clang-format on
        fuzz::CheckStoredRecord(r);
        r.alertText = next();
        fuzz::CheckStoredRecord(r);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lineFeed = text.find('\n', start);
        const std::size_t end = lineFeed == std::string::npos ? text.size() : lineFeed + 1;
        ReadStoredLine(text.substr(start, end - start));
        start = end;
    }
    const std::vector<std::string> pieces = fuzz::SplitPieces(data, size);
    if (pieces.size() > 1)
        StoreRecords(pieces);
    return 0;
}
