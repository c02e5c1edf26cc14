// The scale line end to end: the simulated scale on a pseudo-terminal, the station core's
// collector over the real serial port on the slave side, and the parser of each protocol.

#include "probe/TextNumber.h"
#include "support/E2eDeadlines.h"
#include "support/InProcessStationLine.h"
#include "weighing/WeightParsers.h"

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include <string>

namespace {

ScaleMessageFormat Format(ScaleProtocol protocol)
{
    ScaleMessageFormat f;
    f.protocol = protocol;
    f.startPosition = DefaultStartPosition(protocol);
    return f;
}

} // namespace

TEST(ScaleEndToEnd, EveryProtocolGivesItsWeightThroughTheRealPort)
{
    ScaleOptions options;
    options.ev2000 = {"w", "3", "1"};
    options.tu9000.factor = "0.5";

    ScaleMessageFormat toledoAll = Format(ScaleProtocol::MettlerToledo);
    toledoAll.stx = toledoAll.siso = toledoAll.checksum = true;
    ScaleMessageFormat toledoStxSum = Format(ScaleProtocol::MettlerToledo);
    toledoStxSum.stx = toledoStxSum.checksum = toledoStxSum.decimalComma = true;
    ScaleMessageFormat wedderburnBoth = Format(ScaleProtocol::Wedderburn);
    wedderburnBoth.stableCode = wedderburnBoth.headerCode = true;
    ScaleMessageFormat wedderburnHeader = Format(ScaleProtocol::Wedderburn);
    wedderburnHeader.headerCode = wedderburnHeader.decimalComma = true;
    ScaleMessageFormat ev2000 = Format(ScaleProtocol::EV2000);
    ev2000.header = "W";
    ev2000.startPosition = 3;

    const struct {
        const char* name;
        ScaleMessageFormat format;
        WeightSource source;
        ToledoOptions toledo;
        WedderburnOptions wedderburn;
        double kg;
        const char* weight;
    } cases[] = {
        {"Toledo, all options", toledoAll, WeightSource::MettlerToledo, {true, true, true}, {}, 85.4, "  85.40"},
        {"Toledo, STX and checksum, comma",
         toledoStxSum,
         WeightSource::MettlerToledo,
         {true, false, true},
         {},
         92.15,
         "  92.15"},
        {"Toledo, plain", Format(ScaleProtocol::MettlerToledo), WeightSource::MettlerToledo, {}, {}, 101.2, " 101.20"},
        {"Wedderburn, both", wedderburnBoth, WeightSource::Wedderburn, {}, {true, true}, 85.4, "0085.40"},
        {"Wedderburn, header code, comma",
         wedderburnHeader,
         WeightSource::Wedderburn,
         {},
         {false, true},
         77.3,
         "0077.30"},
        {"Wedderburn, plain", Format(ScaleProtocol::Wedderburn), WeightSource::Wedderburn, {}, {}, 130, "0130.00"},
        {"Generic", Format(ScaleProtocol::Generic), WeightSource::Generic, {}, {}, 123.5, "123.5"},
        {"EV2000, header W at 3", ev2000, WeightSource::EV2000, {}, {}, 85.4, "85.4"},
        {"TU9000 at 20, factor 0.5", Format(ScaleProtocol::TU9000), WeightSource::TU9000, {}, {}, 170.8, "85.4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InProcessStationLine line;
        SimulatedScale& scale = line.PlugScale().scale;
        StationCore& station = line.StartCore(c.source == WeightSource::MettlerToledo ? "9600,e,7,1" : "4800,e,7,2");
        ASSERT_TRUE(station.scalePort().PortOpen()) << station.scalePort().LastError();
        scale.SetFormat(c.format);
        options.toledo = c.toledo;
        options.wedderburn = c.wedderburn;

        ASSERT_TRUE(scale.SendWeight(c.kg));
        ASSERT_TRUE(QTest::qWaitFor([&] { return line.scaleMessages.size() >= 1; }, kStepMs));
        const WeightParseResult result = ParseScaleWeight(c.source, line.scaleMessages.front(), options);
        EXPECT_EQ(result.outcome, WeightParseResult::Outcome::Weight) << result.errorText;
        EXPECT_EQ(result.weight, c.weight);
        // One message, one weight; nothing goes back to the scale.
        QTest::qWait(150);
        EXPECT_EQ(line.scaleMessages.size(), 1u);
        EXPECT_EQ(scale.ReceivedBytes(), "");
    }
}

TEST(ScaleEndToEnd, ScaleProgramOnItsOwnPseudoTerminal)
{
    QProcess program;
    program.start(BuiltProgram("tallion-scale-sim"),
                  {"--pty", "--protocol", "wedderburn", "--stable", "--every", "100", "--seed", "3"});
    ASSERT_TRUE(program.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return program.canReadLine(); }, kStepMs));
    const QString first = QString::fromLatin1(program.readLine()).trimmed();
    ASSERT_TRUE(first.startsWith("slave: ")) << first.toStdString();

    InProcessStationLine line;
    const DeviceLink plugged(line.scaleLink, first.mid(7).toStdString());
    StationCore& station = line.StartCore("9600,e,7,1");
    ASSERT_TRUE(station.scalePort().PortOpen()) << station.scalePort().LastError();
    ASSERT_TRUE(QTest::qWaitFor([&] { return line.scaleMessages.size() >= 1; }, kStepMs));
    WedderburnOptions stable;
    stable.StableCode = true;
    // Weighings that went out before the port opened arrive together; the first one counts.
    const WeightParseResult result = ParseWedderburnWeight(line.scaleMessages.front(), stable);
    ASSERT_TRUE(result.HasWeight()) << result.errorText;
    EXPECT_GE(NumberInText(result.weight), 70.0) << result.weight;
    EXPECT_LE(NumberInText(result.weight), 130.0) << result.weight;
    EXPECT_EQ(result.weight.size(), 7u) << result.weight;

    program.terminate();
    program.waitForFinished(3000);
}
