#include "probe/SerialPort.h"

#include <QByteArray>
#include <QList>

bool ParseSerialSettings(const std::string& text, SerialSettings& out)
{
    const QList<QByteArray> parts = QByteArray::fromStdString(text).split(',');
    if (parts.size() != 4)
        return false;
    bool ok = false;
    SerialSettings s;
    s.speed = parts[0].trimmed().toInt(&ok);
    if (!ok || s.speed <= 0)
        return false;
    const QByteArray parity = parts[1].trimmed().toLower();
    if (parity.size() != 1 || !QByteArray("neoms").contains(parity[0]))
        return false;
    s.parity = parity[0];
    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return false;
    const QByteArray stop = parts[3].trimmed();
    if (stop == "1")
        s.stopBits = 1;
    else if (stop == "2")
        s.stopBits = 2;
    else
        return false;
    out = s;
    return true;
}

std::string SerialSettingsText(const SerialSettings& settings)
{
    return std::to_string(settings.speed) + ',' + settings.parity + ',' + std::to_string(settings.dataBits) + ','
           + std::to_string(settings.stopBits);
}
