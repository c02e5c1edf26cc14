#include "probe/HexChunks.h"

#include "probe/TextNumber.h"

#include <algorithm>
#include <cmath>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

int DownloadTickInterval(const std::string& portSettings)
{
    const double speed = NumberInText(portSettings.substr(0, portSettings.find(',')));
    if (speed > 19200)
        return 150;
    if (speed > 9600)
        return 300;
    if (speed > 4800)
        return 600;
    return 1100;
}

long HexDataBytes(std::string_view text)
{
    long total = 0;
    for (std::size_t colon = text.find(':'); colon != std::string_view::npos; colon = text.find(':', colon + 1)) {
        if (colon + 2 >= text.size())
            break;
        // Read as a hexadecimal number: up to the first character that is not a hex digit.
        const int high = HexDigit(text[colon + 1]);
        if (high < 0)
            continue;
        const int low = HexDigit(text[colon + 2]);
        total += low < 0 ? high : high * 16 + low;
    }
    return total;
}

HexChunks::HexChunks(std::string fileText)
    : text_(std::move(fileText) + "\r\n")
{}

std::string HexChunks::NextChunk()
{
    if (Finished())
        return {};
    std::string chunk = text_.substr(position_, kChunkSize);
    const std::size_t lastLineFeed = chunk.rfind('\n');
    if (lastLineFeed != std::string::npos)
        chunk.resize(lastLineFeed + 1);
    position_ += chunk.size();
    dataBytes_ += HexDataBytes(chunk);
    return chunk;
}

long HexChunks::BarValue() const
{
    return Finished() ? kFullScaleBytes : std::min(dataBytes_, kFullScaleBytes);
}

std::string HexChunks::PercentText() const
{
    if (Finished())
        return "100%";
    return std::to_string(std::lround(static_cast<double>(dataBytes_) / kBytesPerPercent)) + "%";
}
