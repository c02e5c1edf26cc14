#include "ScaleMessages.h"

#include "probe/ControlBytes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

using namespace ControlBytes;

std::string Formatted(const char* pattern, double kg, bool decimalComma)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, pattern, std::clamp(kg, -999.99, 9999.99));
    std::string text = buffer;
    if (decimalComma)
        std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string ToledoMessage(double kg, const ScaleMessageFormat& f)
{
    std::string message;
    if (f.stx)
        message += STX;
    if (f.siso)
        message += SO;
    message += Formatted("%7.2f", kg, f.decimalComma);
    if (f.siso)
        message += SI;
    message += CR;
    if (f.checksum) {
        unsigned sum = 0;
        for (char c : message)
            sum += static_cast<unsigned char>(c);
        message += static_cast<char>((256 - sum % 256) % 256);
    }
    return message;
}

std::string WedderburnMessage(double kg, const ScaleMessageFormat& f)
{
    std::string message;
    if (f.stableCode)
        message += std::string{'\0', ' '};
    if (f.headerCode)
        message += '0';
    message += Formatted("%07.2f", kg, f.decimalComma);
    message += CR;
    return message;
}

std::string HeaderMessage(double kg, const ScaleMessageFormat& f, int messageNumber)
{
    std::string filler(static_cast<size_t>(std::max(0, f.startPosition - static_cast<int>(f.header.size()))), ' ');
    if (filler.size() >= 7) {
        char number[8];
        std::snprintf(number, sizeof number, "N%04d", std::abs(messageNumber) % 10000);
        filler.replace(1, 5, number);
    }
    return f.header + filler + Formatted("%.1f", kg, f.decimalComma) + " kg" + CR + LF;
}

} // namespace

int DefaultStartPosition(ScaleProtocol protocol)
{
    switch (protocol) {
    case ScaleProtocol::Generic:
    case ScaleProtocol::EV2000: return 2;
    case ScaleProtocol::TU9000: return 20;
    default: return 0;
    }
}

bool ScaleProtocolFromName(const std::string& name, ScaleProtocol& protocol)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const struct {
        const char* name;
        ScaleProtocol protocol;
    } names[] = {{"toledo", ScaleProtocol::MettlerToledo},
                 {"wedderburn", ScaleProtocol::Wedderburn},
                 {"generic", ScaleProtocol::Generic},
                 {"ev2000", ScaleProtocol::EV2000},
                 {"tu9000", ScaleProtocol::TU9000}};
    for (const auto& n : names) {
        if (lower == n.name) {
            protocol = n.protocol;
            return true;
        }
    }
    return false;
}

std::string ScaleMessage(double kg, const ScaleMessageFormat& format, int messageNumber)
{
    switch (format.protocol) {
    case ScaleProtocol::MettlerToledo: return ToledoMessage(kg, format);
    case ScaleProtocol::Wedderburn: return WedderburnMessage(kg, format);
    default: return HeaderMessage(kg, format, messageNumber);
    }
}

double CarcassWeights::Next()
{
    const double kg = std::clamp(spread_(engine_), 70.0, 130.0);
    return std::round(kg * 10.0) / 10.0;
}
