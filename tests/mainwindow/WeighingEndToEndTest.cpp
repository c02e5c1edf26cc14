// The station program with weighing, end to end: the simulated probe on port 1 and the simulated
// scale on port 2, each on a pseudo-terminal, the program started with --weighing, and the log
// file it writes. Set TALLION_REGENERATE=1 to write the reference logs in tests/data afresh
// (then check every weight, meat % and class in them by hand).

#include "support/E2eDeadlines.h"
#include "support/StationLine.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include <algorithm>
#include <map>
#include <sstream>
#include <vector>

namespace {

// Three carcasses as the probe measures them (fat, meat in tenths of mm, the probe's own % and
// class). Carcass 202's class letter does not match its percentage: the station's class counts.
const char* const kCarcasses[] = {
    "E01000201"
    "0120"
    "0550"
    "001203000450"
    "612"
    "AB"
    "S"
    "140533X",
    "E01000202"
    "0180"
    "0480"
    "001203000450"
    "541"
    "AB"
    "R"
    "140541X",
    "E01000203"
    "0095"
    "0620"
    "001203000450"
    "633"
    "AB"
    "S"
    "140549X",
};

struct Line {
    const char* what;
    std::map<std::string, std::string> settings;
    ScaleMessageFormat scale;
    std::vector<double> kg; // what the scale weighs for each carcass, in order
    const char* logged;     // counter, weight, meat %, class of each logged line
};

ScaleMessageFormat Scale(ScaleProtocol protocol, std::function<void(ScaleMessageFormat&)> options = {})
{
    ScaleMessageFormat format;
    format.protocol = protocol;
    format.startPosition = DefaultStartPosition(protocol);
    if (options)
        options(format);
    return format;
}

// Runs one line: weights and probe results in the order of the sequence; the log's text.
std::string RunLine(const Line& line)
{
    StationLine rig;
    QFile(rig.log).open(QIODevice::WriteOnly);
    for (const auto& [key, value] : line.settings)
        rig.station.Setting(key, value);
    SimulatedProbe& probe = rig.Probe().probe;
    SimulatedScale& scale = rig.Scale().scale;
    scale.SetFormat(line.scale);
    if (!rig.StartStation({"--weighing"}))
        return "<not started>";
    probe.Start();
    // The probe is configured once start-up is over, and with it the scale port is open.
    if (!QTest::qWaitFor([&] { return probe.Commands().size() >= 3; }, kStartUpMs))
        return "<no start-up commands>";
    // A weight sent before the scale port is open could be thrown away as the port opens.
    const QString scaleDevice = QString::fromStdString(rig.Scale().pty.slavePath());
    if (!QTest::qWaitFor([&] { return rig.station.HoldsOpen(scaleDevice); }, kStartUpMs))
        return "<scale port not open>" + rig.station.Told();

    const size_t n = line.kg.size();
    const bool weightFirst = line.settings.at("WgtPrbOrder") == "1";
    auto lines = [&] {
        const std::string text = rig.Log();
        return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    };
    // The station frames a scale message by a quiet tick, so each weighing must be taken on its
    // own before the next is sent: wait until the station has kept it in its journal of received
    // messages (weight first), or logged its carcass (probe first), rather than guessing how slow
    // a loaded machine is.
    auto taken = [&](size_t i) {
        return weightFirst ? rig.station.ScaleMessagesKept() >= static_cast<int>(i + 1) : lines() >= i + 2;
    };
    auto weigh = [&] {
        for (size_t i = 0; i < n; ++i) {
            scale.SendWeight(line.kg[i]);
            if (!QTest::qWaitFor([&] { return taken(i); }, kStepMs))
                return false;
        }
        return true;
    };
    if (weightFirst && !weigh())
        return "<a weight not taken>";
    for (size_t i = 0; i < n; ++i)
        probe.QueueMessage(kCarcasses[i]);
    // The station hands each message on before its ACK leaves: acknowledged results are waiting.
    if (!QTest::qWaitFor([&] { return probe.FramesAcked() >= static_cast<int>(n); }, kStepMs))
        return "<results not taken>";
    if (!weightFirst)
        static_cast<void>(weigh()); // a carcass not logged shows in the comparison
    // Whatever arrived by then is compared: a missing line shows there.
    static_cast<void>(QTest::qWaitFor([&] { return lines() >= n + 1; }, kStepMs));
    // The date is the station's own; everything else is the line's.
    return QString::fromStdString(rig.Log())
        .replace(QRegularExpression("\\d\\d-\\d\\d-\\d\\d\\d\\d"), "DD-MM-YYYY")
        .toStdString();
}

// Counter, weight, meat % and class of every result line.
std::string Columns(const std::string& log)
{
    std::istringstream lines(log);
    std::string line, out;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream values(line);
        for (std::string field; std::getline(values, field, '\t');)
            fields.push_back(field);
        if (fields.size() > 36)
            out += fields[4] + '/' + fields[36] + '/' + fields[13] + '/' + fields[15] + '\n';
    }
    return out;
}

void ExpectReferenceLog(const std::string& log, const QString& name)
{
    const QString path = TestDataFile(name);
    if (qEnvironmentVariableIsSet("TALLION_REGENERATE")) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(log.data(), static_cast<qint64>(log.size()));
    }
    EXPECT_EQ(log, StationProcess::ReadFile(path)) << name.toStdString();
}

// Lean meat % by the equation: up to 110 kg a = 50.933698, b = 0.312169, c = 0.037779,
// d = 2.411151; above, 44.99262, 0.191001, 0.042516, 3.181847; L = a - bX + cY + dY/X.
//   201 (X 12.0, Y 55.0, up to 110 kg): 50.933698 - 3.746028 + 2.077845 + 11.051109 = 60.3166
//   202 (X 18.0, Y 48.0, above 110 kg): 44.99262 - 3.438018 + 2.040768 + 8.484925 = 52.0803
//   203 (X 9.5, Y 62.0, up to 110 kg): 50.933698 - 2.965606 + 2.342298 + 15.735933 = 66.0463
const Line kWeightFirstToledo{
    "weight before probe, Mettler-Toledo with STX, SO/SI and checksum, equation",
    {{"WgtScaleModel", "3"},
     {"STX", "1"},
     {"SISO", "1"},
     {"CheckSum", "1"},
     {"WgtPrbOrder", "1"},
     {"UseWgtInEqu", "True"}},
    Scale(ScaleProtocol::MettlerToledo, [](ScaleMessageFormat& f) { f.stx = f.siso = f.checksum = true; }),
    {85.4, 111.5, 98.75},
    "000201/ 85.40/60.3/S\n000202/111.50/52.1/U\n000203/ 98.75/66.0/S\n"};

const Line kProbeFirstGeneric{"probe before weight, Generic, the probe's own percentage",
                              {{"WgtScaleModel", "6"},
                               {"HeaderCharacter", "$"},
                               {"WeightStartPosition", "2"},
                               {"Factor", "1"},
                               {"WgtPrbOrder", "0"},
                               {"UseWgtInEqu", "False"}},
                              Scale(ScaleProtocol::Generic),
                              {92.1, 120.0, 77.3},
                              "000201/ 92.10/61.2/S\n000202/120.00/54.1/U\n000203/ 77.30/63.3/S\n"};

} // namespace

TEST(WeighingEndToEnd, WeightBeforeProbeWithTheEquation)
{
    const std::string log = RunLine(kWeightFirstToledo);
    EXPECT_EQ(Columns(log), kWeightFirstToledo.logged);
    ExpectReferenceLog(log, "weighing-weight-first-toledo.dif");
}

TEST(WeighingEndToEnd, ProbeBeforeWeightWithTheProbesPercentage)
{
    const std::string log = RunLine(kProbeFirstGeneric);
    EXPECT_EQ(Columns(log), kProbeFirstGeneric.logged);
    ExpectReferenceLog(log, "weighing-probe-first-generic.dif");
}

TEST(WeighingEndToEnd, EveryOtherScaleProtocolPairsEachCarcassWithItsWeight)
{
    const Line lines[] = {
        {"Wedderburn with stable sign and header code, weight first",
         {{"WgtScaleModel", "4"}, {"StabilityCode", "1"}, {"HeaderCode", "1"}, {"WgtPrbOrder", "1"}},
         Scale(ScaleProtocol::Wedderburn, [](ScaleMessageFormat& f) { f.stableCode = f.headerCode = true; }),
         {85.4, 130},
         "000201/ 85.40/61.2/S\n000202/130.00/54.1/U\n"},
        {"EV2000 with header W at 3, probe first, equation",
         {{"WgtScaleModel", "7"},
          {"HeaderCharacter", "W"},
          {"EV2000StartPosition", "3"},
          {"WgtPrbOrder", "0"},
          {"UseWgtInEqu", "True"}},
         Scale(ScaleProtocol::EV2000,
               [](ScaleMessageFormat& f) {
                   f.header = "W";
                   f.startPosition = 3;
               }),
         {104.6, 115.2},
         "000201/104.60/60.3/S\n000202/115.20/52.1/U\n"},
        {"TU9000 at 20 with factor 0.5, weight first, equation",
         {{"WgtScaleModel", "8"}, {"Factor", "0.5"}, {"WgtPrbOrder", "1"}, {"UseWgtInEqu", "True"}},
         Scale(ScaleProtocol::TU9000),
         {170.8, 223},
         "000201/ 85.40/60.3/S\n000202/111.50/52.1/U\n"},
    };
    for (const Line& line : lines) {
        const std::string log = RunLine(line);
        EXPECT_EQ(Columns(log), line.logged) << line.what << ": " << log.substr(0, 400);
    }
}
