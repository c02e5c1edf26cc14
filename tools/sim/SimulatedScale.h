#pragma once
// A weight scale on a serial device or a pty master: sends one weight message per weighing in
// the protocol of the chosen model, on command or at a steady pace. The station never writes to
// a scale; anything it does send is kept so that tests can see it.
//
// Runs on the Qt event loop of the thread that creates it (socket notifier and a timer), so a
// test can drive it in the same process as the station.

#include "ScaleMessages.h"
#include "SimulatedDevice.h"

#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

class SimulatedScale : public SimulatedDevice {
    Q_OBJECT
public:
    // Works on `fd` without owning it (the caller closes it afterwards).
    explicit SimulatedScale(int fd, QObject* parent = nullptr);
    ~SimulatedScale() override;

    void SetFormat(const ScaleMessageFormat& format) { format_ = format; }
    const ScaleMessageFormat& Format() const { return format_; }

    // Sends the message of one weighing now; false when the line did not take all of it.
    bool SendWeight(double kg);
    // Sends bytes as they stand (a broken or foreign message).
    bool SendRaw(const std::string& bytes);

    // A weighing every `ms` with the weight that `next` gives; `next` returns false when it has
    // no more weights, which stops the pace.
    void Start(int ms, std::function<bool(double& kg)> next);
    void Stop();
    bool IsRunning() const { return paceTimer_.isActive(); }

    int MessagesSent() const { return messagesSent_; }
    // Everything the other end sent to the scale.
    const std::string& ReceivedBytes() const { return received_; }

signals:
    // The bytes of a message just sent, one character per byte.
    void messageSent(QString bytes);

private:
    friend class SimulatedDevice; // Open() makes one that owns its line
    SimulatedScale(Line line, QObject* parent);
    void BytesArrived(const std::string& bytes) override { received_ += bytes; }
    void OnPace();
    bool Send(const std::string& bytes);

    QTimer paceTimer_;
    ScaleMessageFormat format_;
    std::function<bool(double&)> next_;
    int messagesSent_ = 0;
    std::string received_;
};
