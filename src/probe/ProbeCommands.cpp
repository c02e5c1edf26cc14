#include "probe/ProbeCommands.h"

#include <QByteArray>
#include <algorithm>

namespace {

// The text without surrounding spaces, and its value when it is a whole number of 16 bits.
std::optional<int> WholeNumber16(const std::string& text, std::string& trimmed)
{
    const QByteArray bytes = QByteArray::fromStdString(text).trimmed();
    trimmed = bytes.toStdString();
    bool ok = false;
    const short value = bytes.toShort(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

std::string TimeAndDateCommand(const QDateTime& now)
{
    return "T" + now.toString(QStringLiteral("yyMMddHHmmss")).toStdString();
}

std::optional<std::string> CounterSetCommand(const std::string& typed)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (typed.size() != 6 || !std::all_of(typed.begin(), typed.end(), isDigit))
        return std::nullopt;
    if (typed == "000000")
        return std::nullopt;
    return "3" + typed;
}

std::string AnalysisTypeCommand(int type)
{
    return "90" + std::to_string(type);
}

std::optional<CalibrationCommands> ColourCalibrationCommands(const std::string& text130, const std::string& text61)
{
    CalibrationCommands commands;
    const auto colour130 = WholeNumber16(text130, commands.colour130);
    const auto colour61 = WholeNumber16(text61, commands.colour61);
    if (!colour130 || !colour61 || *colour130 >= 255 || *colour61 >= 120)
        return std::nullopt;
    commands.colour130.insert(0, 1, 'C');
    commands.colour61.insert(0, 1, 'c');
    return commands;
}
