// The demo as a newcomer starts it: `tallion --demo` with its simulated probe and scale. Within a
// minute its log holds a record of every kind the probe sends.

#include "support/E2eDeadlines.h"
#include "support/StationProcess.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <set>

TEST(ProgramDemo, WritesRecordsOfEveryKindWithinAMinute)
{
    StationProcess station;
    ASSERT_TRUE(station.StartProgram({"--demo"}));
    QProcess& demo = station.process();
    QString log;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto found = QRegularExpression("log file (\\S+)").match(QString::fromLocal8Bit(demo.peek(4096)));
            log = found.hasMatch() ? found.captured(1) : QString();
            return !log.isEmpty();
        },
        kStartUpMs));

    // The type column of each kind, and the alert lines of a cancel and a probing error.
    const std::set<std::string> wanted = {
        "Single Site",      "Single Site Colour", "Double Site", "Double Site Colour", "Single Site, RZ7",
        "Double Site, RZ7", "Colour Number",      "cancel",      "probing error"};
    std::set<std::string> seen;
    const bool everyKind = QTest::qWaitFor(
        [&] {
            const std::string text = StationProcess::ReadFile(log);
            size_t start = text.find("\r\n"); // after the header line
            while (start != std::string::npos && start + 2 < text.size()) {
                const size_t end = text.find("\r\n", start + 2);
                const std::string line = text.substr(start + 2, end - start - 2);
                const size_t tabs = static_cast<size_t>(std::count(line.begin(), line.end(), '\t'));
                if (tabs <= 2)
                    seen.insert(line.rfind("\tCancel", 0) == 0 ? "cancel" : "probing error");
                else
                    seen.insert(line.substr(line.find('\t', 1) + 1,
                                            line.find('\t', line.find('\t', 1) + 1) - line.find('\t', 1) - 1));
                start = end;
            }
            return seen == wanted;
        },
        60000);
    EXPECT_TRUE(everyKind);
    EXPECT_EQ(seen, wanted);
    demo.terminate();
    EXPECT_TRUE(demo.waitForFinished(kStepMs));
}
