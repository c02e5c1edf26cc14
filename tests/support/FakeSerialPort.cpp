#include "support/FakeSerialPort.h"

bool FakeSerialPort::SetCommPort(int port)
{
    if (open_ || port < 1 || port > 16) {
        lastError_ = "Invalid port number";
        return false;
    }
    port_ = port;
    return true;
}

bool FakeSerialPort::SetSettings(const std::string& text)
{
    SerialSettings parsed;
    if (!ParseSerialSettings(text, parsed)) {
        lastError_ = "Invalid port settings";
        return false;
    }
    settings_ = SerialSettingsText(parsed);
    return true;
}

bool FakeSerialPort::SetPortOpen(bool open)
{
    if (open && missingPorts.count(port_)) {
        lastError_ = "/dev/ttyS" + std::to_string(port_ - 1) + ": No such file or directory";
        return false;
    }
    if (open && (failOpen || gone_)) {
        lastError_ = gone_ ? "No such device" : "Port cannot be opened";
        return false;
    }
    if (open && !open_)
        ++openCount;
    open_ = open;
    return true;
}

std::string FakeSerialPort::Input()
{
    std::string bytes;
    bytes.swap(inBuffer_);
    return bytes;
}

bool FakeSerialPort::Output(const std::string& bytes)
{
    if (!open_ || failOutput) {
        lastError_ = "Write failed";
        return false;
    }
    written_ += bytes;
    return true;
}

std::string FakeSerialPort::TakeWritten()
{
    std::string bytes;
    bytes.swap(written_);
    return bytes;
}

void FakeSerialPort::RaiseLineError()
{
    if (onComm)
        onComm();
}

void FakeSerialPort::HangUp(const std::string& reason)
{
    gone_ = true;
    open_ = false;
    inBuffer_.clear();
    lastError_ = reason;
    if (onHangUp)
        onHangUp(reason);
}
