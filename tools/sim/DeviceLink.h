#pragma once
// The name a device is reached by, as udev gives a USB adapter one: a symbolic link pointed at
// the device in one step, and gone with it when the device is pulled. Left behind, the link
// would point at a pseudo-terminal number that another program may be given next, and a
// station reopening its port would open that one.

#include <QString>
#include <string>

class DeviceLink {
public:
    DeviceLink(const QString& link, const std::string& device);
    // Removes the link, unless it was pointed at another device meanwhile.
    ~DeviceLink();

    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

private:
    QString link_;
    QString device_;
};
