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

    // Waits for `done` and for the station to answer the probe after it (a station killed at
    // that very instant is seen); a station that died meanwhile is started again and waited for.
    bool Await(const std::function<bool()>& done, const QStringList& arguments)
    {
        for (int start = 0; start < 2; ++start) {
            int answersWhenDone = -1;
            auto doneAndAlive = [&] {
                if (!done())
                    return false;
                const int answers = Probe().probe.CommandPollsAnsweredEot();
                if (answersWhenDone < 0)
                    answersWhenDone = answers;
                return answers > answersWhenDone;
            };
            static_cast<void>(QTest::qWaitFor(
                [&] { return doneAndAlive() || station.process().state() == QProcess::NotRunning; }, 30000));
            if (station.process().state() != QProcess::NotRunning)
                return doneAndAlive();
            crashed = crashed || station.process().exitStatus() == QProcess::CrashExit;
            if (!StartStation(arguments))
                return false;
        }
        return false;
    }

    size_t Lines() const
    {
        const std::string text = Log();
        return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    }
};

// One station killed at one point (the second time it passes it), with or without weighing.
class ProgramKill : public ::testing::TestWithParam<std::tuple<const char*, bool>> {};

TEST_P(ProgramKill, EveryAcknowledgedRecordIsLoggedOnceWithItsWeight)
{
    const auto [point, weighing] = GetParam();
    KilledLine line;
    SimulatedProbe& probe = line.Probe().probe;
    probe.SetMaxRetries(1000); // a record the station never acknowledged stays with the probe
    for (const char* counter : {"000201", "000202", "000203"})
        probe.QueueMessage(BasicRecord(counter));
    const QStringList arguments = weighing ? QStringList{"--weighing"} : QStringList{};

    if (!weighing) {
        ASSERT_TRUE(line.Start(point, arguments));
        probe.Start();
        EXPECT_TRUE(line.Await([&] { return probe.PendingMessages() == 0 && line.Lines() >= 4; }, arguments));
    } else {
        // Probe before weight, a Generic scale: the results wait for their weights, which then log
        // them one by one.
        for (const auto& [key, value] : {std::pair{"WgtScaleModel", "6"},
                                         {"HeaderCharacter", "$"},
                                         {"WeightStartPosition", "2"},
                                         {"Factor", "1"},
                                         {"WgtPrbOrder", "0"}})
            line.station.Setting(key, value);
        SimulatedScale& scale = line.Scale().scale;
        ScaleMessageFormat format;
        format.protocol = ScaleProtocol::Generic;
        format.startPosition = DefaultStartPosition(ScaleProtocol::Generic);
        scale.SetFormat(format);
        ASSERT_TRUE(line.Start(point, arguments));
        probe.Start();
        ASSERT_TRUE(
            line.Await([&] { return probe.PendingMessages() == 0 && probe.Commands().size() >= 3; }, arguments));
        for (const double kg : {92.1, 120.0, 77.3}) {
            const size_t before = line.Lines();
            scale.SendWeight(kg);
            ASSERT_TRUE(line.Await([&] { return line.Lines() > std::max<size_t>(before, 1); }, arguments)) << kg;
        }
    }
    EXPECT_TRUE(line.crashed) << "the station was not killed there";
    const std::string log = line.Log();
    EXPECT_TRUE(LoggedOnceInOrder(log, {"000201", "000202", "000203"}));
    EXPECT_EQ(line.Lines(), 4u) << log;
    if (weighing) {
        EXPECT_NE(LineOf(log, "000201").find("\t 92.10\t"), std::string::npos) << log;
        EXPECT_NE(LineOf(log, "000202").find("\t120.00\t"), std::string::npos) << log;
        EXPECT_NE(LineOf(log, "000203").find("\t 77.30\t"), std::string::npos) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(EachPoint, ProgramKill, ::testing::Combine(::testing::ValuesIn(kPoints), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<ProgramKill::ParamType>& param) {
                             std::string name = std::get<0>(param.param);
                             name = name.substr(0, name.find(':'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name + (std::get<1>(param.param) ? "_weighing" : "");
                         });

} // namespace
