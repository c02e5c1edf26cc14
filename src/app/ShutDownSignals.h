#pragma once
// SIGTERM, SIGINT and SIGHUP (a system shut-down, kill, Ctrl+C, a closed terminal) end the station
// through its normal shut-down. The handler only writes the signal's number into a pipe; the
// event loop reads it and raises `requested` like any other event.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class ShutDownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutDownSignals(QObject* parent = nullptr);
    ~ShutDownSignals() override;

    // False when the pipe or a handler could not be set up (the signals then act as before).
    bool Installed() const { return notifier_ != nullptr; }

signals:
    void requested(int signalNumber);

private:
    void OnReadable();

    std::unique_ptr<QSocketNotifier> notifier_;
};
