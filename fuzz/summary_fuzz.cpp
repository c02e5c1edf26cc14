// Builds the class summary of arbitrary log text, as the summary command and the station do.
//
// Input: the log text (header line first).
//
// Checks: the summary is its six class lines, an empty line and the total line, each cell its
// width or empty; it reads each line's meat %, class and weight exactly as the log's value reader
// does: a log holding nothing but those three values of every result line (and no TAB-less
// line) gives the same summary; and it reads their numbers as the station's number reader does:
// the same log with every number written with sixteen leading zeros gives the same summary too.

#include "FuzzInput.h"

#include "log/ClassSummary.h"
#include "log/LogFileText.h"
#include "log/StoredLine.h"

using fuzz::Check;

namespace {

// The values the summary reads: meat %, class and weight.
constexpr int kMeatPercentColumn = 13;
constexpr int kClassColumn = 15;
constexpr int kWeightColumn = 36;

// A number text that the station reads as the same value, through its long-number path: sixteen
// zeros after the leading spaces and sign.
std::string LongForm(std::string_view value)
{
    std::size_t i = 0;
    while (i < value.size() && value[i] == ' ')
        ++i;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        ++i;
    return std::string(value.substr(0, i)) + std::string(16, '0') + std::string(value.substr(i));
}

// The log with each result line cut down to the three values the summary reads (as LogField
// reads them), and every other record line replaced by a plain message line.
std::string ReadValuesOnly(std::string_view log, bool longNumbers)
{
    std::string out(log.substr(0, FirstRecordLine(log)));
    ForEachRecordLine(log, [&](size_t, std::string_view line) {
        if (line.empty() || line[0] != '\t') {
            out += "x\r\n";
            return;
        }
        StoredFields fields;
        SplitStoredLine(line, fields);
        for (int column = 0; column <= kWeightColumn; ++column) {
            const std::string_view value = fields[static_cast<std::size_t>(column)];
            if (column == kClassColumn)
                out += value;
            else if (column == kMeatPercentColumn || column == kWeightColumn)
                out += longNumbers ? LongForm(value) : std::string(value);
            out += '\t';
        }
        out += "\r\n";
    });
    return out;
}

void CheckShape(const std::string& body)
{
    Check(body.ends_with("\r\n") && fuzz::Count(body, '\n') == 8, "six class lines, an empty line and the total", body);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string log(reinterpret_cast<const char*>(data), size);
    for (const SummaryMode mode : {SummaryMode::WithoutWeight, SummaryMode::WithWeight}) {
        const std::string body = BuildClassSummaryText(log, mode);
        CheckShape(body);
        Check(BuildClassSummaryText(ReadValuesOnly(log, false), mode) == body,
              "the summary reads the values the log's reader reads", body);
        Check(BuildClassSummaryText(ReadValuesOnly(log, true), mode) == body,
              "the summary reads numbers as the station's number reader does", body);
    }
    return 0;
}
