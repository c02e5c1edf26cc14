// Probe messages through the core alone, with no window: what it says for each, in order, the log
// it writes, and a probe result paired with a scale weight in either sequence.

#include "settings/SettingsStore.h"
#include "station/StationCore.h"
#include "support/FakeSerialPort.h"

#include "support/TestPaths.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string kExample = "E0100012301250530001203000450612ABS140533X";
const std::string kExampleLine = "14:05:33  09-12-2026,000123,01, 12.5 A,, 53.0 B,61.2,S,,";

// A core over fake ports with a fixed clock, a log in a fresh folder and what it says written
// down in order. Without weighing, its own pairing finishes every record at once.
struct CoreRig {
    FakeSerialPort* probe = new FakeSerialPort;
    FakeSerialPort* scale = new FakeSerialPort;
    StationCore core{std::unique_ptr<SerialPort>(probe), std::unique_ptr<SerialPort>(scale)};
    QTemporaryDir dir;
    std::vector<std::string> said;

    CoreRig()
    {
        core.parts().resultLog.SetLogFilePath(
            QFile::encodeName(dir.filePath(QStringLiteral("shift.dif"))).toStdString());
        ProbeResults& results = core.parts().probeResults;
        results.SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 30, 0)); });
        auto text = [this](const char* what) {
            return [this, what](const std::string& t) { said.push_back(std::string(what) + t); };
        };
        QObject::connect(&results, &ProbeResults::carcassError, text("error: "));
        QObject::connect(&results, &ProbeResults::carcassValuesCleared, [this] { said.emplace_back("cleared"); });
        QObject::connect(&results, &ProbeResults::probeResultToPair, [this] { said.emplace_back("pair"); });
        QObject::connect(&results, &ProbeResults::statusText, text("status: "));
        QObject::connect(&results, &ProbeResults::resultLine, [this](const std::string& t, bool isMeasurement) {
            said.push_back((isMeasurement ? "black: " : "red: ") + t);
        });
        QObject::connect(&results, &ProbeResults::probeText, text("text: "));
        QObject::connect(&core.resultFinishing(), &ResultFinishing::lineToPrint, text("print: "));
        QObject::connect(&core.resultLog(), &ResultLog::recordLogged, [this] { said.emplace_back("logged"); });
    }

    // Each reception is taken at the second tick, once the line stayed quiet.
    void Receive(FakeSerialPort& port, const std::string& bytes)
    {
        port.Feed(bytes);
        core.parts().receiveTick.RunTick();
        core.parts().receiveTick.RunTick();
    }
    // The probe's first poll only wakes the link, which answers from the next one on.
    void WakeLink()
    {
        EXPECT_TRUE(core.parts().probePortWatch.Open());
        Receive(*probe, "H\x05");
    }
    // The probe offers a message at a data poll, then sends it framed.
    void Deliver(const std::string& message)
    {
        Receive(*probe, "h\x05");
        Receive(*probe, "\x01" + message.substr(0, 1) + "\x02" + message.substr(1) + "\x03");
    }
    std::string Logged() const
    {
        QFile file(QString::fromStdString(core.resultLog().logFilePath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
    }
};

std::string Reference(const char* name)
{
    QFile file(TestDataFile(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll().toStdString();
}

TEST(ProbeResults, EachMessageIsToldInTheOrderOfItsSteps)
{
    struct Case {
        const char* message;
        bool weightBeforeProbe;
        WeightSource source;
        std::vector<std::string> said;
    };
    // clang-format off
    const Case cases[] = {
        {kExample.c_str(), true, WeightSource::NoWeight,
         {"error: ", "pair", "print: " + kExampleLine, "black: " + kExampleLine + "\r", "logged"}},
        {"C01000123", true, WeightSource::NoWeight, {"pair", "red: Cancel      000123\r", "logged"}},
        // A probing error joins the record, and is logged, unless the probe comes before a weight.
        {"Z0039", true, WeightSource::NoWeight, {"status: No Meat", "error: No Meat", "red: No Meat\r", "logged"}},
        {"Z0039", true, WeightSource::Generic, {"status: No Meat", "error: No Meat", "red: No Meat\r", "logged"}},
        {"Z0039", false, WeightSource::NoWeight,
         {"status: No Meat", "error: No Meat", "red: No Meat\r", "cleared", "logged"}},
        {"Z0039", false, WeightSource::Generic, {"status: No Meat"}},
        {"D", true, WeightSource::NoWeight, {"text: Class summary: \r\n08:30:00\t09-12-2026\r\n\r\n"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        CoreRig rig;
        rig.core.parts().weighingState.weightBeforeProbe = c.weightBeforeProbe;
        rig.core.parts().weighingState.weightSource = c.source;
        rig.core.parts().probeResults.OnProbeMessage(c.message);
        EXPECT_EQ(rig.said, c.said);
    }
}

TEST(ProbeResults, MessagesFromTheProbePortReachTheLogFile)
{
    CoreRig rig;
    rig.WakeLink();
    for (const std::string& message : {kExample, std::string("C01000123"), std::string("Z0039")})
        rig.Deliver(message);
    EXPECT_EQ(rig.probe->Written(), "h\x06\x06h\x06\x06h\x06\x06");
    EXPECT_EQ(rig.Logged(), Reference("probe-messages.dif"));
}

// The half that comes second completes the carcass: a probe result the current carcass pairing,
// a scale weight the main pairing.
TEST(StationPairings, AProbeResultAndAScaleWeightMakeOneLoggedCarcassInEitherOrder)
{
    for (const bool weightFirst : {true, false}) {
        SCOPED_TRACE(weightFirst ? "weight before probe" : "probe before weight");
        CoreRig rig;
        SettingsStore settings(rig.dir.filePath(QStringLiteral("station.ini")));
        settings.WriteSetting("Properties", "STX", "0"); // a Mettler-Toledo scale without STX
        EXPECT_EQ(rig.core.SetUpScalePort(WeightSource::MettlerToledo, settings).fault, ScalePortFault::None);
        rig.core.parts().weighingState.weightSource = WeightSource::MettlerToledo;
        rig.core.parts().weighingState.weightBeforeProbe = weightFirst;
        std::vector<int> pending;
        QObject::connect(&rig.core, &StationCore::pendingCountChanged, [&](int count) { pending.push_back(count); });
        rig.WakeLink();

        auto weigh = [&] { rig.Receive(*rig.scale, "  93.00\r"); };
        auto probe = [&] { rig.Deliver(kExample); };
        weightFirst ? weigh() : probe();
        EXPECT_EQ(rig.Logged(), "<missing>") << "the first half waits";
        weightFirst ? probe() : weigh();
        EXPECT_EQ(rig.Logged(), Reference("paired-weight.dif"));
        EXPECT_EQ(pending, (std::vector<int>{1, 0}));
        const PairingDisplayModel& shown =
            weightFirst ? rig.core.parts().pairings.currentDisplay() : rig.core.parts().pairings.mainDisplay();
        EXPECT_EQ(shown.Text(CarcassRole::Class), "S");
        EXPECT_EQ(shown.Text(CarcassRole::Weight), " 93.00");
    }
}

} // namespace
