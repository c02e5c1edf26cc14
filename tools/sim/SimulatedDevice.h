#pragma once
// What the simulated instruments share: the device end of a serial line (a serial device or a
// pty master), read whenever bytes arrive and written without ever blocking the event loop for
// long. A simulated probe or scale says what the bytes mean.

#include "PtyPair.h"

#include <QObject>
#include <QSocketNotifier>

#include <memory>
#include <string>

class SimulatedDevice : public QObject {
    Q_OBJECT
public:
    ~SimulatedDevice() override;

    // A simulator of kind `Device` on the serial device at `path` with line settings such as
    // "4800,e,7,2", or on a pseudo-terminal pair of its own when `path` is empty; null with
    // `error` set when neither opens. The simulator owns what it opened.
    template <class Device>
    static std::unique_ptr<Device> Open(const std::string& path, const std::string& lineSettings, std::string& error)
    {
        Line line = OpenLine(path, lineSettings, error);
        if (line.fd < 0)
            return nullptr;
        return std::unique_ptr<Device>(new Device(std::move(line), nullptr));
    }

    // The path the station opens when the simulator has a pseudo-terminal pair of its own; empty
    // otherwise.
    std::string SlavePath() const { return pty_ ? pty_->slavePath() : std::string(); }
    // Throws away what it sent that nobody read on its own pair's slave side (a station that did
    // not answer has not read the polls either; they are stale by now).
    void DiscardUnread();

protected:
    // The descriptor a simulator works on, and what it owns of it.
    struct Line {
        int fd = -1;
        bool ownsFd = false;          // a serial device opened by path
        std::unique_ptr<PtyPair> pty; // a pair of its own; fd is its master
    };
    SimulatedDevice(Line line, QObject* parent);

    // Called with every read of the line that brought bytes.
    virtual void BytesArrived(const std::string& bytes) = 0;

    // Writes all of `bytes` unless nobody drains the line, in which case the rest is lost, as on
    // a cable with no one listening. Returns how many bytes went out.
    size_t Write(const std::string& bytes);
    // Listens again after the line reported its end (a test device pulled and put back).
    void Listen() { readNotifier_.setEnabled(true); }

private:
    static Line OpenLine(const std::string& path, const std::string& lineSettings, std::string& error);
    void OnReadable();

    std::unique_ptr<PtyPair> pty_;
    int fd_;
    bool ownsFd_;
    QSocketNotifier readNotifier_;
};
