#include "support/StationLine.h"

#include <QTest>

bool StationLine::StartStation(const QStringList& arguments)
{
    if (!log.isEmpty())
        station.Setting("LogFilePath", log.toStdString());
    QStringList ports{"--port", "1=" + link};
    if (scale_) {
        station.Setting("WeightPortNum", "2");
        ports += QStringList{"--port", "2=" + scaleLink};
    }
    Probe();
    return station.Start(ports + arguments);
}

ProbeDevice& StationLine::PlugProbe()
{
    device_.reset();
    device_ = std::make_unique<ProbeDevice>(link);
    return *device_;
}

ScaleDevice& StationLine::Scale()
{
    if (!scale_)
        scale_ = std::make_unique<ScaleDevice>(scaleLink);
    return *scale_;
}

bool StationLine::WaitLogged(const char* counter, int ms)
{
    const std::string field = std::string("\t") + counter + "\t";
    return QTest::qWaitFor([&] { return Log().find(field) != std::string::npos; }, ms);
}
