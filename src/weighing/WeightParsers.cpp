#include "weighing/WeightParsers.h"

#include "probe/ControlBytes.h"
#include "probe/TextNumber.h"
#include "weighing/ScaleModels.h"

#include <QString>
#include <cctype>
#include <cmath>

namespace {

using namespace ControlBytes;

constexpr size_t kWeightLength = 7;

const char* const kStxError = "Weight scale Protocol <STX> error";
const char* const kSiSoError = "Weight scale Protocol <SI>, <SO> error";
const char* const kChecksumError = "Weight reading Checksum error";
const char* const kStableCodeError = "Weight scale Protocol Stable-code error";
const char* const kHeaderCodeError = "Weight scale Protocol Header-code error";

WeightParseResult Weight(std::string text)
{
    WeightParseResult result;
    result.outcome = WeightParseResult::Outcome::Weight;
    result.weight = std::move(text);
    return result;
}

WeightParseResult Refused(std::string errorText)
{
    WeightParseResult result;
    result.outcome = WeightParseResult::Outcome::Refused;
    result.errorText = std::move(errorText);
    return result;
}

bool Contains(const std::string& text, char c)
{
    return text.find(c) != std::string::npos;
}

// Scales that send a decimal comma: the station's decimal mark is always ".".
std::string WithDecimalPoint(std::string text)
{
    const size_t comma = text.find(',');
    if (comma != std::string::npos)
        text[comma] = '.';
    return text;
}

std::string TrimSpaces(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A whole number of 1 or more, spaces around it allowed; false for anything else.
bool PositiveWholeNumber(const std::string& text, size_t& value)
{
    const std::string digits = TrimSpaces(text);
    // Nine digits are far beyond any message and cannot overflow.
    if (digits.empty() || digits.size() > 9)
        return false;
    value = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        value = value * 10 + static_cast<size_t>(c - '0');
    }
    return value >= 1;
}

// A plain decimal number (optional sign, digits, at most one "."), spaces around it allowed.
bool PlainNumber(const std::string& text, double& value)
{
    const std::string number = TrimSpaces(text);
    size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (std::isdigit(static_cast<unsigned char>(c)))
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    if (!digits)
        return false;
    value = NumberInText(number);
    return true;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

WeightParseResult ParseToledoWeight(const std::string& scaleMessage, const ToledoOptions& options)
{
    const std::string& s = scaleMessage;
    if (Contains(s, STX) != options.STXon)
        return Refused(kStxError);
    const bool so = Contains(s, SO);
    const bool si = Contains(s, SI);
    if (options.SISOon ? !(so && si) : (so || si))
        return Refused(kSiSoError);
    if (options.ChecksumOn) {
        // Every byte from the first through the checksum byte after the first CR adds up to a
        // multiple of 256; without a byte after a CR there is nothing to check.
        const size_t cr = s.find(CR);
        if (cr == std::string::npos || cr + 1 >= s.size())
            return Refused(kChecksumError);
        unsigned sum = 0;
        for (size_t i = 0; i <= cr + 1; ++i)
            sum += static_cast<unsigned char>(s[i]);
        if (sum % 256 != 0)
            return Refused(kChecksumError);
    }
    const size_t start = (options.SISOon ? 1 : 0) + (options.STXon ? 1 : 0);
    if (s.size() < start + kWeightLength)
        return Refused(kStxError);
    return Weight(WithDecimalPoint(s.substr(start, kWeightLength)));
}

WeightParseResult ParseWedderburnWeight(const std::string& scaleMessage, const WedderburnOptions& options)
{
    struct Layout {
        bool firstByteChecked;
        char firstByte; // 00H stable sign, or "0" net weight
        size_t crIndex; // the CR right after the weight
        size_t weightIndex;
        const char* error;
    };
    // Positions counted from 0. With both options the header code is skipped unread.
    const Layout layout =
        options.StableCode
            ? (options.Hcode ? Layout{true, '\0', 10, 3, kStableCodeError} : Layout{true, '\0', 9, 2, kStableCodeError})
            : (options.Hcode ? Layout{true, '0', 8, 1, kHeaderCodeError} : Layout{false, '\0', 7, 0, kHeaderCodeError});
    const std::string& s = scaleMessage;
    if (layout.firstByteChecked && (s.empty() || s[0] != layout.firstByte))
        return Refused(layout.error);
    if (s.size() <= layout.crIndex || s[layout.crIndex] != CR)
        return Refused(layout.error);
    return Weight(WithDecimalPoint(s.substr(layout.weightIndex, kWeightLength)));
}

std::string HeaderScaleErrorPrefix(WeightSource model)
{
    const ScaleModel* entry = ScaleModelOf(model);
    if (!entry || !entry->errorPrefix)
        entry = ScaleModelOf(WeightSource::Generic);
    return entry->errorPrefix;
}

WeightParseResult ParseHeaderWeight(WeightSource model, const std::string& scaleMessage,
                                    const HeaderScaleOptions& options)
{
    const std::string& s = scaleMessage;
    // One character per byte both ways, so positions in the text are positions in the message.
    const QString text = QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
    const QString header = QString::fromLatin1(options.header.data(), static_cast<qsizetype>(options.header.size()));
    const qsizetype h = text.indexOf(header, 0, Qt::CaseInsensitive);
    // No header, or no end of message yet: not a weight message, and nothing to say.
    if (h < 0 || s.find_first_of(std::string{CR, LF}) == std::string::npos)
        return {};

    const std::string prefix = HeaderScaleErrorPrefix(model);
    size_t start = 0;
    if (!PositiveWholeNumber(options.startPosition, start))
        return Refused(prefix + "weight start position " + Quoted(options.startPosition)
                       + " is not a whole number of 1 or more");
    std::string t = s.substr(static_cast<size_t>(h));
    if (t.size() <= start)
        return Refused(prefix + "the message ends before weight start position " + std::to_string(start));
    double factor = 0;
    if (!PlainNumber(options.factor, factor))
        return Refused(prefix + "factor " + Quoted(options.factor) + " is not a number");

    t = t.substr(start);
    const size_t first = t.find_first_not_of(' ');
    t = first == std::string::npos ? std::string() : t.substr(first);
    const size_t space = t.find(' ');
    if (space != std::string::npos)
        t.resize(space);
    // A decimal comma would otherwise end the number and silently drop the fraction.
    const double weight = NumberInText(WithDecimalPoint(t)) * factor;
    if (!std::isfinite(weight))
        return Refused(prefix + "the weight times factor " + Quoted(options.factor) + " is out of range");
    return Weight(PlainNumberText(weight));
}

bool HasScaleParser(WeightSource source)
{
    const ScaleModel* entry = ScaleModelOf(source);
    return entry && entry->parse;
}

WeightParseResult ParseScaleWeight(WeightSource source, const std::string& scaleMessage, const ScaleOptions& options)
{
    const ScaleModel* entry = ScaleModelOf(source);
    return entry && entry->parse ? entry->parse(*entry, scaleMessage, options) : WeightParseResult{};
}
