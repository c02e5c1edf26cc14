#include "probe/TextNumber.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

double NumberInText(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    bool point = false;
    bool digits = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            number += c;
        } else if (c == '.' && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    return std::strtod(number.c_str(), nullptr);
}

namespace {

// printf of one value into a text as long as it needs: written out in full, a value near the
// limits of a double has over 300 digits.
std::string Printed(const char* format, int precision, double value)
{
    const int length = std::snprintf(nullptr, 0, format, precision, value);
    std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, precision, value);
    return text;
}

} // namespace

std::optional<double> NumberAtStart(std::string_view text)
{
    // Up to 15 digits the value is the digits as a whole number divided by a power of ten, exact
    // as strtod is; longer numbers go to NumberInText itself.
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const size_t first = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    bool point = false;
    int digits = 0;
    int decimals = 0;
    long long whole = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++digits > 15)
                return NumberInText(std::string(text.substr(first)));
            whole = whole * 10 + (c - '0');
            decimals += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(whole) / kTens[decimals];
    return negative ? -value : value;
}

std::optional<double> LeanMeatIn(std::string_view meatPercent)
{
    const std::optional<double> value = NumberAtStart(meatPercent);
    if (!value || *value == 0.0)
        return std::nullopt;
    return value;
}

std::string PlainNumberText(double value)
{
    if (!std::isfinite(value))
        return "0";
    std::string text = Printed("%.*g", 15, value);
    if (text.find('e') != std::string::npos) {
        // Very small or very large values: write them out in full, then drop trailing zeros.
        const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        const int decimals = exponent < 0 ? 14 - exponent : 0;
        text = Printed("%.*f", decimals > 60 ? 60 : decimals, value);
    }
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
}
