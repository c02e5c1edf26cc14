#include "log/ClassSummary.h"

#include "log/LogFileText.h"
#include "log/SummaryStream.h"
#include "probe/TextNumber.h"
#include "resources/StringTable.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::string_view kClasses = "SEUROP";
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kCellWidth = 11;

// Columns read by the summary.
constexpr int kMeatPercentColumn = 13;
constexpr int kClassColumn = 15;
constexpr int kWeightColumn = 36;

// Values 13, 15 and 36 of a stored line, as LogField reads them (empty unless a TAB closes them).
struct SummaryFields {
    bool isRecord = false; // the class column is there: a result, not a cancel or a probe error
    std::string_view meatPercent;
    std::string_view carcassClass;
    std::string_view weight;
};

// The most TABs of a line that are looked at: the one that closes the weight.
constexpr unsigned kTabsNeeded = kWeightColumn + 1;

// 0x80 in every byte of `word` that equals `c`, 0 elsewhere.
constexpr std::uint64_t BytesEqual(std::uint64_t word, unsigned char c)
{
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t t = word ^ (0x0101010101010101ULL * c);
    return ~(((t & kLow7) + kLow7) | t | kLow7);
}

// True when TABs number `from` to `to` - 1 (from 0) include one that bounds a value read here.
constexpr bool HoldsReadTabs(unsigned from, unsigned to)
{
    auto overlaps = [&](int column) {
        return from <= static_cast<unsigned>(column) && to > static_cast<unsigned>(column - 1);
    };
    return overlaps(kMeatPercentColumn) || overlaps(kClassColumn) || overlaps(kWeightColumn);
}

// How many bytes BytesEqual marked (a multiply instead of a popcount, which the baseline
// x86-64 instruction set does not have).
constexpr unsigned MarkedBytes(std::uint64_t marks)
{
    return static_cast<unsigned>(((marks >> 7) * 0x0101010101010101ULL) >> 56);
}

// Reads the line that starts at `line` and returns where the next one starts. This runs over
// every byte of a log of a million lines, so it looks at eight bytes at a time and stops
// counting TABs at the one that closes the weight.
const char* ScanLine(const char* line, const char* end, SummaryFields& f)
{
    unsigned tabs[kTabsNeeded];
    unsigned count = 0;
    const char* p = line;
    const char* lineEnd = nullptr;
    if constexpr (std::endian::native == std::endian::little) {
        while (count < kTabsNeeded && end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t lineFeed = BytesEqual(word, '\n');
            std::uint64_t tab = BytesEqual(word, '\t');
            if (lineFeed != 0)
                tab &= (lineFeed & (~lineFeed + 1)) - 1; // only the TABs before the LF
            const unsigned found = MarkedBytes(tab);
            if (HoldsReadTabs(count, count + found)) {
                for (; tab != 0 && count < kTabsNeeded; tab &= tab - 1)
                    tabs[count++] = static_cast<unsigned>(p - line) + static_cast<unsigned>(std::countr_zero(tab)) / 8;
            } else {
                count += found; // none of these TABs bounds a value that is read
            }
            if (lineFeed != 0) {
                lineEnd = p + std::countr_zero(lineFeed) / 8;
                break;
            }
            p += 8;
        }
    }
    if (!lineEnd) {
        for (; count < kTabsNeeded && p < end && *p != '\n'; ++p) {
            if (*p == '\t')
                tabs[count++] = static_cast<unsigned>(p - line);
        }
        const void* lineFeed = std::memchr(p, '\n', static_cast<size_t>(end - p));
        lineEnd = lineFeed ? static_cast<const char*>(lineFeed) : end;
    }
    auto value = [&](int column) -> std::string_view {
        if (count <= static_cast<unsigned>(column))
            return {};
        const unsigned start = tabs[column - 1] + 1;
        return {line + start, tabs[column] - start};
    };
    f.isRecord = count > static_cast<unsigned>(kClassColumn);
    f.meatPercent = value(kMeatPercentColumn);
    f.carcassClass = value(kClassColumn);
    f.weight = value(kWeightColumn);
    return lineEnd < end ? lineEnd + 1 : end;
}

// Right-aligned in the cell; a text wider than the cell is the cell, whole: a shift's weight
// must never print as a blank.
std::string RightAligned(const std::string& text)
{
    if (text.size() >= static_cast<size_t>(kCellWidth))
        return text;
    return std::string(kCellWidth - text.size(), ' ') + text;
}

} // namespace

std::string FormatSummaryValue(double number)
{
    std::string text = PlainNumberText(number);
    const size_t point = text.find('.');
    if (point == std::string::npos)
        text += ".0";
    else
        text.resize(point + 2);
    return RightAligned(text);
}

std::string FormatSummaryCount(long long count)
{
    return RightAligned(std::to_string(count));
}

ClassSummaryTally::ClassSummaryTally(SummaryMode mode)
    : mode_(mode)
{}

void ClassSummaryTally::AddLines(std::string_view lines)
{
    const bool withWeight = mode_ == SummaryMode::WithWeight;
    const char* p = lines.data();
    const char* const end = lines.data() + lines.size();
    SummaryFields f;
    while (p < end) {
        if (*p != '\t') {
            // Not a result line: skip it whole.
            const void* lineFeed = std::memchr(p, '\n', static_cast<size_t>(end - p));
            p = lineFeed ? static_cast<const char*>(lineFeed) + 1 : end;
            continue;
        }
        p = ScanLine(p, end, f);
        const double weight = NumberAtStart(f.weight).value_or(0.0);
        // A summary with weight counts the weighed carcasses, one without the unweighed ones.
        if (withWeight ? weight == 0 : weight != 0)
            continue;
        // A carcass without a lean meat % has no class, whatever letter an older log gave it.
        const std::optional<double> leanMeat = LeanMeatIn(f.meatPercent);
        if (!leanMeat) {
            leftOut_ += f.isRecord ? 1 : 0;
            continue;
        }
        if (f.carcassClass.empty())
            continue;
        const size_t c = kClasses.find(f.carcassClass.front());
        if (c == std::string_view::npos)
            continue;
        Totals& t = totals_[c];
        ++t.count;
        if (withWeight) {
            t.weight += weight;
            t.yield += *leanMeat * weight / 100.0;
        }
    }
}

std::string ClassSummaryTally::Body() const
{
    const bool withWeight = mode_ == SummaryMode::WithWeight;
    std::string body;
    Totals all;
    for (size_t c = 0; c < kClasses.size(); ++c) {
        const Totals& t = totals_[c];
        all.count += t.count;
        all.weight += t.weight;
        all.yield += t.yield;
        body += "  ";
        body += kClasses[c];
        if (withWeight && t.count == 0) {
            body += std::string(14, ' ') + "0";
        } else {
            body += "    " + FormatSummaryCount(t.count);
            if (withWeight) {
                body += "   " + FormatSummaryValue(t.weight) + "     " + FormatSummaryValue(t.yield) + "      "
                        + FormatSummaryValue(t.yield * 100.0 / t.weight) + "%";
            }
        }
        body += kLineEnd;
    }

    body += kLineEnd;
    body += ResourceString(1245) + " " + FormatSummaryCount(all.count);
    if (withWeight) {
        const double average = all.weight != 0 ? all.yield * 100.0 / all.weight : 0.0;
        body += "   " + FormatSummaryValue(all.weight) + "     " + FormatSummaryValue(all.yield) + "      "
                + FormatSummaryValue(average) + "%";
    }
    body += kLineEnd;
    return body;
}

std::string BuildClassSummaryText(std::string_view logText, SummaryMode mode)
{
    ClassSummaryTally tally(mode);
    tally.AddLines(logText.substr(FirstRecordLine(logText)));
    return tally.Body();
}

std::string BuildClassSummary(const std::string& path, SummaryMode mode, QString* error, long long* leftOut)
{
    std::string why;
    const std::optional<ClassSummaryTally> tally = StreamClassSummaryTally(path, mode, &why);
    if (!tally) {
        if (error)
            *error = QString::fromLocal8Bit(why.data(), static_cast<qsizetype>(why.size()));
        return std::string();
    }
    if (leftOut)
        *leftOut = tally->LeftOut();
    return tally->Body();
}

std::string SummaryNotes::Text() const
{
    std::string text;
    if (leftOut > 0)
        text += "Left out: " + std::to_string(leftOut) + (leftOut == 1 ? " line" : " lines")
                + " without a lean meat %.\r\n";
    if (waiting > 0)
        text += "Not yet in it: " + std::to_string(waiting) + (waiting == 1 ? " carcass" : " carcasses")
                + " between probe and scale.\r\n";
    return text;
}

std::string ClassSummaryText(const std::string& path, std::string_view body, SummaryMode mode,
                             const SummaryNotes& notes)
{
    const std::string stars(33, '*');
    std::string text;
    text += "\r\n\r\n" + path + "\r\n\r\n";
    text += stars + " Summary " + stars + "\r\n";
    text += notes.Text() + "\r\n";
    if (mode == SummaryMode::WithWeight) {
        text += ResourceString(1244) + "\r\n";
        text += ResourceString(1256) + "\r\n";
    } else {
        text += ResourceString(1282) + "\r\n\r\n";
    }
    text.append(body);
    text += "\r\n" + std::string(75, '*') + "\r\n";
    return text;
}
