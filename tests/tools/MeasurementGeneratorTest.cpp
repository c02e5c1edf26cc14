// Generated messages must decode positionally the way the station reads them.

#include "tools/sim/MeasurementGenerator.h"
#include "probe/RecordDecoders.h"

#include <gtest/gtest.h>

#include <QDate>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <string>

namespace {

// Characters p..q, counted from 1 as the message layouts count them.
std::string At(const std::string& message, size_t p, size_t q)
{
    return message.substr(p - 1, q - p + 1);
}

bool AllDigits(const std::string& text)
{
    return !text.empty()
           && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

int Number(const std::string& text)
{
    return std::stoi(text);
}

// hhmmss of a real clock.
bool IsTime(const std::string& t)
{
    return AllDigits(t) && t.size() == 6 && Number(t.substr(0, 2)) < 24 && Number(t.substr(2, 2)) < 60
           && Number(t.substr(4, 2)) < 60;
}

// Lower bounds, in tenths of a percent, of each lean meat class.
char ExpectedClass(int tenths)
{
    const std::pair<int, char> bounds[] = {{600, 'S'}, {550, 'E'}, {500, 'U'}, {450, 'R'}, {400, 'O'}};
    for (const auto& [bound, letter] : bounds)
        if (tenths >= bound)
            return letter;
    return 'P';
}

// Characters 2 to 35, shared by "E", "J" and "L".
void CheckCommonFields(const std::string& m)
{
    EXPECT_EQ(At(m, 2, 3), "01");
    for (auto [p, q] : {std::pair{4, 9}, {10, 13}, {14, 17}, {18, 21}, {22, 25}, {26, 29}, {30, 32}})
        EXPECT_TRUE(AllDigits(At(m, p, q))) << m << " at " << p;
    EXPECT_GT(Number(At(m, 10, 13)), 0) << "a zero fat depth breaks the lean meat equation";
    EXPECT_GT(Number(At(m, 30, 32)), 0) << "zero meat % means no value";
    for (size_t p : {33u, 34u})
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(m[p - 1]))) << m;
    EXPECT_EQ(m[34], ExpectedClass(Number(At(m, 30, 32)))) << m;
}

TEST(MeasurementGenerator, EachKindDecodesPositionally)
{
    MeasurementGenerator generator(7);
    generator.SetSerialNumber("P2AB");
    for (int round = 0; round < 100; ++round) {
        const std::string e = generator.NextBasic();
        ASSERT_EQ(e.size(), 42u) << e;
        EXPECT_EQ(e[0], 'E');
        CheckCommonFields(e);
        EXPECT_TRUE(IsTime(At(e, 36, 41))) << e;

        const std::string j = generator.NextColour();
        ASSERT_EQ(j.size(), 58u) << j;
        EXPECT_EQ(j[0], 'J');
        CheckCommonFields(j);
        for (auto [p, q] : {std::pair{36, 38}, {40, 42}, {44, 46}, {48, 51}})
            EXPECT_TRUE(AllDigits(At(j, p, q))) << j << " at " << p;
        EXPECT_LE(Number(At(j, 36, 38)), 100) << "colour runs from 0 (dark) to 100 (light)";
        EXPECT_TRUE(IsTime(At(j, 53, 58))) << j;

        const std::string l = generator.NextQuality();
        ASSERT_EQ(l.size(), 73u) << l;
        EXPECT_EQ(l[0], 'L');
        CheckCommonFields(l);
        for (auto [p, q] : {std::pair{36, 39}, {42, 45}, {48, 51}, {53, 64}, {69, 72}})
            EXPECT_TRUE(AllDigits(At(l, p, q))) << l << " at " << p;
        const int month = Number(At(l, 55, 56));
        const int day = Number(At(l, 57, 58));
        EXPECT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= 31) << l;
        EXPECT_TRUE(IsTime(At(l, 59, 64))) << l;
        EXPECT_EQ(At(l, 65, 68), "P2AB");
        EXPECT_GT(Number(At(l, 69, 72)), 0);
    }
}

TEST(MeasurementGenerator, CounterRisesAndCancelsAndErrorsRefer)
{
    MeasurementGenerator generator(3, 998);
    int lastCounter = 997;
    std::map<char, int> kinds;
    for (int i = 0; i < 600; ++i) {
        const std::string m = generator.Next();
        ASSERT_FALSE(m.empty());
        ++kinds[m[0]];
        switch (m[0]) {
        case 'E':
        case 'J':
        case 'L':
            EXPECT_EQ(Number(At(m, 4, 9)), lastCounter + 1) << m;
            lastCounter = Number(At(m, 4, 9));
            break;
        case 'C':
            ASSERT_EQ(m.size(), 9u) << m;
            EXPECT_EQ(At(m, 2, 3), "00");
            EXPECT_EQ(Number(At(m, 4, 9)), lastCounter) << "a cancel names the carcass just measured";
            break;
        case 'Z':
            ASSERT_EQ(m.size(), 5u) << m;
            EXPECT_EQ(At(m, 2, 3), "00");
            EXPECT_TRUE(AllDigits(At(m, 4, 5))) << m;
            break;
        default: ADD_FAILURE() << "unexpected kind " << m;
        }
    }
    for (char kind : {'E', 'J', 'L', 'C', 'Z'})
        EXPECT_GT(kinds[kind], 0) << kind;
    EXPECT_GT(kinds['E'], kinds['J'] + kinds['L'] + kinds['C'] + kinds['Z']) << "mostly basic measurements";
}

TEST(MeasurementGenerator, ProbeClockMovesOnAcrossMidnightAndYearEnd)
{
    MeasurementGenerator generator(5);
    generator.SetProbeClock(2026, 12, 31, 23, 59, 59);
    const std::string first = At(generator.NextQuality(), 53, 64);
    EXPECT_EQ(first.substr(0, 6), "270101");
    EXPECT_GE(first.substr(6), "000005");
    EXPECT_LE(first.substr(6), "000020");
    std::string previous = first;
    for (int i = 0; i < 50; ++i) {
        const std::string stamp = At(generator.NextQuality(), 53, 64);
        EXPECT_GT(stamp, previous) << "the probe clock only moves on";
        previous = stamp;
    }
}

TEST(MeasurementGenerator, SameSeedSameSequence)
{
    MeasurementGenerator a(42), b(42), c(43);
    std::string fromA, fromB, fromC;
    for (int i = 0; i < 50; ++i) {
        fromA += a.Next() + "|";
        fromB += b.Next() + "|";
        fromC += c.Next() + "|";
    }
    EXPECT_EQ(fromA, fromB);
    EXPECT_NE(fromA, fromC);
}

TEST(MeasurementGenerator, ClassBoundaries)
{
    const std::pair<double, char> cases[] = {{75.0, 'S'}, {60.0, 'S'}, {59.99, 'E'}, {55.0, 'E'},
                                             {54.9, 'U'}, {50.0, 'U'}, {49.9, 'R'},  {45.0, 'R'},
                                             {44.9, 'O'}, {40.0, 'O'}, {39.9, 'P'},  {0.0, 'P'}};
    for (const auto& [percent, letter] : cases)
        EXPECT_EQ(MeasurementGenerator::ClassForPercent(percent), letter) << percent;
}

} // namespace

TEST(MeasurementGenerator, RarerKindsDecodeAndTheProbeAnswersReportCommands)
{
    MeasurementGenerator generator(11);
    generator.FollowClock([] { return std::array<int, 6>{2026, 12, 9, 17, 30, 5}; });
    const QDate today(2026, 12, 9);
    struct Kind {
        std::string message;
        size_t length;
        void (*decode)(const std::string&, CarcassMeasurement&, const QDate&);
        const char* time; // the probe's time in the record ("" where the kind carries none)
        // clang-format off
    } kinds[] = {
        {generator.NextTwoSite(), 54, DecodeTwoSiteRecord, "17:30:05  09-12-2026"},
        {generator.NextTwoSiteColour(), 81, DecodeTwoSiteColourRecord, "17:30:05  09-12-2026"},
        {generator.NextDoubleQuality(), 105, DecodeDoubleSiteQualityRecord, "17:30:05  09-12-2026"},
        {generator.NextColourSample(), 11, DecodeColourSampleRecord, ""},
    };
    // clang-format on
    for (const Kind& k : kinds) {
        ASSERT_EQ(k.message.size(), k.length) << k.message;
        CarcassMeasurement record;
        k.decode(k.message, record, today);
        EXPECT_EQ(record.timeDate, k.time) << k.message;
        if (k.length > 11) {
            EXPECT_TRUE(AllDigits(record.carcassCount) && record.carcassCount.size() == 6) << k.message;
            EXPECT_NE(std::string("SEUROP").find(record.carcassClass), std::string::npos) << k.message;
            EXPECT_FALSE(record.fat2.empty()) << k.message;
        } else {
            EXPECT_FALSE(record.rz7Colour1.empty()) << k.message;
        }
    }
    // Three carcasses were classed: the probe's class summary counts them.
    const std::string dump = generator.AnswerTo("D");
    ASSERT_EQ(dump.size(), 25u) << dump;
    int counted = 0;
    for (size_t p = 1; p < dump.size(); p += 4)
        counted += Number(dump.substr(p + 1, 3));
    EXPECT_EQ(counted, 3);
    const std::string service = generator.AnswerTo("N");
    EXPECT_EQ(std::count(service.begin(), service.end(), '\x1c'), 10) << "ten fields, then the counter";
    EXPECT_EQ(generator.AnswerTo("U"), "U 09-12-26 17:30:05");
    EXPECT_EQ(generator.AnswerTo("B"), "") << "no report for other commands";
}
