// The station program as an operator starts it, with the simulated probe on a pseudo-terminal:
//   QT_QPA_PLATFORM=offscreen build/tallion --settings FILE --port 1=PATH

#include "log/LogRecordFormat.h"
#include "probe/RecordDecoders.h"
#include "support/E2eDeadlines.h"
#include "support/StationLine.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A message of `length` characters, '0' everywhere except the given texts at their positions.
std::string Message(size_t length, std::initializer_list<std::pair<int, std::string>> parts)
{
    std::string message(length, '0');
    for (const auto& [position, text] : parts)
        message.replace(static_cast<size_t>(position - 1), text.size(), text);
    return message;
}

} // namespace

using ProgramEndToEnd = StationLineTest;

TEST_F(ProgramEndToEnd, RunsTheLinkOnTheGivenPort)
{
    log.clear();
    ASSERT_TRUE(StartStation()) << station.process().errorString().toStdString() << " "
                                << StationProcess::ProgramPath().toStdString();
    SimulatedProbe& probe = Probe().probe;
    probe.Start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto c = probe.Commands();
            return c.size() >= 3 && c[2].closedWithEot;
        },
        kStartUpMs));
    const auto commands = probe.Commands();
    EXPECT_EQ(commands[0].text, "0");
    EXPECT_EQ(commands[1].text, "A1");
    EXPECT_EQ(commands[2].text, "I1");
    for (const auto& c : commands)
        EXPECT_TRUE(c.bccOk) << c.text;
    EXPECT_EQ(station.process().state(), QProcess::Running);
}

TEST_F(ProgramEndToEnd, EveryMessageKindEndsUpInTheLogFile)
{
    QFile(log).open(QIODevice::WriteOnly);
    ASSERT_TRUE(StartStation());
    SimulatedProbe& probe = Probe().probe;
    const QDate today = QDate::currentDate();
    const std::string date = today.toString("dd-MM-yyyy").toStdString();

    struct Sent {
        std::string message;
        void (*decode)(const std::string&, CarcassMeasurement&, const QDate&);
    };
    // clang-format off
    const std::vector<Sent> measurements = {
        {"E0100012301250530001203000450612ABS140533X", DecodeBasicRecord},
        {Message(58, {{1, "J"}, {2, "02"}, {4, "000124"}, {10, "0131"}, {14, "0532"}, {33, "CD"}, {35, "E"},
                      {36, "077"}, {40, "012"}, {44, "003"}, {48, "0045"}, {52, "N"}, {53, "140534"}}),
         DecodeColourRecord},
        {Message(54, {{1, "B"}, {2, "03"}, {4, "000125"}, {10, "0140"}, {14, "0150"}, {18, "0560"}, {42, "587"},
                      {45, "ABC"}, {48, "U"}, {49, "140535"}}),
         DecodeTwoSiteRecord},
        {Message(81, {{1, "H"}, {2, "04"}, {4, "000126"}, {42, "604"}, {45, "KLM"}, {48, "R"}, {49, "007"},
                      {73, "NPQ"}, {76, "140536"}}),
         DecodeTwoSiteColourRecord},
        {Message(73, {{1, "L"}, {2, "05"}, {4, "000127"}, {33, "VW"}, {35, "O"}, {36, "0123"}, {41, "g"},
                      {53, "261208140537"}, {65, "A7Z9"}, {69, "0125"}, {73, "t"}}),
         DecodeSingleSiteQualityRecord},
        {Message(105, {{1, "M"}, {2, "06"}, {4, "000128"}, {45, "abd"}, {48, "P"}, {53, "c"}, {85, "261208140538"},
                       {97, "SN42"}, {101, "0007"}, {105, "T"}}),
         DecodeDoubleSiteQualityRecord},
    };
    // clang-format on
    for (const auto& m : measurements)
        probe.QueueMessage(m.message);
    const std::string colourSample = "S0056c0012n";
    const std::vector<std::string> others = {colourSample, "C01000128", "Z0039", "I01Probe ready", "U261208140539"};
    for (const std::string& m : others)
        probe.QueueMessage(m);
    probe.Start();
    const int sent = static_cast<int>(measurements.size() + others.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.FramesAcked() >= sent; }, 30000))
        << "frames acknowledged: " << probe.FramesAcked();

    // Expected: the header, each measurement's line, then the cancel and the probing error as alert
    // lines. The colour sample keeps the station's own time, so its time is read from the file.
    std::string expected = LogHeaderLine();
    for (const auto& m : measurements) {
        CarcassMeasurement record;
        record.kind = m.message[0];
        m.decode(m.message, record, today);
        if (record.meatPercent == "__._")
            record.carcassClass.clear(); // no class without a lean meat %, whatever the probe sent
        expected += LogLineFor(record);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return QByteArray::fromStdString(Log()).count("\r\n") >= 10; }, kStepMs));
    const std::string bytes = Log();
    ASSERT_EQ(bytes.substr(0, expected.size()), expected);

    std::string rest = bytes.substr(expected.size());
    const auto firstLineEnd = rest.find("\r\n");
    ASSERT_NE(firstLineEnd, std::string::npos);
    const std::string sampleLine = rest.substr(0, firstLineEnd + 2);
    const std::string sampleTime = LogField(1, sampleLine);
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d  " + QString::fromStdString(date) + "$")
                    .match(QString::fromStdString(sampleTime))
                    .hasMatch())
        << sampleTime;
    CarcassMeasurement sample;
    sample.kind = 'S';
    sample.timeDate = sampleTime;
    DecodeColourSampleRecord(colourSample, sample, today);
    EXPECT_EQ(sampleLine, LogLineFor(sample));

    EXPECT_EQ(rest.substr(firstLineEnd + 2), "\tCancel      000128\t\r\n\tNo Meat\t\r\n");
    // The worked example, written out by hand.
    EXPECT_NE(bytes.find("\t14:05:33  " + date
                         + "\tSingle Site\t01\t000123\t 12.5 A\t\t 53.0 B\t  1.2\t 30.0\t 45.0\t\t\t61.2\tAB\tS\t"
                         + std::string(22, '\t') + "\r\n"),
              std::string::npos);
}
