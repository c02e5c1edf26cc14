// What a paired carcass is finished with, and what each window shows of it.

#include "PairingRig.h"

#include <gtest/gtest.h>

TEST(PairingResultTest, EquationReplacesTheProbesPercentOnlyWhenChosen)
{
    const struct {
        bool useEquation;
        const char* weight;
        const char* probePercent;
        const char* logged; // weight/meat %/class
    } cases[] = {
        {false, "95", "58.3", " 95.00/58.3/E"}, {true, "95", "58.3", " 95.00/60.3/S"},
        {true, "111", "58.3", "111.00/59.6/E"}, {true, "110", "58.3", "110.00/60.3/S"},
        {false, "95", "61.0", " 95.00/61.0/S"}, // the class follows the percent, not the probe's "E"
    };
    for (const auto& c : cases) {
        for (const bool weightFirst : {true, false}) {
            PairingRig rig(weightFirst, WeightSource::EV2000, c.useEquation);
            if (weightFirst)
                rig.ScaleWeight(c.weight);
            rig.Probe("000123", c.probePercent);
            if (!weightFirst)
                rig.ScaleWeight(c.weight);
            ASSERT_EQ(rig.side.logged.size(), 1u);
            const CarcassMeasurement& r = rig.side.logged[0];
            EXPECT_EQ(r.weight + '/' + r.meatPercent + '/' + r.carcassClass, c.logged) << c.weight << weightFirst;
            FakePairingWindow& window = weightFirst ? rig.carcassWindow : rig.mainWindow;
            EXPECT_EQ(window[R::Weight] + '/' + window[R::MeatPercent] + '/' + window[R::Class], c.logged);
        }
    }
}

TEST(PairingResultTest, ARecordWithoutAPercentKeepsItsPlaceAndWeightButGetsNoClass)
{
    const struct {
        const char* what;
        WeightSource source;
        bool weightFirst, useEquation;
        const char* logged; // counter/weight/meat %/class
    } cases[] = {
        {"without weighing", WeightSource::NoWeight, false, false, "000201//__._/"},
        {"weight first", WeightSource::EV2000, true, false, "000201/ 95.00/__._/"},
        {"probe first", WeightSource::EV2000, false, false, "000201/ 95.00/__._/"},
        {"weight first, equation", WeightSource::EV2000, true, true, "000201/ 95.00/60.3/S"}, // depths are there
    };
    for (const auto& c : cases) {
        for (const bool colourSample : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (colourSample ? ", Colour Number sample" : ", probe sent 0"));
            PairingRig rig(c.weightFirst, c.source, c.useEquation);
            const bool weighing = c.source != WeightSource::NoWeight;
            if (weighing && c.weightFirst)
                rig.ScaleWeight("95");
            colourSample ? rig.ColourSample("000201") : rig.Probe("000201", "__._");
            if (weighing && !c.weightFirst)
                rig.ScaleWeight("95");
            ASSERT_EQ(rig.side.logged.size(), 1u);
            const CarcassMeasurement& r = rig.side.logged[0];
            std::string expected = c.logged;
            if (colourSample) // no depths, no percentage field: the equation has nothing either
                expected = std::string(c.logged).substr(0, expected.find('/', 7)) + "//";
            EXPECT_EQ(r.carcassCount + '/' + r.weight + '/' + r.meatPercent + '/' + r.carcassClass, expected);
            FakePairingWindow& window = c.weightFirst || !weighing ? rig.carcassWindow : rig.mainWindow;
            const bool classed = expected.back() != '/';
            EXPECT_EQ(window[R::MeatPercent] + '/' + window[R::Class], classed ? "60.3/S" : "/");
        }
    }
}

TEST(PairingResultTest, WindowsDifferInQualityAndWhatFollowsACompletion)
{
    PairingRig rig(false, WeightSource::ManualInput);
    rig.Prefill(2);
    rig.TypeWeight(rig.current, rig.carcassWindow, "85.4");
    EXPECT_EQ(rig.carcassWindow[R::Quality], "77");
    EXPECT_EQ(rig.carcassWindow[R::WeightInput], "") << "a typed weight is used up, in both windows";
    EXPECT_TRUE(rig.carcassWindow.refreshTimer);
    rig.mainWindow.roles[R::Quality] = "old";
    rig.TypeWeight(rig.main, rig.mainWindow, "92.1");
    EXPECT_EQ(rig.mainWindow[R::Quality], "old");
    EXPECT_EQ(rig.mainWindow[R::WeightInput], "");

    // Without a weight source each result is finished at once; quality as sent in the main window.
    rig.weighing.weightSource = WeightSource::NoWeight;
    rig.result.currentMeasurement.kind = 'J';
    rig.side.Log(rig.main.OnProbeResult());
    EXPECT_EQ(rig.mainWindow[R::Quality], "  77");
    EXPECT_EQ(rig.result.currentMeasurement.weight, " ");
    EXPECT_EQ(rig.side.logged.size(), 3u);

    // Weight first with manual input: taking a weight gives the box back to the operator.
    rig.weighing.weightSource = WeightSource::ManualInput;
    rig.weighing.weightBeforeProbe = true;
    rig.TypeWeight(rig.current, rig.carcassWindow, "85.4");
    rig.Probe("000103");
    EXPECT_EQ(rig.carcassWindow.weightInputEnabled, 1);
}

TEST(PairingResultTest, ARefusedScaleMessageStoresNothingAndTellsTheErrorLabel)
{
    const struct {
        bool weightFirst;
        const char* error;
    } cases[] = {
        {true, "WeightGeneric error: factor \"x\" is not a number"},
        {false, "Error message from weight scale"},
    };
    for (const auto& c : cases) {
        PairingRig rig(c.weightFirst, WeightSource::Generic);
        if (!c.weightFirst)
            rig.Prefill(1);
        rig.side.reading = ScaleReading{"", "WeightGeneric error: factor \"x\" is not a number"};
        rig.side.Log(rig.main.OnWeightArrived());
        EXPECT_EQ(rig.mainWindow[R::Error], c.error);
        EXPECT_EQ(rig.queue.count, c.weightFirst ? 0 : 1);
        EXPECT_TRUE(rig.side.logged.empty());
        EXPECT_TRUE(rig.side.notices.empty());
    }
}
