#pragma once
// The main window's status bar: its seven panels by what each shows (numbered from 1, as the
// station has always numbered them).

namespace StatusPanel {
constexpr int ProbeStatus = 1; // "Connect Probe", "Probe Connection Lost", the probe's errors
constexpr int ProbePort = 2;
constexpr int ScalePort = 3;
constexpr int Printer = 4; // the printer's state while results print as they come
constexpr int LogFile = 5;
constexpr int ProbeSerial = 6; // the probe's serial number
constexpr int Elapsed = 7;     // time since start
} // namespace StatusPanel
