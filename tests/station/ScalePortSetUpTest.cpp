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

TEST(ScalePortSetUp, OpensThePortStoredForTheModelAndLoadsItsOptions)
{
    struct Case {
        const char* what;
        WeightSource model;
        std::map<std::string, std::string> stored;
        ScalePortFault fault;
        int port;
        std::string storedText, reason, lineSettings;
        bool open;
        // clang-format off
    } cases[] = {
        {"defaults of a Mettler-Toledo scale", WeightSource::MettlerToledo, {}, ScalePortFault::None, 2, "", "",
         "9600,e,7,1", true},
        {"a header scale on port 3", WeightSource::Generic, {{"WeightPortNum", "3"}}, ScalePortFault::None, 3, "", "",
         "4800,e,7,2", true},
        {"stored line settings", WeightSource::Wedderburn, {{"WeightPortSetting", "19200,n,8,1"}},
         ScalePortFault::None, 2, "", "", "19200,n,8,1", true},
        {"no port number", WeightSource::TU9000, {{"WeightPortNum", "x"}}, ScalePortFault::PortNumberNotValid, 72,
         "x", "", "9600,n,8,1", false},
        {"line settings that do not parse", WeightSource::EV2000, {{"WeightPortSetting", "fast"}},
         ScalePortFault::LineSettingsNotValid, 2, "fast", "", "9600,n,8,1", false},
        {"a device that is not there", WeightSource::Generic, {{"WeightPortNum", "4"}}, ScalePortFault::PortNotOpened,
         4, "", "/dev/ttyS3: No such file or directory", "4800,e,7,2", false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        SettingsStore settings(dir.filePath(QStringLiteral("station.ini")));
        for (const auto& [key, text] : c.stored)
            settings.WriteSetting("Properties", key, text);
        settings.WriteSetting("Properties", "STX", "1");
        settings.WriteSetting("Properties", "HeaderCharacter", "#");
        auto* scale = new FakeSerialPort;
        scale->missingPorts = {4};
        StationCore core(std::make_unique<FakeSerialPort>(), std::unique_ptr<SerialPort>(scale));

        const ScalePortSetUp result = core.SetUpScalePort(c.model, settings);
        EXPECT_EQ(result.fault, c.fault);
        EXPECT_EQ(result.port, c.port);
        EXPECT_EQ(result.stored, c.storedText);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(scale->PortOpen(), c.open);
        EXPECT_EQ(scale->Settings(), c.lineSettings);
        EXPECT_EQ(core.scalePortWatch().Wanted(),
                  c.fault == ScalePortFault::None || c.fault == ScalePortFault::PortNotOpened);
        // The options come in whatever became of the port.
        EXPECT_EQ(core.scaleOptions().toledo.STXon, c.model == WeightSource::MettlerToledo);
        EXPECT_EQ(core.scaleOptions().HeaderOptions(c.model).header,
                  c.model == WeightSource::Generic || c.model == WeightSource::EV2000 || c.model == WeightSource::TU9000
                      ? "#"
                      : "$");
    }
}

TEST(ScalePortSetUp, TheReaderParsesTheLastMessageWithTheLoadedOptions)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("station.ini")));
    settings.WriteSetting("Properties", "STX", "1");
    auto* scale = new FakeSerialPort;
    StationCore core(std::make_unique<FakeSerialPort>(), std::unique_ptr<SerialPort>(scale));
    ASSERT_EQ(core.SetUpScalePort(WeightSource::MettlerToledo, settings).fault, ScalePortFault::None);
    scale->Feed("  93.00\r");
    core.receiveTick().RunTick(); // the bytes are counted
    core.receiveTick().RunTick(); // unchanged: the message is taken
    EXPECT_EQ(core.scaleReader().ReadScaleWeight(WeightSource::MettlerToledo).errorText,
              "Weight scale Protocol <STX> error");

    // Set up again without STX: the same message now reads as a weight.
    settings.WriteSetting("Properties", "STX", "0");
    core.SetUpScalePort(WeightSource::MettlerToledo, settings);
    EXPECT_EQ(core.scaleReader().ReadScaleWeight(WeightSource::MettlerToledo).weightText, "  93.00");
}

} // namespace
