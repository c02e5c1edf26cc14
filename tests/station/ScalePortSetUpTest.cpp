// The scale port set up from the stored settings, without a display: what opens, at which line
// settings, which options are loaded, and what the core says when it cannot.

#include "settings/SettingsStore.h"
#include "station/StationCore.h"
#include "support/FakeSerialPort.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

// A core over a fake scale port on which port 4 is missing, with STX on and header "#" stored.
struct ScaleRig {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    FakeSerialPort* scale = new FakeSerialPort;
    StationCore core{std::make_unique<FakeSerialPort>(), std::unique_ptr<SerialPort>(scale)};

    explicit ScaleRig(const std::map<std::string, std::string>& stored = {})
    {
        for (const auto& [key, text] : stored)
            settings.WriteSetting("Properties", key, text);
        settings.WriteSetting("Properties", "STX", "1");
        settings.WriteSetting("Properties", "HeaderCharacter", "#");
        scale->missingPorts = {4};
    }
};

TEST(ScalePortSetUp, OpensThePortStoredForTheModelAndLoadsItsOptions)
{
    using F = ScalePortFault;
    struct Case {
        WeightSource model;
        std::map<std::string, std::string> stored;
        ScalePortFault fault;
        int port;
        std::string storedText, reason, lineSettings;
        // clang-format off
    } cases[] = {
        {WeightSource::MettlerToledo, {}, F::None, 2, "", "", "9600,e,7,1"},
        {WeightSource::Generic, {{"WeightPortNum", "3"}}, F::None, 3, "", "", "4800,e,7,2"},
        {WeightSource::Wedderburn, {{"WeightPortSetting", "19200,n,8,1"}}, F::None, 2, "", "", "19200,n,8,1"},
        {WeightSource::TU9000, {{"WeightPortNum", "x"}}, F::PortNumberNotValid, 72, "x", "", "9600,n,8,1"},
        {WeightSource::EV2000, {{"WeightPortSetting", "fast"}}, F::LineSettingsNotValid, 2, "fast", "", "9600,n,8,1"},
        {WeightSource::Generic, {{"WeightPortNum", "4"}}, F::PortNotOpened, 4, "",
         "/dev/ttyS3: No such file or directory", "4800,e,7,2"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        ScaleRig rig(c.stored);
        const ScalePortSetUp result = rig.core.SetUpScalePort(c.model, rig.settings);
        EXPECT_EQ(result.fault, c.fault);
        EXPECT_EQ(result.port, c.port);
        EXPECT_EQ(result.stored, c.storedText);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(rig.scale->PortOpen(), c.fault == F::None);
        EXPECT_EQ(rig.scale->Settings(), c.lineSettings);
        EXPECT_EQ(rig.core.scalePortWatch().Wanted(), c.fault == F::None || c.fault == F::PortNotOpened);
        // The options come in whatever became of the port.
        EXPECT_EQ(rig.core.scaleOptions().toledo.STXon, c.model == WeightSource::MettlerToledo);
        const bool headed =
            c.model == WeightSource::Generic || c.model == WeightSource::EV2000 || c.model == WeightSource::TU9000;
        EXPECT_EQ(rig.core.scaleOptions().HeaderOptions(c.model).header, headed ? "#" : "$");
    }
}

TEST(ScalePortSetUp, TheReaderParsesTheLastMessageWithTheLoadedOptions)
{
    ScaleRig rig;
    ASSERT_EQ(rig.core.SetUpScalePort(WeightSource::MettlerToledo, rig.settings).fault, ScalePortFault::None);
    rig.scale->Feed("  93.00\r");
    rig.core.parts().receiveTick.RunTick(); // the bytes are counted
    rig.core.parts().receiveTick.RunTick(); // unchanged: the message is taken
    EXPECT_EQ(rig.core.parts().scaleReader.ReadScaleWeight(WeightSource::MettlerToledo).errorText,
              "Weight scale Protocol <STX> error");

    // Set up again without STX: the same message now reads as a weight.
    rig.settings.WriteSetting("Properties", "STX", "0");
    rig.core.SetUpScalePort(WeightSource::MettlerToledo, rig.settings);
    EXPECT_EQ(rig.core.parts().scaleReader.ReadScaleWeight(WeightSource::MettlerToledo).weightText, "  93.00");
}

} // namespace
