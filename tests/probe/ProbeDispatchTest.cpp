// Sorting probe messages: what reaches the windows, the log and the text window.

#include "probe/ProbeDispatch.h"

#include <gtest/gtest.h>

namespace {

struct RecordingTarget : DispatchTarget {
    std::vector<std::string> calls;
    std::vector<CarcassMeasurement> logged;
    CarcassMeasurement* current = nullptr;
    std::vector<CarcassMeasurement> pressedWith;

    void SetCarcassError(const std::string& t) override { calls.push_back("error:" + t); }
    void ClearCarcassValues() override { calls.push_back("clear"); }
    void PairProbeResult() override
    {
        calls.push_back("probe");
        pressedWith.push_back(*current);
    }
    void SetStatusPanel1(const std::string& t) override { calls.push_back("panel1:" + t); }
    void AppendToResultView(const std::string& t, bool m) override
    {
        calls.push_back(std::string(m ? "black:" : "red:") + t);
    }
    void WriteLogRecord(const CarcassMeasurement& r) override
    {
        calls.push_back("log");
        logged.push_back(r);
    }
    void ShowProbeText(const std::string& t) override { calls.push_back("text:" + t); }
};

const QDateTime kNow(QDate(2026, 12, 9), QTime(14, 5, 33));
const std::string kExample = "E0100012301250530001203000450612ABS140533X";

struct DispatchFixture : ::testing::Test {
    CurrentProbeResult result;
    WeighingState weighing;
    RecordingTarget target;
    void SetUp() override { target.current = &result.currentMeasurement; }
    void Dispatch(const std::string& m) { DispatchProbeMessage(m, result, weighing, target, kNow); }
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
        target = RecordingTarget{};
        target.current = &result.currentMeasurement;
        result.lineIsMeasurement = false;
        Dispatch(c.message);
        EXPECT_EQ(result.currentMeasurement.kind, c.message[0]);
        EXPECT_EQ(target.calls.front(), "error:") << c.message;
        EXPECT_EQ(target.pressedWith.size(), c.handedOn ? 1u : 0u) << c.message;
        EXPECT_EQ(result.lineIsMeasurement, c.handedOn) << c.message;
        if (c.handedOn) {
            EXPECT_EQ(target.pressedWith[0].carcassCount, c.count);
        }
    }
    Dispatch("E0100");
    EXPECT_EQ(result.currentMeasurement.timeDate, "14:05:33  09-12-2026");
}

TEST_F(DispatchFixture, CancelKeepsThePreviousMeasurement)
{
    Dispatch(kExample);
    Dispatch("C01000124");
    ASSERT_EQ(target.pressedWith.size(), 2u);
    const CarcassMeasurement& cancel = target.pressedWith[1];
    EXPECT_EQ(cancel.kind, 'C');
    EXPECT_EQ(cancel.alertText, "Cancel      000124");
    EXPECT_EQ(cancel.carcassCount, "000123");
    EXPECT_EQ(cancel.carcassClass, "S");
    EXPECT_FALSE(result.lineIsMeasurement);
}

TEST_F(DispatchFixture, ProbingErrorGoesWhereTheSequenceSays)
{
    struct Case {
        const char* what;
        bool weightBeforeProbe;
        WeightSource weightSource;
        std::vector<std::string> calls;
        // clang-format off
    } cases[] = {
        {"weight before probe", true, WeightSource::MettlerToledo,
         {"panel1:No Meat", "error:No Meat", "red:No Meat\r", "log"}},
        {"no weighing", false, WeightSource::NoWeight,
         {"panel1:No Meat", "error:No Meat", "red:No Meat\r", "clear", "log"}},
        {"probe before weight with a scale", false, WeightSource::MettlerToledo, {"panel1:No Meat"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        result = CurrentProbeResult{};
        target = RecordingTarget{};
        target.current = &result.currentMeasurement;
        weighing.weightBeforeProbe = c.weightBeforeProbe;
        weighing.weightSource = c.weightSource;
        Dispatch(kExample);
        target.calls.clear();
        Dispatch("Z0039");
        EXPECT_EQ(target.calls, c.calls) << c.what;
        if (c.calls.size() > 1) {
            // The error record keeps the previous measurement with a new kind, time and text.
            ASSERT_EQ(target.logged.size(), 1u);
            EXPECT_EQ(target.logged[0].kind, 'Z');
            EXPECT_EQ(target.logged[0].alertText, "No Meat");
            EXPECT_EQ(target.logged[0].carcassCount, "000123");
        }
        EXPECT_TRUE(result.lineIsMeasurement) << "an error does not change the line colour flag";
    }
}

TEST_F(DispatchFixture, StatusCodesWithoutTextReadProbingError)
{
    struct Case {
        std::string message;
        std::string panel;
        // clang-format off
    } cases[] = {
        {"Z0012", "panel1:Probing error"},
        {"Z00", "panel1:Probing error"},
        {"Z000", "panel1:Undetermined error."},
        {"Z0071", "panel1:Fat limit"},
        {"I01Probe ready", "panel1:Probe ready"},
    };
    // clang-format on
    for (const auto& c : cases) {
        target.calls.clear();
        Dispatch(c.message);
        ASSERT_FALSE(target.calls.empty()) << c.message;
        EXPECT_EQ(target.calls.front(), c.panel);
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
    ASSERT_EQ(target.calls.size(), 1u);
    EXPECT_EQ(target.calls[0].rfind("text:PC's", 0), 0u);
    target.calls.clear();
    for (const char* m : {"A1234P2", "X", "?????", "\x01\x02"})
        Dispatch(m);
    EXPECT_TRUE(target.calls.empty());
    EXPECT_EQ(result.currentMeasurement.kind, '\x01');
}
