#include "settings/PortDeviceMap.h"

#include "settings/SettingsStore.h"

#include <string>

PortDeviceMap::PortDeviceMap(const SettingsStore& settings)
    : settings_(&settings)
{}

void PortDeviceMap::Override(int port, const QString& path)
{
    if (port < kFirstPort || port > kLastPort || path.isEmpty())
        return;
    overrides_[port] = path;
}

QString PortDeviceMap::DeviceFor(int port) const
{
    if (port < kFirstPort || port > kLastPort)
        return QString();
    const auto it = overrides_.constFind(port);
    if (it != overrides_.constEnd())
        return it.value();
    // Read each time: nothing about the settings is cached.
    const std::string stored = settings_->ReadSetting("Properties", "PortDevice" + std::to_string(port), std::string());
    const QString device = QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size())).trimmed();
    if (!device.isEmpty())
        return device;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

bool PortDeviceMap::ParsePortOption(const QString& text, int& port, QString& path)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    const QString number = text.left(eq).trimmed();
    for (const QChar c : number)
        if (!c.isDigit())
            return false;
    bool ok = false;
    const int n = number.toInt(&ok);
    if (!ok || n < kFirstPort || n > kLastPort)
        return false;
    const QString device = text.mid(eq + 1);
    if (device.trimmed().isEmpty())
        return false;
    port = n;
    path = device;
    return true;
}
