#include "probe/SerialPortQt.h"

#include "probe/SerialPortQtHolder.h"

#include <QTimer>

#include <cerrno>
#include <cstring>
#include <poll.h>

SerialPortQt::SerialPortQt(std::function<QString(int)> deviceForPort)
    : deviceForPort_(std::move(deviceForPort))
{
    QObject::connect(&serial_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
        // A time-out only means a wait ended; it is no line event.
        if (e == QSerialPort::NoError || e == QSerialPort::TimeoutError || hangingUp_)
            return;
        lastError_ = serial_.errorString().toStdString();
        if (e == QSerialPort::ResourceError || DeviceHungUp()) {
            BeginHangUp();
            return;
        }
        if (onComm)
            onComm();
    });
}

bool SerialPortQt::DeviceHungUp() const
{
    // A device that went away reads as end of file (or fails) and polls as hung up; the port
    // would otherwise keep reporting readable data that is never there.
    if (!serial_.isOpen())
        return false;
    pollfd p{static_cast<int>(serial_.handle()), POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return false;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void SerialPortQt::BeginHangUp()
{
    // Closed once the port's own handler has returned: closing inside it is not safe.
    hangingUp_ = true;
    const std::string reason = QStringLiteral("%1: %2").arg(DevicePath(), serial_.errorString()).toStdString();
    QTimer::singleShot(0, &serial_, [this, reason] {
        if (serial_.isOpen())
            serial_.close();
        hangingUp_ = false;
        lastError_ = reason;
        if (onHangUp)
            onHangUp(reason);
    });
}

SerialPortQt::~SerialPortQt()
{
    if (serial_.isOpen())
        serial_.close();
}

QString SerialPortQt::DevicePath() const
{
    return deviceForPort_ ? deviceForPort_(port_) : QString();
}

void SerialPortQt::Fail(const QString& what)
{
    lastError_ = what.toStdString();
}

bool SerialPortQt::SetCommPort(int port)
{
    if (serial_.isOpen() || port < 1 || port > 16) {
        Fail(QStringLiteral("Invalid port number"));
        return false;
    }
    port_ = port;
    return true;
}

bool SerialPortQt::Apply(const SerialSettings& s)
{
    bool ok = serial_.setBaudRate(s.speed);
    switch (s.parity) {
    case 'n': ok = serial_.setParity(QSerialPort::NoParity) && ok; break;
    case 'e': ok = serial_.setParity(QSerialPort::EvenParity) && ok; break;
    case 'o': ok = serial_.setParity(QSerialPort::OddParity) && ok; break;
    case 'm': ok = serial_.setParity(QSerialPort::MarkParity) && ok; break;
    default: ok = serial_.setParity(QSerialPort::SpaceParity) && ok; break;
    }
    ok = serial_.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)) && ok;
    ok = serial_.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) && ok;
    return ok;
}

bool SerialPortQt::SetSettings(const std::string& text)
{
    SerialSettings s;
    if (!ParseSerialSettings(text, s)) {
        Fail(QStringLiteral("Invalid port settings \"%1\"").arg(QString::fromStdString(text)));
        return false;
    }
    settingsText_ = SerialSettingsText(s);
    // A pseudo-terminal may refuse 7-bit framing; the settings still count as set.
    if (serial_.isOpen() && !Apply(s))
        Fail(serial_.errorString());
    return true;
}

bool SerialPortQt::SetHandshaking(int mode)
{
    if (mode < 0 || mode > 3)
        return false;
    handshaking_ = mode;
    if (serial_.isOpen()) {
        serial_.setFlowControl(mode == 1   ? QSerialPort::SoftwareControl
                               : mode >= 2 ? QSerialPort::HardwareControl
                                           : QSerialPort::NoFlowControl);
    }
    return true;
}

bool SerialPortQt::SetPortOpen(bool open)
{
    if (!open) {
        if (serial_.isOpen())
            serial_.close();
        return true;
    }
    if (serial_.isOpen())
        return true;
    SerialSettings s;
    if (!ParseSerialSettings(settingsText_, s)) {
        Fail(QStringLiteral("Invalid port settings"));
        return false;
    }
    // Opened by the device's own path: the lock is named after it (SerialPortQtHolder.h).
    const QString given = DevicePath();
    const QString device = ResolvedDevice(given);
    serial_.setPortName(device);
    if (!serial_.open(QIODevice::ReadWrite)) {
        const QString holder = DeviceLockHolder(device);
        const QString why = serial_.errorString();
        // QSerialPort's words for a lock held, and the system's for a device opened exclusively.
        const bool held = !holder.isEmpty() || why.contains(QLatin1String("while locking the device"))
                          || why == QString::fromLocal8Bit(std::strerror(EBUSY));
        Fail(held ? PortHeldText(given, device, holder) : QStringLiteral("%1: %2").arg(given, why));
        return false;
    }
    Apply(s);
    SetHandshaking(handshaking_);
    return true;
}

int SerialPortQt::InBufferCount()
{
    if (!serial_.isOpen() || hangingUp_)
        return 0;
    return static_cast<int>(serial_.bytesAvailable());
}

void SerialPortQt::ClearInBuffer()
{
    if (serial_.isOpen())
        serial_.readAll();
}

std::string SerialPortQt::Input()
{
    if (!serial_.isOpen() || hangingUp_)
        return {};
    return serial_.readAll().toStdString();
}

bool SerialPortQt::Output(const std::string& bytes)
{
    if (!serial_.isOpen()) {
        Fail(QStringLiteral("Port is not open"));
        return false;
    }
    if (hangingUp_) {
        Fail(QStringLiteral("The device has gone"));
        return false;
    }
    const qint64 written = serial_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size())) {
        Fail(serial_.errorString());
        if (DeviceHungUp())
            BeginHangUp();
        return false;
    }
    serial_.flush();
    return true;
}
