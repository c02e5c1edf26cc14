// The station killed (SIGKILL, as a power cut or `kill -9` ends it) at each point of a record's
// way from the probe to the log, then started again: every record the probe was told is
// delivered is in the log exactly once, with the weight it was paired with.

#include "support/StationLine.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char* const kPoints[] = {"journal-synced:2", "ack-sent:2", "log-written:2", "log-synced:2"};

// The log's line of carcass `counter`, or empty.
std::string LineOf(const std::string& log, const std::string& counter)
{
    const size_t at = log.find('\t' + counter + '\t');
    if (at == std::string::npos)
        return {};
    const size_t start = log.rfind('\n', at) + 1;
    return log.substr(start, log.find('\n', at) - start);
}

struct KilledLine : StationLine {
    bool crashed = false;

    bool Start(const char* crashAt, const QStringList& arguments)
    {
        qputenv("TALLION_CRASH_AT", crashAt);
        const bool started = StartStation(arguments);
        qunsetenv("TALLION_CRASH_AT");
        return started;
    }

    // Waits for `done`; a station that died meanwhile is started again (once) and waited for.
    bool Await(const std::function<bool()>& done, const QStringList& arguments)
    {
        if (QTest::qWaitFor([&] { return done() || station.process().state() == QProcess::NotRunning; }, 30000)
            && done())
            return true;
        if (station.process().state() != QProcess::NotRunning || crashed)
            return false;
        crashed = station.process().exitStatus() == QProcess::CrashExit;
        return StartStation(arguments) && QTest::qWaitFor(done, 30000);
    }

    size_t Lines() const
    {
        const std::string text = Log();
        return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    }
};

TEST(ProgramKill, EveryAcknowledgedRecordIsLoggedOnce)
{
    for (const char* point : kPoints) {
        KilledLine line;
        SimulatedProbe& probe = line.Probe().probe;
        probe.SetMaxRetries(1000); // a record the station never acknowledged stays with the probe
        for (const char* counter : {"000001", "000002", "000003"})
            probe.QueueMessage(BasicRecord(counter));
        ASSERT_TRUE(line.Start(point, {})) << point;
        probe.Start();
        EXPECT_TRUE(line.Await([&] { return probe.PendingMessages() == 0 && line.Lines() >= 4; }, {})) << point;
        EXPECT_TRUE(line.crashed) << point << ": the station was not killed there";
        EXPECT_TRUE(LoggedOnceInOrder(line.Log(), {"000001", "000002", "000003"})) << point;
        EXPECT_EQ(line.Lines(), 4u) << point << '\n' << line.Log();
    }
}

TEST(ProgramKill, EveryAcknowledgedRecordKeepsItsWeight)
{
    const double kg[] = {92.1, 120.0, 77.3};
    const char* const weights[] = {" 92.10", "120.00", " 77.30"};
    for (const char* point : kPoints) {
        KilledLine line;
        for (const auto& [key, value] : {std::pair{"WgtScaleModel", "6"},
                                         {"HeaderCharacter", "$"},
                                         {"WeightStartPosition", "2"},
                                         {"Factor", "1"},
                                         {"WgtPrbOrder", "0"}})
            line.station.Setting(key, value);
        SimulatedProbe& probe = line.Probe().probe;
        SimulatedScale& scale = line.Scale().scale;
        ScaleMessageFormat format;
        format.protocol = ScaleProtocol::Generic;
        format.startPosition = DefaultStartPosition(ScaleProtocol::Generic);
        scale.SetFormat(format);
        probe.SetMaxRetries(1000);
        for (const char* counter : {"000201", "000202", "000203"})
            probe.QueueMessage(BasicRecord(counter));
        ASSERT_TRUE(line.Start(point, {"--weighing"})) << point;
        probe.Start();
        // Probe before weight: the results wait for their weights, which then log them one by one.
        ASSERT_TRUE(
            line.Await([&] { return probe.PendingMessages() == 0 && probe.Commands().size() >= 3; }, {"--weighing"}))
            << point;
        for (size_t i = 0; i < 3; ++i) {
            scale.SendWeight(kg[i]);
            ASSERT_TRUE(line.Await([&] { return line.Lines() >= i + 2; }, {"--weighing"})) << point << ' ' << i;
        }
        EXPECT_TRUE(line.crashed) << point << ": the station was not killed there";
        const std::string log = line.Log();
        EXPECT_TRUE(LoggedOnceInOrder(log, {"000201", "000202", "000203"})) << point;
        EXPECT_EQ(line.Lines(), 4u) << point << '\n' << log;
        for (size_t i = 0; i < 3; ++i)
            EXPECT_NE(LineOf(log, "00020" + std::to_string(i + 1)).find(std::string("\t") + weights[i] + '\t'),
                      std::string::npos)
                << point << '\n'
                << log;
    }
}

} // namespace
