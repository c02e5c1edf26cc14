#include "station/ProbePortSetUp.h"

#include "probe/PortWatch.h"
#include "probe/SerialPort.h"
#include "settings/StartUpValues.h"

#include <QtGlobal>

bool SetUpProbePort(const SettingsStore& settings, SerialPort& port, PortWatch& watch)
{
    const ProbePortConfig config = ReadProbePortConfig(settings);
    if (!config.port)
        qWarning("Probe port: stored port number \"%s\" is not a port; left unchanged", config.portText.c_str());
    else if (!port.SetCommPort(*config.port))
        qWarning("Probe port: cannot select port %d", *config.port);
    if (!config.settings || !port.SetSettings(*config.settings))
        qWarning("Probe port: settings \"%s\" not applied", config.settingsText.c_str());
    if (config.handshaking)
        port.SetHandshaking(*config.handshaking);

    if (watch.Open())
        return true;
    qWarning("Probe port %d cannot be opened: %s", port.CommPort(), port.LastError().c_str());
    return false;
}
