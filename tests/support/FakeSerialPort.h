#pragma once
// In-memory serial port for tests: bytes fed by the test wait in the input buffer, bytes the
// station sends are recorded, and failures can be scripted.

#include "probe/SerialPort.h"

#include <set>
#include <string>

class FakeSerialPort : public SerialPort {
public:
    bool SetCommPort(int port) override;
    int CommPort() const override { return port_; }
    bool SetSettings(const std::string& text) override;
    std::string Settings() const override { return settings_; }
    bool SetHandshaking(int mode) override
    {
        handshaking_ = mode;
        return true;
    }
    int Handshaking() const override { return handshaking_; }
    bool SetPortOpen(bool open) override;
    bool PortOpen() const override { return open_; }
    int InBufferCount() override { return static_cast<int>(inBuffer_.size()); }
    void ClearInBuffer() override { inBuffer_.clear(); }
    std::string Input() override;
    bool Output(const std::string& bytes) override;
    std::string LastError() const override { return lastError_; }

    // Test side.
    void Feed(const std::string& bytes) { inBuffer_ += bytes; }
    // A line error or event: raises OnComm.
    void RaiseLineError();
    // The device goes away: what waits is lost, the port closes and tells its owner. Opening
    // fails until ComeBack().
    void HangUp(const std::string& reason = "device hung up");
    void ComeBack() { gone_ = false; }
    std::string TakeWritten();
    const std::string& Written() const { return written_; }
    bool failOpen = false;
    // Port numbers whose device does not exist: opening them fails.
    std::set<int> missingPorts;
    bool failOutput = false;
    int openCount = 0;

private:
    int port_ = 1;
    std::string settings_ = "9600,n,8,1";
    int handshaking_ = 0;
    bool open_ = false;
    bool gone_ = false;
    std::string inBuffer_;
    std::string written_;
    std::string lastError_;
};
