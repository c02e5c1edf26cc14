#include "carcass/LeanMeat.h"

#include "probe/TextNumber.h"

#include <cmath>

namespace {

struct EquationRow {
    double a, b, c, d;
};

constexpr EquationRow kUpToThreshold{50.933698, 0.312169, 0.037779, 2.411151};
constexpr EquationRow kAboveThreshold{44.99262, 0.191001, 0.042516, 3.181847};

// A depth field holds the value, a space and an indicator character ("12.0 A").
double DepthOf(const std::string& field)
{
    if (field.size() <= 2)
        return 0.0;
    return NumberInText(field.substr(0, field.size() - 2));
}

// The digits after "." of a plain decimal text, filled with "0" or cut to `decimals`.
std::string Decimals(const std::string& text, size_t decimals)
{
    const auto point = text.find('.');
    std::string digits = point == std::string::npos ? std::string() : text.substr(point + 1, decimals);
    digits.resize(decimals, '0');
    return digits;
}

std::string IntegerPart(const std::string& text)
{
    return text.substr(0, text.find('.'));
}

} // namespace

std::optional<double> LeanMeatFromProbe(const CarcassMeasurement& record, double weight)
{
    const double x = DepthOf(record.fat1);
    const double y = DepthOf(record.meat);
    if (x == 0.0)
        return std::nullopt;
    const EquationRow& k = weight > kEquationWeightThreshold ? kAboveThreshold : kUpToThreshold;
    const double leanMeat = ((k.a - k.b * x) + k.c * y) + (k.d * y) / x;
    if (!std::isfinite(leanMeat))
        return std::nullopt;
    return leanMeat;
}

void ClassifyCarcass(CarcassMeasurement& record, double weight, bool useEquation)
{
    const std::optional<double> leanMeat =
        useEquation ? LeanMeatFromProbe(record, weight) : LeanMeatIn(record.meatPercent);
    if (leanMeat && useEquation)
        record.meatPercent = CutToOneDecimal(*leanMeat);
    else if (!leanMeat && !record.meatPercent.empty())
        record.meatPercent = kNoLeanMeat;
    record.carcassClass = leanMeat ? ClassOf(*leanMeat) : std::string();
}

std::string ShownLeanMeat(const std::string& meatPercent)
{
    return LeanMeatIn(meatPercent) ? meatPercent : std::string();
}

std::string CutToOneDecimal(double leanMeat)
{
    const std::string text = PlainNumberText(leanMeat + 0.05);
    return IntegerPart(text) + '.' + Decimals(text, 1);
}

std::string ClassOf(double leanMeat)
{
    if (leanMeat >= 60)
        return "S";
    if (leanMeat >= 55)
        return "E";
    if (leanMeat >= 50)
        return "U";
    if (leanMeat >= 45)
        return "R";
    if (leanMeat >= 40)
        return "O";
    return "P";
}

std::string FormatWeight(const std::string& weightText)
{
    const std::string text = PlainNumberText(NumberInText(weightText) + 0.005);
    const std::string integer = IntegerPart(text);
    const size_t padding = integer.size() < 3 ? 3 - integer.size() : 0;
    return std::string(padding, ' ') + integer + '.' + Decimals(text, 2);
}
