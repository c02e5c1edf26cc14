// The core pairs a probe result with a scale weight, in either sequence, with no window at all.

#include "settings/SettingsStore.h"
#include "station/StationCore.h"
#include "support/FakeSerialPort.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string kExample = "E0100012301250530001203000450612ABS140533X";

// A core over fake ports with a Mettler-Toledo scale (no STX) and a log in a fresh folder.
struct PairingLine {
    FakeSerialPort* probe = new FakeSerialPort;
    FakeSerialPort* scale = new FakeSerialPort;
    StationCore core{std::unique_ptr<SerialPort>(probe), std::unique_ptr<SerialPort>(scale)};
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    std::vector<int> pending;

    explicit PairingLine(bool weightBeforeProbe)
    {
        settings.WriteSetting("Properties", "STX", "0");
        EXPECT_EQ(core.SetUpScalePort(WeightSource::MettlerToledo, settings).fault, ScalePortFault::None);
        WeighingState& weighing = core.weighingState();
        weighing.weightSource = WeightSource::MettlerToledo;
        weighing.weightBeforeProbe = weightBeforeProbe;
        core.resultLog().SetLogFilePath(QFile::encodeName(dir.filePath(QStringLiteral("shift.dif"))).toStdString());
        core.probeResults().SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 30, 0)); });
        QObject::connect(&core, &StationCore::pendingCountChanged, [this](int count) { pending.push_back(count); });
        EXPECT_TRUE(core.probePortWatch().Open());
        Receive(*probe, "H\x05"); // the first poll only wakes the link
    }

    // Each reception is taken at the second tick, once the line stayed quiet.
    void Receive(FakeSerialPort& port, const std::string& bytes)
    {
        port.Feed(bytes);
        core.receiveTick().RunTick();
        core.receiveTick().RunTick();
    }
    void Weigh() { Receive(*scale, "  93.00\r"); }
    void Probe()
    {
        Receive(*probe, "h\x05");
        Receive(*probe, "\x01" + kExample.substr(0, 1) + "\x02" + kExample.substr(1) + "\x03");
    }
    std::string Logged() const
    {
        QFile file(QString::fromStdString(core.resultLog().logFilePath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
    }
};

TEST(StationPairings, AProbeResultAndAScaleWeightMakeOneLoggedCarcassInEitherOrder)
{
    QFile reference(QStringLiteral(TALLION_TEST_DATA_DIR "/paired-weight.dif"));
    ASSERT_TRUE(reference.open(QIODevice::ReadOnly));
    const std::string expected = reference.readAll().toStdString();

    // The half that comes second completes the carcass: a probe result the current carcass
    // pairing, a scale weight the main pairing.
    struct Case {
        const char* name;
        bool weightBeforeProbe;
        PairingDisplayModel& (StationPairings::*completing)();
    };
    const Case cases[] = {
        {"weight before probe", true, &StationPairings::currentDisplay},
        {"probe before weight", false, &StationPairings::mainDisplay},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PairingLine line(c.weightBeforeProbe);
        if (c.weightBeforeProbe)
            line.Weigh();
        else
            line.Probe();
        EXPECT_EQ(line.Logged(), "<missing>") << "the first half waits";
        if (c.weightBeforeProbe)
            line.Probe();
        else
            line.Weigh();
        EXPECT_EQ(line.Logged(), expected);
        EXPECT_EQ(line.pending, (std::vector<int>{1, 0}));
        const PairingDisplayModel& shown = (line.core.pairings().*c.completing)();
        EXPECT_EQ(shown.Text(CarcassRole::Class), "S");
        EXPECT_EQ(shown.Text(CarcassRole::Weight), " 93.00");
    }
}

} // namespace
