#include "probe/FieldConversions.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace ProbeFields {
namespace {

// True when positions first..last all lie inside the message.
bool WhollyPresent(const std::string& message, int first, int last)
{
    return first >= 1 && last >= first && static_cast<std::size_t>(last) <= message.size();
}

std::optional<std::string> NumberText(const std::string& message, int first, int last)
{
    const std::optional<long long> number = ReadNumber(message, first, last);
    if (!number)
        return std::nullopt;
    return std::to_string(*number);
}

std::string PadLeft(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string InsertPointBeforeLast(const std::string& text)
{
    std::string result = text;
    result.insert(result.size() - 1, 1, '.');
    return result;
}

} // namespace

std::optional<long long> ReadNumber(const std::string& message, int first, int last)
{
    if (!WhollyPresent(message, first, last))
        return std::nullopt;
    const char* begin = message.data() + (first - 1);
    const char* end = message.data() + last;
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    bool negative = false;
    if (begin < end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
    }
    if (begin == end)
        return std::nullopt;
    long long value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    // from_chars would take its own "-"; a second sign or any other byte means no number.
    if (error != std::errc{} || stop != end || *begin == '-')
        return std::nullopt;
    return negative ? -value : value;
}

std::string Text(const std::string& message, int first, int last)
{
    if (first < 1 || last < first || static_cast<std::size_t>(first) > message.size())
        return {};
    return message.substr(first - 1, last - first + 1);
}

std::string Tenths(const std::string& message, int first, int last)
{
    const std::optional<std::string> digits = NumberText(message, first, last);
    return digits ? InsertPointBeforeLast(PadLeft(*digits, 4)) : std::string{};
}

std::string Percent(const std::string& message, int first, int last)
{
    const std::optional<long long> number = ReadNumber(message, first, last);
    if (!number)
        return {};
    if (*number == 0)
        return "__._";
    return InsertPointBeforeLast(PadLeft(std::to_string(*number), 3));
}

std::string Integer(const std::string& message, int first, int last, FillRule rule)
{
    const std::optional<std::string> digits = NumberText(message, first, last);
    if (!digits)
        return {};
    // Spaces before a result of 1, 2 and 3 characters.
    static constexpr int kSpaces[3][3] = {{4, 2, 0}, {2, 1, 0}, {3, 2, 1}};
    if (digits->size() > 3)
        return *digits;
    const int spaces = kSpaces[static_cast<int>(rule)][digits->size() - 1];
    return std::string(spaces, ' ') + *digits;
}

std::string Marked(const std::string& message, int first, int last, int mark)
{
    const std::string depth = Tenths(message, first, last);
    if (depth.empty())
        return {};
    return depth + ' ' + Text(message, mark, mark);
}

std::string Whole(const std::string& message, int first, int last)
{
    return NumberText(message, first, last).value_or(std::string{});
}

std::string Tender(const std::string& message, int first, int last)
{
    const std::optional<long long> number = ReadNumber(message, first, last);
    if (!number)
        return {};
    const std::string sign = *number < 0 ? "-" : "";
    const std::string digits = std::to_string(std::llabs(*number));
    if (digits.size() == 1)
        return sign + "0." + digits;
    return sign + InsertPointBeforeLast(digits);
}

std::string ProbeTime(const std::string& message, int first, const QDate& stationDate)
{
    if (!WhollyPresent(message, first, first + 5))
        return {};
    const std::string t = message.substr(first - 1, 6);
    return t.substr(0, 2) + ':' + t.substr(2, 2) + ':' + t.substr(4, 2) + "  "
           + stationDate.toString(QStringLiteral("dd-MM-yyyy")).toStdString();
}

std::string ProbeDateTime(const std::string& message, int first, const QDate& stationDate)
{
    if (!WhollyPresent(message, first, first + 11))
        return {};
    const std::string c = message.substr(first - 1, 12);
    char year[16];
    std::snprintf(year, sizeof year, "%04d", stationDate.year());
    const std::string century(year, 2);
    return c.substr(6, 2) + ':' + c.substr(8, 2) + ':' + c.substr(10, 2) + "  " + c.substr(4, 2) + '-' + c.substr(2, 2)
           + '-' + century + c.substr(0, 2);
}

} // namespace ProbeFields
