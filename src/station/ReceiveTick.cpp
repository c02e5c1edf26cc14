#include "station/ReceiveTick.h"

#include "probe/OperatorNotices.h"

ReceiveTick::ReceiveTick(QObject* parent)
    : QObject(parent)
{
    // The station's name for it: tests and the glossary know it by this.
    timer_.setObjectName(QStringLiteral("RxTimer"));
    timer_.setParent(this);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &ReceiveTick::RunTick);
}

void ReceiveTick::pause()
{
    timer_.stop();
}

void ReceiveTick::resume()
{
    timer_.start();
}

void ReceiveTick::RunTick()
{
    const ReceiveTickScope inTick;
    emit scaleHalf();
    emit probeHalf();
    emit tickEnded();
}
