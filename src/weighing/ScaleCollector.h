#pragma once
// The scale half of the 50 ms receive tick: gathers the bytes of one scale message on the scale
// port and announces it once the line has been quiet for a tick.

#include "probe/SerialPort.h"

#include <QObject>
#include <string>

class ScaleCollector : public QObject {
    Q_OBJECT
public:
    // A line that never falls quiet (noise, a scale sending without pause) is taken as it
    // stands once this much waits, rather than buffering for ever.
    static constexpr int kMaxMessage = 4096;

    explicit ScaleCollector(SerialPort& port, QObject* parent = nullptr);

    // One tick. Does nothing while the port is closed or nothing waits. Never waits itself.
    void OnScaleTick();

    // The last complete message, one character per byte, control bytes included.
    const std::string& scaleMessage() const { return message_; }
    // A message taken before the station stopped, brought back from the journal of received
    // messages to be paired again; nothing is announced.
    void RestoreMessage(const std::string& text) { message_ = text; }
    // Bytes that were waiting at the previous tick; 0 after a message was taken.
    int lastScaleByteCount() const { return lastScaleByteCount_; }

signals:
    // A message was taken: the probe link counts as alive (probeLinkAlive := true), as the
    // station has always treated traffic on the scale line.
    void linkAlive();
    // scaleMessage holds a new message (the weight arrival). Emitted inside the tick;
    // whoever handles it must not wait.
    void weightArrived();

private:
    SerialPort& port_;
    std::string message_;
    // Bytes read beyond the counted message: the start of the next one, kept, never dropped.
    std::string carried_;
    int lastScaleByteCount_ = 0;
};
