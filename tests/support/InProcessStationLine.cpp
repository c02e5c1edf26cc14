#include "support/InProcessStationLine.h"

#include "probe/SerialPortQt.h"

InProcessStationLine::~InProcessStationLine()
{
    window.reset();
    core.reset();
}

ScaleDevice& InProcessStationLine::Scale()
{
    if (!scale_)
        scale_ = std::make_unique<ScaleDevice>(scaleLink);
    return *scale_;
}

MainWindow& InProcessStationLine::StartWindow(bool withWeighing)
{
    settings.WriteSetting("Properties", "LogFilePath", log.toStdString());
    if (scale_)
        settings.WriteSetting("Properties", "WeightPortNum", "2");
    window = std::make_unique<MainWindow>(settings, dialogs, Port(), Port());
    window->StartUp(withWeighing);
    return *window;
}

StationCore& InProcessStationLine::StartCore()
{
    core = std::make_unique<StationCore>(Port(), Port());
    core->scalePort().SetCommPort(2);
    core->receiveTick().resume();
    return *core;
}

std::unique_ptr<SerialPort> InProcessStationLine::Port() const
{
    return std::make_unique<SerialPortQt>([this](int port) { return port == 2 ? scaleLink : probeLink; });
}
