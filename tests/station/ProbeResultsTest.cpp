// Probe messages through the core alone: what it says for each, in order, and the log it writes.

#include "station/StationCore.h"
#include "support/FakeSerialPort.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string kExample = "E0100012301250530001203000450612ABS140533X";
const std::string kExampleLine = "14:05:33  09-12-2026,000123,01, 12.5 A,, 53.0 B,61.2,S,,";

// A core over fake ports with a fixed clock and what it says written down in order. Without
// weighing, its own pairing finishes every record at once.
struct ResultsRig {
    FakeSerialPort* probe = new FakeSerialPort;
    StationCore core{std::unique_ptr<SerialPort>(probe), std::make_unique<FakeSerialPort>()};
    QTemporaryDir dir;
    std::vector<std::string> said;

    ResultsRig()
    {
        core.resultLog().SetLogFilePath(QFile::encodeName(dir.filePath(QStringLiteral("shift.dif"))).toStdString());
        ProbeResults& results = core.probeResults();
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
    void Receive(const std::string& bytes)
    {
        probe->Feed(bytes);
        core.receiveTick().RunTick();
        core.receiveTick().RunTick();
    }
    // The probe's first poll only wakes the link, which answers from the next one on.
    void WakeLink()
    {
        EXPECT_TRUE(core.probePortWatch().Open());
        Receive("H\x05");
    }
    // The probe offers a message at a data poll, then sends it framed.
    void Deliver(const std::string& message)
    {
        Receive("h\x05");
        Receive("\x01" + message.substr(0, 1) + "\x02" + message.substr(1) + "\x03");
    }

    std::string Logged() const
    {
        QFile file(QString::fromStdString(core.resultLog().logFilePath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
    }
};

TEST(ProbeResults, EachMessageIsToldInTheOrderOfItsSteps)
{
    struct Case {
        const char* message;
        bool weightBeforeProbe;
        WeightSource source;
        std::vector<std::string> said;
    };
    const Case cases[] = {
        {kExample.c_str(),
         true,
         WeightSource::NoWeight,
         {"error: ", "pair", "print: " + kExampleLine, "black: " + kExampleLine + "\r", "logged"}},
        {"E0123", true, WeightSource::NoWeight, {"error: "}},
        {"C01000123", true, WeightSource::NoWeight, {"pair", "red: Cancel      000123\r", "logged"}},
        {"I01RZ4 ready", true, WeightSource::NoWeight, {"status: RZ4 ready"}},
        {"Z0039", true, WeightSource::Generic, {"status: No Meat", "error: No Meat", "red: No Meat\r", "logged"}},
        {"Z0039",
         false,
         WeightSource::NoWeight,
         {"status: No Meat", "error: No Meat", "red: No Meat\r", "cleared", "logged"}},
        {"Z0039", false, WeightSource::Generic, {"status: No Meat"}},
        {"Z07",
         true,
         WeightSource::NoWeight,
         {"status: Probing error", "error: Probing error", "red: Probing error\r", "logged"}},
        {"U261209083001",
         true,
         WeightSource::NoWeight,
         {"text: PC's\r\nDate: 09-12-2026\r\nTime: 08:30:00\r\n\r\nProbe's261209083001\t"}},
        {"D", true, WeightSource::NoWeight, {"text: Class summary: \r\n08:30:00\t09-12-2026\r\n\r\n"}},
        {"A1234567", true, WeightSource::NoWeight, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ResultsRig rig;
        rig.core.weighingState().weightBeforeProbe = c.weightBeforeProbe;
        rig.core.weighingState().weightSource = c.source;
        rig.core.probeResults().OnProbeMessage(c.message);
        EXPECT_EQ(rig.said, c.said);
    }
}

TEST(ProbeResults, MessagesFromTheProbePortReachTheLogFile)
{
    ResultsRig rig;
    rig.WakeLink();
    for (const std::string& message : {kExample, std::string("C01000123"), std::string("Z0039")})
        rig.Deliver(message);
    EXPECT_EQ(rig.probe->Written(), "h\x06\x06h\x06\x06h\x06\x06");

    QFile expected(QStringLiteral(TALLION_TEST_DATA_DIR "/probe-messages.dif"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(rig.Logged(), expected.readAll().toStdString());
}

} // namespace
