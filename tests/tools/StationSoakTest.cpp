// A short soak of the real station with its weighing on: carcasses at the line's fastest pace,
// each weighed just before it is probed, with noise, malformed frames, a silence and pulls of the
// probe's and the scale's devices mixed in. The full run is bench/soak_bench.

#include "tools/sim/StationSoak.h"

#include "support/TestPaths.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StationSoak, EveryCarcassIsLoggedOnceInOrderWithItsWeightThroughFaults)
{
    QTemporaryDir dir;
    SoakOptions options;
    options.program = BuiltProgram("tallion");
    options.folder = dir.path();
    options.carcasses = 100;
    options.noiseEvery = 9;
    options.malformedEvery = 11;
    options.silenceEvery = 70;
    options.pullEvery = 45;
    options.weighing = true;
    options.scalePullEvery = 30;
    const SoakResult result = RunStationSoak(options);
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_TRUE(result.onceInOrder) << result.problem;
    EXPECT_EQ(result.carcassesLogged, 100);
    EXPECT_EQ(result.malformedSent, 9);
    EXPECT_EQ(result.malformedNaked, result.malformedSent) << "every malformed frame is answered NAK";
    EXPECT_EQ(result.givenUp, 0);
    EXPECT_EQ(result.pulls, 2);
    EXPECT_EQ(result.scalePulls, 3);
    EXPECT_EQ(result.silences, 1);
    EXPECT_EQ(result.exitCode, 0);
}
