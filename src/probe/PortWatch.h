#pragma once
// Keeps a serial port open for as long as the station wants it: a port that does not open, or
// whose device goes away (a USB adapter pulled, a cable's far end gone), is tried again about
// once a second until it opens, without any busy loop. The owner hears of each loss and each
// return once.

#include "probe/SerialPort.h"

#include <QObject>
#include <QString>
#include <QTimer>

class PortWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryIntervalMs = 1000;

    // Takes the port's hang-up reports from here on.
    explicit PortWatch(SerialPort& port, QObject* parent = nullptr);
    ~PortWatch() override;

    // The port is wanted open from now on. Opens it now if it can (true), else keeps trying.
    bool Open();
    // Not wanted any more: closes the port and stops trying.
    void Close();

    bool Wanted() const { return wanted_; }
    // Wanted but not open: the device is gone or does not open.
    bool Lost() const { return lost_; }
    QString LostReason() const { return reason_; }

    // One retry, as the timer makes it.
    void Retry();

signals:
    // `hungUp`: an open port's device went away (rather than a port that did not open).
    void portLost(const QString& reason, bool hungUp);
    void portBack();

private:
    void OnHangUp(const std::string& reason);
    void NoteLost(const QString& reason, bool hungUp);

    SerialPort& port_;
    QTimer retryTimer_;
    bool wanted_ = false;
    bool lost_ = false;
    QString reason_;
};
