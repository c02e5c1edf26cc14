#include "support/StationLine.h"

#include <QTest>

bool StationLineTest::StartStation(const QStringList& arguments)
{
    station.Setting("LogFilePath", log.toStdString());
    Probe();
    return station.Start(QStringList{"--port", "1=" + link} + arguments);
}

ProbeDevice& StationLineTest::PlugProbe()
{
    device_.reset();
    device_ = std::make_unique<ProbeDevice>(link);
    return *device_;
}

bool StationLineTest::WaitLogged(const char* counter, int ms)
{
    const std::string field = std::string("\t") + counter + "\t";
    return QTest::qWaitFor([&] { return Log().find(field) != std::string::npos; }, ms);
}
