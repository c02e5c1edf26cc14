#include "station/DownloadLink.h"

#include "probe/SerialPort.h"
#include "station/ReceiveTick.h"

DownloadLink::DownloadLink(SerialPort& port, ReceiveTick& receiveTick, std::function<bool()> probeNotYetTold)
    : port_(port)
    , receiveTick_(receiveTick)
    , probeNotYetTold_(std::move(probeNotYetTold))
{}

std::string DownloadLink::PortSettings() const
{
    return port_.Settings();
}

bool DownloadLink::Send(const std::string& chunk)
{
    if (released_)
        return false;
    if (!taken_) {
        taken_ = true;
        receiveTick_.pause();
    }
    return chunk.empty() || port_.Output(chunk);
}

std::string DownloadLink::LastError() const
{
    return port_.LastError();
}

void DownloadLink::Release()
{
    if (released_)
        return;
    released_ = true;
    receiveTick_.resume();
}
