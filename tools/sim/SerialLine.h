#pragma once
// Opening a real serial device for a simulated instrument, raw and non-blocking.

#include <string>

// Opens `path` read-write, raw, non-blocking and without making it the controlling terminal,
// with line settings such as "4800,e,7,2" (speed, parity n/e/o, data bits, stop bits).
// Returns the descriptor, or -1 with `error` set.
int OpenSerialDevice(const std::string& path, const std::string& settings, std::string& error);
