#include "probe/ProbeFraming.h"

using namespace ProbeBytes;

unsigned char BlockCheck(const std::string& bytes)
{
    unsigned char bcc = 0;
    for (const char c : bytes)
        bcc ^= static_cast<unsigned char>(c);
    return bcc;
}

std::string FrameProbeCommand(const std::string& command)
{
    const std::string text = command.substr(0, command.find(ETX));
    // The checked part runs from the first text character through ETX; SOH stays outside.
    std::string checked;
    if (!text.empty())
        checked += text[0];
    checked += STX;
    if (text.size() > 1)
        checked += text.substr(1);
    checked += ETX;

    std::string frame{'H', ACK, SOH};
    frame += checked;
    frame += static_cast<char>(BlockCheck(checked));
    return frame;
}

ReceivedFrame ExtractProbeFrame(const std::string& reception)
{
    ReceivedFrame frame;
    const auto soh = reception.find(SOH);
    const auto stx = reception.find(STX);
    const auto etx = reception.find(ETX);
    if (soh == std::string::npos || stx == std::string::npos || etx == std::string::npos)
        return frame;
    if (etx < stx) {
        frame.etxBeforeStx = true;
        return frame;
    }
    frame.complete = true;
    if (soh + 1 < reception.size())
        frame.message += reception[soh + 1];
    frame.message += reception.substr(stx + 1, etx - stx - 1);
    return frame;
}
