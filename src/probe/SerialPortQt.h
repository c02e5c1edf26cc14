#pragma once
// The station's serial port operations over QSerialPort.

#include "probe/SerialPort.h"

#include <QSerialPort>
#include <functional>

class SerialPortQt : public SerialPort {
public:
    // `deviceForPort` maps a port number to a device path (see PortDeviceMap).
    explicit SerialPortQt(std::function<QString(int)> deviceForPort);
    ~SerialPortQt() override;

    bool SetCommPort(int port) override;
    int CommPort() const override { return port_; }
    bool SetSettings(const std::string& text) override;
    std::string Settings() const override { return settingsText_; }
    bool SetHandshaking(int mode) override;
    int Handshaking() const override { return handshaking_; }
    bool SetPortOpen(bool open) override;
    bool PortOpen() const override { return serial_.isOpen(); }
    int InBufferCount() override;
    void ClearInBuffer() override;
    std::string Input() override;
    bool Output(const std::string& bytes) override;
    std::string LastError() const override { return lastError_; }

    QString DevicePath() const;

private:
    bool Apply(const SerialSettings& s);
    void Fail(const QString& what);
    bool DeviceHungUp() const;
    void BeginHangUp();

    std::function<QString(int)> deviceForPort_;
    QSerialPort serial_;
    int port_ = 1;
    std::string settingsText_ = "4800,e,7,2";
    int handshaking_ = 0;
    std::string lastError_;
    bool hangingUp_ = false;
};
