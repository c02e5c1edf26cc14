#include "log/ClassSummary.h"

#include "log/LogColumns.h"
#include "log/LogFileText.h"
#include "log/LogLineScan.h"
#include "log/SummaryStream.h"
#include "probe/TextNumber.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

#include <cstring>

namespace {

constexpr std::string_view kClasses = "SEUROP";
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kCellWidth = 11;

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

std::optional<double> CountedWeight(SummaryMode mode, std::string_view weightValue)
{
    const double weight = NumberAtStart(weightValue).value_or(0.0);
    const bool weighed = weight != 0;
    if (weighed != (mode == SummaryMode::WithWeight))
        return std::nullopt;
    return weight;
}

ClassSummaryTally::ClassSummaryTally(SummaryMode mode)
    : mode_(mode)
{}

void ClassSummaryTally::AddLines(std::string_view lines)
{
    const bool withWeight = mode_ == SummaryMode::WithWeight;
    const char* p = lines.data();
    const char* const end = lines.data() + lines.size();
    LogLineScan scan{LogColumn::MeatPercent, LogColumn::Class, LogColumn::Weight};
    while (p < end) {
        if (*p != '\t') {
            // Not a result line: skip it whole.
            const void* lineFeed = std::memchr(p, '\n', static_cast<size_t>(end - p));
            p = lineFeed ? static_cast<const char*>(lineFeed) + 1 : end;
            continue;
        }
        p = scan.Scan(p, end);
        const std::optional<double> weight = CountedWeight(mode_, scan.Value(LogColumn::Weight));
        if (!weight)
            continue;
        // A carcass without a lean meat % has no class, whatever letter an older log gave it.
        const std::optional<double> leanMeat = LeanMeatIn(scan.Value(LogColumn::MeatPercent));
        if (!leanMeat) {
            leftOut_ += scan.Closes(LogColumn::Class) ? 1 : 0;
            continue;
        }
        const std::string_view carcassClass = scan.Value(LogColumn::Class);
        if (carcassClass.empty())
            continue;
        const size_t c = kClasses.find(carcassClass.front());
        if (c == std::string_view::npos)
            continue;
        Totals& t = totals_[c];
        ++t.count;
        if (withWeight) {
            t.weight += *weight;
            t.yield += *leanMeat * *weight / 100.0;
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
    body += ResourceString(StringId::Total) + " " + FormatSummaryCount(all.count);
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
        text += ResourceString(StringId::SummaryHeadingWithWeight) + "\r\n";
        text += ResourceString(StringId::SummaryTotalsHeading) + "\r\n";
    } else {
        text += ResourceString(StringId::SummaryHeading) + "\r\n\r\n";
    }
    text.append(body);
    text += "\r\n" + std::string(75, '*') + "\r\n";
    return text;
}
