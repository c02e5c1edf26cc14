#pragma once
// The serial port operations the station uses, one instance per port (the probe
// port and the scale port). The real one runs over QSerialPort; tests use an in-memory fake.

#include <functional>
#include <string>

// Speed, parity, data bits and stop bits of a settings text such as "4800,e,7,2".
struct SerialSettings {
    int speed = 4800;
    char parity = 'e'; // n, e, o, m, s
    int dataBits = 7;
    int stopBits = 2; // 1 or 2 (1.5 is accepted as 1.5 -> 15 is not used)
};

// Parses "4800,e,7,2"; false when the text does not parse.
bool ParseSerialSettings(const std::string& text, SerialSettings& out);
// The text a port reports for its settings: "4800,e,7,2", the parity letter in lower case (the
// port dialogs preselect their parity list from this letter).
std::string SerialSettingsText(const SerialSettings& settings);

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Port number 1..16; set only while the port is closed.
    virtual bool SetCommPort(int port) = 0;
    virtual int CommPort() const = 0;
    // Applied to the open or the closed port; a text that does not parse fails. Read back in the
    // form of SerialSettingsText ("4800,E,7,2" reads back as "4800,e,7,2").
    virtual bool SetSettings(const std::string& text) = 0;
    virtual std::string Settings() const = 0;
    // 0 none, 1 Xon/Xoff, 2 RTS, 3 Xon/RTS.
    virtual bool SetHandshaking(int mode) = 0;
    virtual int Handshaking() const = 0;
    // Opens (true) or closes (false); false when that failed.
    virtual bool SetPortOpen(bool open) = 0;
    virtual bool PortOpen() const = 0;
    // Bytes waiting to be read.
    virtual int InBufferCount() = 0;
    // Throws away what is waiting (the InBufferCount := 0 of the original control).
    virtual void ClearInBuffer() = 0;
    // Every waiting byte, in arrival order, one character per byte.
    virtual std::string Input() = 0;
    // Sends every character as one byte; false when the write failed.
    virtual bool Output(const std::string& bytes) = 0;
    // Text of the last failure, for the operator.
    virtual std::string LastError() const = 0;

    // Raised for communication errors and line events (OnComm).
    std::function<void()> onComm;
    // Raised when the device went away (hung up, unplugged); the port is closed by then and stays
    // closed until it is opened again (see PortWatch). The text says what happened.
    std::function<void(const std::string& reason)> onHangUp;
};
