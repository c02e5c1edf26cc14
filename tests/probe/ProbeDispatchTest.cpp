// Sorting probe messages: what each one means for the station, and the report texts.

#include "probe/ProbeDispatch.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Each meaning as a short text, so that a case reads as the list of what the station is told.
struct Told {
    std::string operator()(const ErrorCleared&) const { return "error:"; }
    std::string operator()(const MeasurementDecoded&) const { return "probe"; }
    std::string operator()(const CarcassCancelled&) const { return "cancel"; }
    std::string operator()(const ProbeStatus& status) const { return "panel1:" + status.text; }
    std::string operator()(const ProbingError& error) const { return "probing error:" + error.text; }
    std::string operator()(const ProbeReport& report) const { return "text:" + report.text; }
};

const QDateTime kNow(QDate(2026, 12, 9), QTime(14, 5, 33));
const std::string kExample = "E0100012301250530001203000450612ABS140533X";

struct DispatchFixture : ::testing::Test {
    CurrentProbeResult result;
    std::vector<std::string> calls;
    // The record as each result or cancel left it for the pairing.
    std::vector<CarcassMeasurement> pressedWith;
    void Dispatch(const std::string& m)
    {
        for (const ProbeEvent& event : DispatchProbeMessage(m, result, kNow)) {
            calls.push_back(std::visit(Told{}, event));
            if (calls.back() == "probe" || calls.back() == "cancel")
                pressedWith.push_back(result.currentMeasurement);
        }
    }
};

} // namespace

TEST_F(DispatchFixture, MeasurementsAreDecodedStampedAndHandedOn)
{
    struct Case {
        std::string message;
        bool handedOn;
        std::string count;
        // clang-format off
    } cases[] = {
        {kExample, true, "000123"},
        {"E0100", false, ""},  // five characters: only the error label is cleared
        {"J01000777" + std::string(40, '0'), true, "000777"},
        {"B01000555" + std::string(40, '0'), true, "000555"},
        {"H01000444" + std::string(70, '0'), true, "000444"},
        {"L0100", false, ""},
        {"M01000333" + std::string(100, '0'), true, "000333"},
    };
    // clang-format on
    for (const auto& c : cases) {
        result = CurrentProbeResult{};
        calls.clear();
        pressedWith.clear();
        result.lineIsMeasurement = false;
        Dispatch(c.message);
        EXPECT_EQ(result.currentMeasurement.kind, c.message[0]);
        EXPECT_EQ(calls.front(), "error:") << c.message;
        EXPECT_EQ(pressedWith.size(), c.handedOn ? 1u : 0u) << c.message;
        EXPECT_EQ(result.lineIsMeasurement, c.handedOn) << c.message;
        if (c.handedOn) {
            EXPECT_EQ(pressedWith[0].carcassCount, c.count);
        }
    }
    Dispatch("E0100");
    EXPECT_EQ(result.currentMeasurement.timeDate, "14:05:33  09-12-2026");
}

TEST_F(DispatchFixture, EachTypeLetterSaysWhatItMeans)
{
    const std::string heading = "14:05:33\t09-12-2026\r\n\r\n";
    struct Case {
        std::string message;
        std::vector<std::string> calls;
        // clang-format off
    } cases[] = {
        {kExample, {"error:", "probe"}},
        {"E0100", {"error:"}},
        {"J01000777" + std::string(40, '0'), {"error:", "probe"}},
        {"B01000555" + std::string(40, '0'), {"error:", "probe"}},
        {"H01000444" + std::string(70, '0'), {"error:", "probe"}},
        {"L0100", {"error:"}},
        {"M01000333" + std::string(100, '0'), {"error:", "probe"}},
        {"S01000999" + std::string(20, '0'), {"probe"}},
        {"C01000124", {"cancel"}},
        {"I01Probe ready", {"panel1:Probe ready"}},
        {"Z0039", {"probing error:No Meat"}},
        {"D0012", {"text:Class summary: \r\n" + heading + "class 1: 0012\r\n"}},
        {"N123456", {"text:Service Information: \r\n" + heading + "\r\nNon resetable carcass counter: 123456\r\n"}},
        {"U26", {"text:PC's\r\nDate: 09-12-2026\r\nTime: 14:05:33\r\n\r\nProbe's26\t"}},
        {"A1234P2", {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        calls.clear();
        Dispatch(c.message);
        EXPECT_EQ(calls, c.calls) << c.message;
    }
}

TEST_F(DispatchFixture, CancelKeepsThePreviousMeasurement)
{
    Dispatch(kExample);
    Dispatch("C01000124");
    ASSERT_EQ(pressedWith.size(), 2u);
    const CarcassMeasurement& cancel = pressedWith[1];
    EXPECT_EQ(cancel.kind, 'C');
    EXPECT_EQ(cancel.alertText, "Cancel      000124");
    EXPECT_EQ(cancel.carcassCount, "000123");
    EXPECT_EQ(cancel.carcassClass, "S");
    EXPECT_FALSE(result.lineIsMeasurement);
}

TEST_F(DispatchFixture, ProbingErrorLeavesTheRecordToTheStation)
{
    Dispatch(kExample);
    calls.clear();
    Dispatch("Z0039");
    EXPECT_EQ(calls, std::vector<std::string>{"probing error:No Meat"});
    // The previous measurement with a new kind and time; whether the text joins it is the
    // station's choice.
    const CarcassMeasurement& record = result.currentMeasurement;
    EXPECT_EQ(record.kind, 'Z');
    EXPECT_EQ(record.timeDate, "14:05:33  09-12-2026");
    EXPECT_EQ(record.alertText, "");
    EXPECT_EQ(record.carcassCount, "000123");
    EXPECT_TRUE(result.lineIsMeasurement) << "an error does not change the line colour flag";
}

TEST_F(DispatchFixture, StatusCodesWithoutTextReadProbingError)
{
    struct Case {
        std::string message;
        std::string panel;
        // clang-format off
    } cases[] = {
        {"Z0012", "probing error:Probing error"},
        {"Z00", "probing error:Probing error"},
        {"Z000", "probing error:Undetermined error."},
        {"Z0071", "probing error:Fat limit"},
        {"I01Probe ready", "panel1:Probe ready"},
    };
    // clang-format on
    for (const auto& c : cases) {
        calls.clear();
        Dispatch(c.message);
        ASSERT_FALSE(calls.empty()) << c.message;
        EXPECT_EQ(calls.front(), c.panel);
    }
}

TEST(ProbeReportTextTest, ClassSummaryServiceInformationAndClock)
{
    const std::string heading = "14:05:33\t09-12-2026\r\n\r\n";
    const std::string fs(1, char(28));
    struct Case {
        const char* what;
        std::string text;
        std::string expected;
        // clang-format off
    } cases[] = {
        {"empty class summary", ClassSummaryDumpText("D", kNow), "Class summary: \r\n" + heading},
        {"class summary", ClassSummaryDumpText("D0012003400", kNow),
         "Class summary: \r\n" + heading + "class 1: 0012\r\nclass 2: 0034\r\n"},
        {"service information without separators", ServiceInformationText("N123456789", kNow),
         "Service Information: \r\n" + heading + "\r\nNon resetable carcass counter: 123456\r\n"},
        {"service information", ServiceInformationText("Na" + fs + "b" + fs + "c" + fs + "d" + fs + "e" + fs + "f" + fs +
                                                           "g" + fs + "h" + fs + "i" + fs + "0042001",
                                                       kNow),
         "Service Information: \r\n" + heading +
             "a\tb\tc\td\te\tf\tg\th\t\r\ni\t\r\nNon resetable carcass counter: 004200\r\n"},
        {"probe clock", ProbeClockText("U261209140533", kNow),
         "PC's\r\nDate: 09-12-2026\r\nTime: 14:05:33\r\n\r\nProbe's261209140533\t"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(c.text, c.expected) << c.what;
}

TEST_F(DispatchFixture, ReportsGoToTheTextWindowAndUnknownLettersAreIgnored)
{
    Dispatch("U26");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rfind("text:PC's", 0), 0u);
    calls.clear();
    for (const char* m : {"A1234P2", "X", "?????", "\x01\x02", ""})
        Dispatch(m);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(result.currentMeasurement.kind, '\x01');
}
