#pragma once
// The 50 ms receive tick: each tick runs the scale half, then the probe half, then whatever
// follows the link's state (the window's Find and Print). Holders of the probe port (a firmware
// download) pause it and resume it when done; nobody else touches its timer.

#include <QObject>
#include <QTimer>

class ReceiveTick : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 50;

    explicit ReceiveTick(QObject* parent = nullptr);

    void pause();
    void resume();
    bool isRunning() const { return timer_.isActive(); }
    int interval() const { return timer_.interval(); }

    // One tick, as the timer runs it.
    void RunTick();

signals:
    // In this order, each tick; they run inside the tick, so they tell the operator only through
    // notices.
    void scaleHalf();
    void probeHalf();
    void tickEnded();

private:
    QTimer timer_;
};
