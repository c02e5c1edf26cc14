#pragma once
// What the simulated instruments share: the device end of a serial line (a serial device or a
// pty master), read whenever bytes arrive and written without ever blocking the event loop for
// long. A simulated probe or scale says what the bytes mean.

#include <QObject>
#include <QSocketNotifier>

#include <string>

class SimulatedDevice : public QObject {
    Q_OBJECT
public:
    ~SimulatedDevice() override;

protected:
    // Works on `fd`; closes it at the end when `ownsFd`.
    SimulatedDevice(int fd, bool ownsFd, QObject* parent);

    // Called with every read of the line that brought bytes.
    virtual void BytesArrived(const std::string& bytes) = 0;

    // Writes all of `bytes` unless nobody drains the line, in which case the rest is lost, as on
    // a cable with no one listening. Returns how many bytes went out.
    size_t Write(const std::string& bytes);
    // Listens again after the line reported its end (a test device pulled and put back).
    void Listen() { readNotifier_.setEnabled(true); }

private:
    void OnReadable();

    int fd_;
    bool ownsFd_;
    QSocketNotifier readNotifier_;
};
