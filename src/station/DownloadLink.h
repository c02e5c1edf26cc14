#pragma once
// The probe port lent to a firmware download. The probe has been told to expect the file; the
// link keeps the port until the probe has had that word, then the receive tick stops and the
// file's chunks go straight down the port. Ending the hold gives the port back to the link.

#include <functional>
#include <string>

class ReceiveTick;
class SerialPort;

class DownloadLink {
public:
    // `probeNotYetTold`: true while the probe's "F" is still queued or its exchange open.
    DownloadLink(SerialPort& port, ReceiveTick& receiveTick, std::function<bool()> probeNotYetTold);
    ~DownloadLink() { Release(); }
    DownloadLink(const DownloadLink&) = delete;
    DownloadLink& operator=(const DownloadLink&) = delete;

    // Data before the "F" means nothing to the probe: the first chunk waits while this holds.
    bool ProbeNotYetTold() const { return !taken_ && probeNotYetTold_ && probeNotYetTold_(); }
    // The port's line settings ("9600,n,8,1"), which set the pace of the chunks.
    std::string PortSettings() const;
    // Takes the port from the link (its tick stops) and writes `chunk`; false when the port
    // refused it, with LastError() saying why.
    bool Send(const std::string& chunk);
    std::string LastError() const;
    // The link has the port again; nothing more is sent.
    void Release();

private:
    SerialPort& port_;
    ReceiveTick& receiveTick_;
    std::function<bool()> probeNotYetTold_;
    bool taken_ = false;
    bool released_ = false;
};
