// A short soak of the real station: carcasses at the line's fastest pace with noise, malformed
// frames, a silence and two device pulls mixed in. The full run is bench/soak_bench.

#include "tools/sim/StationSoak.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StationSoak, EveryMeasurementIsLoggedOnceInOrderThroughFaults)
{
    QTemporaryDir dir;
    SoakOptions options;
    options.program = QStringLiteral(TALLION_BUILD_DIR "/tallion");
    options.folder = dir.path();
    options.carcasses = 120;
    options.noiseEvery = 9;
    options.malformedEvery = 11;
    options.silenceEvery = 70;
    options.pullEvery = 45;
    const SoakResult result = RunStationSoak(options);
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_TRUE(result.onceInOrder) << result.problem;
    EXPECT_EQ(result.carcassesLogged, 120);
    EXPECT_EQ(result.malformedSent, 10);
    EXPECT_EQ(result.malformedNaked, result.malformedSent) << "every malformed frame is answered NAK";
    EXPECT_EQ(result.givenUp, 0);
    EXPECT_EQ(result.pulls, 2);
    EXPECT_EQ(result.silences, 1);
    EXPECT_EQ(result.exitCode, 0);
}
