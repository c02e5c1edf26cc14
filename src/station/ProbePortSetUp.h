#pragma once
// The probe port set up as the settings store describes it at start-up: its number
// ("RZ7PortNumber"), line settings and handshaking, then opened under its watch. A stored value
// that is no port or no settings text leaves the port as it was, with a warning on standard
// error; a port that does not open is tried again every second by the watch, so a station
// started before its adapter is plugged in comes up by itself.

class PortWatch;
class SerialPort;
class SettingsStore;

// Never waits. True when the port is open afterwards.
bool SetUpProbePort(const SettingsStore& settings, SerialPort& port, PortWatch& watch);
