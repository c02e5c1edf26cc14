// The current carcass window: its labels, frames and weight box, and the pairing it shows.

#include "carcass/PairingRig.h"

#include "carcass/CarcassRoles.h"
#include "carcasswindow/CurrentCarcassWindow.h"
#include "station/StationPairings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The window over a recording station side.
struct LedRig {
    explicit LedRig(WeightSource source = WeightSource::NoWeight, bool weightBeforeProbe = true)
    {
        weighing.weightSource = source;
        weighing.weightBeforeProbe = weightBeforeProbe;
        QObject::connect(&pairings.currentDisplay(), &PairingDisplayModel::statusPanel1Shown,
                         [this](const std::string& text) { statusPanel1 = text; });
        window.ShowWeighingFrames(source);
    }
    QLineEdit* Box() { return window.findChild<QLineEdit*>("LEDWeight"); }

    WeighingState weighing;
    CurrentProbeResult result;
    PendingQueue queue;
    FakeStationSide side;
    std::string statusPanel1;
    StationPairings pairings{StationPairingLinks{weighing, result, queue, side, side, side}};
    CurrentCarcassWindow window{CurrentCarcassWindowLinks{pairings.currentDisplay(), pairings, side}};
};

} // namespace

TEST(CarcassRolesTest, CounterAndQualityTexts)
{
    struct Case {
        std::string in;
        std::string counter;
        std::string quality;
        // clang-format off
    } cases[] = {
        {"000123", "123", "000123"},
        {"040000", "40000", "040000"},
        {"   77", "   77", "77"},
        {"000000", "0", "000000"},
        {"", "", ""},
        {"    ", "    ", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(CounterRoleText(c.in), c.counter) << c.in;
        EXPECT_EQ(QualityRoleText(c.in), c.quality) << c.in;
    }
}

TEST(CurrentCarcassWindowTest, NoWeightPathShowsAndFinishesEachResult)
{
    LedRig rig;
    CurrentProbeResult& result = rig.result;
    CurrentCarcassWindow& window = rig.window;
    CarcassPairing& pairing = rig.pairings.current();
    const std::vector<CarcassMeasurement>& finished = rig.side.logged;

    struct Case {
        const char* what;
        std::string count, colour1, carcassClass, meatPercent;
        std::string counterShown, qualityShown;
        // clang-format off
    } cases[] = {
        {"colour result", "000123", "   77", "S", "61.2", "123", "77"},
        {"leading zero inside", "040000", "", "E", "55.0", "40000", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        result.currentMeasurement = CarcassMeasurement{};
        result.currentMeasurement.kind = 'J';
        result.currentMeasurement.carcassCount = c.count;
        result.currentMeasurement.colour1 = c.colour1;
        result.currentMeasurement.carcassClass = c.carcassClass;
        result.currentMeasurement.meatPercent = c.meatPercent;
        rig.side.Log(pairing.OnProbeResult());
        EXPECT_EQ(window.Text("LEDcou"), QString::fromStdString(c.counterShown)) << c.what;
        EXPECT_EQ(window.Text("LEDcol"), QString::fromStdString(c.qualityShown)) << c.what;
        EXPECT_EQ(window.Text("LEDcla"), QString::fromStdString(c.carcassClass)) << c.what;
        EXPECT_EQ(window.Text("LEDmea"), QString::fromStdString(c.meatPercent)) << c.what;
        EXPECT_TRUE(window.Text("LblWgt").isEmpty()) << c.what;
        // Finished with an empty weight; the record keeps one space until the next decode.
        ASSERT_FALSE(finished.empty());
        EXPECT_EQ(finished.back().weight, "") << c.what;
        EXPECT_EQ(result.currentMeasurement.weight, " ") << c.what;
    }
    EXPECT_EQ(finished.size(), 2u);

    // A cancel is finished too, with its own message; the numbers shown stay.
    result.currentMeasurement.kind = 'C';
    result.currentMeasurement.alertText = "Cancel      000124";
    rig.side.Log(pairing.OnProbeResult());
    EXPECT_EQ(window.Text("LEDerr"), "Cancel probe measurement");
    ASSERT_EQ(finished.size(), 3u);
    EXPECT_EQ(finished.back().alertText, "Cancel      000124");
    EXPECT_EQ(window.Text("LEDcou"), "40000");
}

TEST(CurrentCarcassWindowTest, TimersRunTheirPairingSteps)
{
    LedRig rig(WeightSource::MettlerToledo);
    auto* prompt = rig.pairings.findChild<QTimer*>("Timer1S");
    auto* refresh = rig.pairings.findChild<QTimer*>("Timer2Sec");
    rig.result.currentMeasurement.kind = 'E';
    rig.result.currentMeasurement.carcassCount = "000007";
    rig.side.Log(rig.pairings.current().OnProbeResult());
    EXPECT_EQ(rig.side.commands, std::vector<std::string>{"8"});
    EXPECT_EQ(rig.statusPanel1, "Input weight first");
    EXPECT_TRUE(prompt->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.side.commands.size() == 2; }, 1500));
    EXPECT_EQ(rig.side.commands.back(), "2*AAAWeight?");
    EXPECT_FALSE(prompt->isActive());

    // A pairing that leaves weights waiting starts the refresh; the next weight stops it.
    rig.queue.weights = {" 85.40", " 92.10"};
    rig.queue.count = rig.queue.writeIndex = 2;
    rig.side.Log(rig.pairings.current().OnProbeResult());
    EXPECT_EQ(rig.window.Text("LblWgt"), " 85.40");
    EXPECT_TRUE(refresh->isActive());
    rig.side.reading = ScaleReading{"90", ""};
    rig.window.findChild<QPushButton*>("cmdWeightIn")->click();
    EXPECT_FALSE(refresh->isActive());
    EXPECT_EQ(rig.window.Text("Label1"), "2");
}
