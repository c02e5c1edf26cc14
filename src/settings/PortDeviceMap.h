#pragma once
// Which device a serial port number stands for on Linux. The station chooses ports by number
// 1 to 16, as it always did; port n is /dev/ttyS<n-1> unless the settings key "PortDevice<n>"
// (section "Properties") or the command-line option `--port n=PATH` maps it elsewhere.

#include <QMap>
#include <QString>

class SettingsStore;

class PortDeviceMap {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;

    explicit PortDeviceMap(const SettingsStore& settings);

    // Maps `port` to `path` for this run, ahead of the settings; ports outside 1..16 are ignored.
    void Override(int port, const QString& path);
    // The device of `port`: override, else "PortDevice<n>", else /dev/ttyS<n-1>.
    // Empty for a port number outside 1..16.
    QString DeviceFor(int port) const;

    // Parses the argument of `--port`, e.g. "1=/dev/pts/3". False for a port number that is not
    // a number in 1..16 or an empty path; `port` and `path` are then left as they were.
    static bool ParsePortOption(const QString& text, int& port, QString& path);

private:
    const SettingsStore* settings_;
    QMap<int, QString> overrides_;
};
