#pragma once
// Whether, and by whom, a serial device is held, in words for the operator. QSerialPort locks a
// device with a file "LCK..<name>" in the system's lock folder, named after the path it is given:
// a port is therefore opened by its resolved device path, so that every name of one device (a
// /dev/serial/by-id/ link and /dev/ttyUSB0) takes the same lock.

#include <QString>

// `path` with every symbolic link resolved; `path` itself when it cannot be (no such device).
QString ResolvedDevice(const QString& path);

// The holder of `device` as its lock file tells it ("tallion (process 1234)"); empty when no lock
// file names a running process.
QString DeviceLockHolder(const QString& device);

// "/dev/ttyUSB0 is in use by tallion (process 1234); close it there or choose another port." The
// name given is shown with the device it leads to when the two differ; without a holder, "another
// program or station".
QString PortHeldText(const QString& given, const QString& device, const QString& holder);
