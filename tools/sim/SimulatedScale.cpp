#include "SimulatedScale.h"

SimulatedScale::SimulatedScale(int fd, QObject* parent)
    : SimulatedScale(Line{fd, false, nullptr}, parent)
{}

SimulatedScale::SimulatedScale(Line line, QObject* parent)
    : SimulatedDevice(std::move(line), parent)
{
    paceTimer_.setTimerType(Qt::PreciseTimer);
    connect(&paceTimer_, &QTimer::timeout, this, &SimulatedScale::OnPace);
}

SimulatedScale::~SimulatedScale() = default;

bool SimulatedScale::SendWeight(double kg)
{
    ++messagesSent_;
    return Send(ScaleMessage(kg, format_, messagesSent_));
}

bool SimulatedScale::SendRaw(const std::string& bytes)
{
    return Send(bytes);
}

void SimulatedScale::Start(int ms, std::function<bool(double& kg)> next)
{
    next_ = std::move(next);
    paceTimer_.start(ms);
}

void SimulatedScale::Stop()
{
    paceTimer_.stop();
}

void SimulatedScale::OnPace()
{
    double kg = 0;
    if (!next_ || !next_(kg)) {
        paceTimer_.stop();
        return;
    }
    SendWeight(kg);
}

bool SimulatedScale::Send(const std::string& bytes)
{
    const size_t done = Write(bytes);
    emit messageSent(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(done)));
    return done == bytes.size();
}
