#include "log/ClassSummary.h"

#include "log/LogFileText.h"
#include "probe/TextNumber.h"
#include "resources/StringTable.h"

#include <array>
#include <cstdlib>

namespace {

constexpr std::string_view kClasses = "SEUROP";
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kCellWidth = 11;

// Columns read by the summary.
constexpr int kMeatPercentColumn = 13;
constexpr int kClassColumn = 15;
constexpr int kWeightColumn = 36;

struct ClassTotals {
    long long count = 0;
    double weight = 0;
    double yield = 0;
};

// NumberInText on a view, without building a string for every line of a large log.
double NumberInView(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    size_t end = i;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    bool point = false;
    bool digits = false;
    for (; end < text.size(); ++end) {
        const char c = text[end];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    char buffer[64];
    const size_t length = std::min(end - i, sizeof buffer - 1);
    text.copy(buffer, length, i);
    buffer[length] = '\0';
    return std::strtod(buffer, nullptr);
}

// Values 13, 15 and 36 of a stored line, as LogField reads them (empty unless a TAB closes them).
struct SummaryFields {
    std::string_view meatPercent;
    std::string_view carcassClass;
    std::string_view weight;
};

SummaryFields FieldsOf(std::string_view line)
{
    SummaryFields f;
    size_t start = 0;
    for (int column = 0; column <= kWeightColumn; ++column) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos)
            break;
        const std::string_view value = line.substr(start, tab - start);
        if (column == kMeatPercentColumn)
            f.meatPercent = value;
        else if (column == kClassColumn)
            f.carcassClass = value;
        else if (column == kWeightColumn)
            f.weight = value;
        start = tab + 1;
    }
    return f;
}

std::string RightAligned(const std::string& text)
{
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
    if (text.size() < 3 || text.size() > 7)
        return {};
    return RightAligned(text);
}

std::string FormatSummaryCount(long long count)
{
    const std::string text = std::to_string(count);
    if (text.size() < 1 || text.size() > 4)
        return {};
    return RightAligned(text);
}

std::string BuildClassSummaryText(std::string_view logText, SummaryMode mode)
{
    const bool withWeight = mode == SummaryMode::WithWeight;
    std::array<ClassTotals, kClasses.size()> totals{};
    ForEachRecordLine(logText, [&](size_t, std::string_view line) {
        if (line.front() != '\t')
            return;
        const SummaryFields f = FieldsOf(line);
        const double weight = NumberInView(f.weight);
        // A summary with weight counts the weighed carcasses, one without the unweighed ones.
        if (withWeight ? weight == 0 : weight != 0)
            return;
        if (f.carcassClass.empty())
            return;
        const size_t c = kClasses.find(f.carcassClass.front());
        if (c == std::string_view::npos)
            return;
        ClassTotals& t = totals[c];
        ++t.count;
        if (withWeight) {
            t.weight += weight;
            t.yield += NumberInView(f.meatPercent) * weight / 100.0;
        }
    });

    std::string body;
    ClassTotals all;
    for (size_t c = 0; c < kClasses.size(); ++c) {
        const ClassTotals& t = totals[c];
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
                body += "   " + FormatSummaryValue(t.weight) + "     " + FormatSummaryValue(t.yield)
                    + "      " + FormatSummaryValue(t.yield * 100.0 / t.weight) + "%";
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

std::string BuildClassSummary(const std::string& path, SummaryMode mode, QString* error)
{
    const std::optional<QByteArray> bytes = ReadLogFile(path, error);
    if (!bytes)
        return {};
    return BuildClassSummaryText(BytesView(*bytes), mode);
}

std::string ClassSummaryText(const std::string& path, std::string_view body, SummaryMode mode)
{
    const std::string stars(33, '*');
    std::string text;
    text += "\r\n\r\n" + path + "\r\n\r\n";
    text += stars + " Summary " + stars + "\r\n\r\n";
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
