#include "weighing/ScaleCollector.h"

#include <algorithm>

ScaleCollector::ScaleCollector(SerialPort& port, QObject* parent)
    : QObject(parent)
    , port_(port)
{}

void ScaleCollector::OnScaleTick()
{
    if (!port_.PortOpen()) {
        // Whatever was half received belongs to a line that is gone.
        carried_.clear();
        lastScaleByteCount_ = 0;
        return;
    }
    const int waiting = static_cast<int>(carried_.size()) + port_.InBufferCount();
    if (waiting == 0)
        return;
    if (waiting != lastScaleByteCount_ && waiting <= kMaxMessage) {
        // Still arriving; the count that matters is the one now.
        lastScaleByteCount_ = static_cast<int>(carried_.size()) + port_.InBufferCount();
        return;
    }
    emit linkAlive();
    // Every waiting byte is read and nothing is thrown away: bytes beyond the counted ones
    // arrived after the count and open the next message.
    std::string bytes = std::move(carried_) + port_.Input();
    const size_t counted = static_cast<size_t>(waiting);
    carried_ = bytes.size() > counted ? bytes.substr(counted) : std::string();
    bytes.resize(std::min(bytes.size(), counted));
    message_ = std::move(bytes);
    emit weightArrived();
    lastScaleByteCount_ = 0;
}
