#include "probe/PortWatch.h"

PortWatch::PortWatch(SerialPort& port, QObject* parent)
    : QObject(parent)
    , port_(port)
{
    retryTimer_.setInterval(kRetryIntervalMs);
    connect(&retryTimer_, &QTimer::timeout, this, &PortWatch::Retry);
    port_.onHangUp = [this](const std::string& reason) { OnHangUp(reason); };
}

PortWatch::~PortWatch()
{
    port_.onHangUp = nullptr;
}

bool PortWatch::Open()
{
    wanted_ = true;
    if (port_.PortOpen() || port_.SetPortOpen(true)) {
        retryTimer_.stop();
        if (lost_) {
            lost_ = false;
            reason_.clear();
            emit portBack();
        }
        return true;
    }
    NoteLost(QString::fromStdString(port_.LastError()), false);
    return false;
}

void PortWatch::Close()
{
    wanted_ = false;
    lost_ = false;
    reason_.clear();
    retryTimer_.stop();
    if (port_.PortOpen())
        port_.SetPortOpen(false);
}

void PortWatch::Retry()
{
    if (!wanted_) {
        retryTimer_.stop();
        return;
    }
    Open();
}

void PortWatch::OnHangUp(const std::string& reason)
{
    if (port_.PortOpen())
        port_.SetPortOpen(false);
    if (!wanted_)
        return;
    NoteLost(QString::fromStdString(reason), true);
}

void PortWatch::NoteLost(const QString& reason, bool hungUp)
{
    if (!retryTimer_.isActive())
        retryTimer_.start();
    if (lost_)
        return;
    lost_ = true;
    reason_ = reason;
    emit portLost(reason, hungUp);
}
