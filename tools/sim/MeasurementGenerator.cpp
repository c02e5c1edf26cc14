#include "MeasurementGenerator.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// Status codes a probe reports for a failed attempt in everyday work.
const char* const kProbingErrors[] = {"07", "33", "34", "35", "36", "37", "38", "39", "41", "43"};

} // namespace

std::string MeasurementGenerator::Digits(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return std::string(text).substr(0, static_cast<size_t>(width));
}

MeasurementGenerator::MeasurementGenerator(std::uint32_t seed, int firstCounter)
    : engine_(seed)
    , counter_(std::clamp(firstCounter, 1, 999999))
{}

void MeasurementGenerator::SetProbeClock(int year, int month, int day, int hour, int minute, int second)
{
    year_ = year;
    month_ = std::clamp(month, 1, 12);
    day_ = std::clamp(day, 1, DaysInMonth(year_, month_));
    secondOfDay_ = (std::clamp(hour, 0, 23) * 60 + std::clamp(minute, 0, 59)) * 60 + std::clamp(second, 0, 59);
}

void MeasurementGenerator::SetSerialNumber(const std::string& serial)
{
    serial_ = (serial + "0000").substr(0, 4);
}

char MeasurementGenerator::ClassForPercent(double percent)
{
    if (percent >= 60)
        return 'S';
    if (percent >= 55)
        return 'E';
    if (percent >= 50)
        return 'U';
    if (percent >= 45)
        return 'R';
    if (percent >= 40)
        return 'O';
    return 'P';
}

int MeasurementGenerator::Uniform(int low, int high)
{
    // Plain modulo rather than a std distribution: the sequence must not depend on the library.
    return low + static_cast<int>(engine_() % static_cast<std::uint32_t>(high - low + 1));
}

char MeasurementGenerator::Pick(const char* choices)
{
    const std::string all(choices);
    return all[static_cast<size_t>(Uniform(0, static_cast<int>(all.size()) - 1))];
}

std::string MeasurementGenerator::Next()
{
    const int roll = Uniform(0, 99);
    if (roll < 70)
        return NextBasic();
    if (roll < 80)
        return NextColour();
    if (roll < 88)
        return NextQuality();
    if (roll < 94)
        return NextError();
    return LastCounter() > 0 ? NextCancel() : NextBasic();
}

MeasurementGenerator::Carcass MeasurementGenerator::NewCarcass()
{
    Carcass c{};
    c.fat = Uniform(90, 280);
    c.meat = Uniform(380, 720);
    c.intrafat = Uniform(5, 40);
    c.thickness = Uniform(200, 450);
    c.distance = Uniform(300, 700);
    // The probe's own estimate from its depths, so the class spread looks like a real line.
    const double x = c.fat / 10.0;
    const double y = c.meat / 10.0;
    const double lean = 50.933698 - 0.312169 * x + 0.037779 * y + 2.411151 * y / x;
    c.percent = std::clamp(static_cast<int>(lean * 10 + 0.5) + Uniform(-15, 15), 350, 699);
    c.fatIndicator = Pick("AAAAAB");
    c.meatIndicator = Pick("BBBBBA");
    return c;
}

std::string MeasurementGenerator::CommonFields(const Carcass& c)
{
    last_ = counter_;
    std::string text = "01" + Digits(counter_, 6);
    counter_ = counter_ >= 999999 ? 1 : counter_ + 1;
    text += Digits(c.fat, 4) + Digits(c.meat, 4) + Digits(c.intrafat, 4) + Digits(c.thickness, 4)
            + Digits(c.distance, 4) + Digits(c.percent, 3);
    text += c.fatIndicator;
    text += c.meatIndicator;
    const char carcassClass = ClassForPercent(c.percent / 10.0);
    ++classCounts_[carcassClass];
    text += carcassClass;
    return text;
}

void MeasurementGenerator::AdvanceClock()
{
    if (wallClock_) {
        const std::array<int, 6> now = wallClock_();
        SetProbeClock(now[0], now[1], now[2], now[3], now[4], now[5]);
        return;
    }
    secondOfDay_ += Uniform(6, 20);
    if (secondOfDay_ < 24 * 3600)
        return;
    secondOfDay_ -= 24 * 3600;
    if (++day_ > DaysInMonth(year_, month_)) {
        day_ = 1;
        if (++month_ > 12) {
            month_ = 1;
            ++year_;
        }
    }
}

std::string MeasurementGenerator::ClockTime() const
{
    return Digits(secondOfDay_ / 3600, 2) + Digits(secondOfDay_ / 60 % 60, 2) + Digits(secondOfDay_ % 60, 2);
}

std::string MeasurementGenerator::ClockDate() const
{
    return Digits(year_ % 100, 2) + Digits(month_, 2) + Digits(day_, 2);
}

std::string MeasurementGenerator::NextBasic()
{
    AdvanceClock();
    // The trailing character is filler the probe appends after its time.
    return "E" + CommonFields(NewCarcass()) + ClockTime() + "X";
}

std::string MeasurementGenerator::NextColour()
{
    AdvanceClock();
    std::string text = "J" + CommonFields(NewCarcass());
    text += Digits(Uniform(35, 95), 3) + " "; // 36-38 colour, 39 unused
    text += Digits(Uniform(1, 6), 3) + " ";   // 40-42 colour number, 43 unused
    text += Digits(Uniform(20, 60), 3) + " "; // 44-46 minimum colour, 47 unused
    text += Digits(Uniform(5, 120), 4);       // 48-51 colour variation, tenths
    text += Pick("NNNNNP");                   // 52 PSE
    return text + ClockTime();                // 53-58
}

std::string MeasurementGenerator::NextQuality()
{
    AdvanceClock();
    std::string text = "L" + CommonFields(NewCarcass());
    text += Digits(Uniform(30, 90), 4) + " " + Pick("ABCD"); // 36-39 colour, 40, 41 grade
    text += Digits(Uniform(1, 60), 4) + " " + Pick("12345"); // 42-45 marbling, 46, 47 grade
    text += Digits(Uniform(0, 99), 4) + Pick("NNNNP");       // 48-51 PSE, 52 indicator
    text += ClockDate() + ClockTime();                       // 53-64
    text += serial_;                                         // 65-68
    text += Digits(Uniform(5, 150), 4) + Pick("ABC");        // 69-72 tenderness, 73 grade
    return text;
}

std::string MeasurementGenerator::NextCancel()
{
    AdvanceClock();
    return "C00" + Digits(last_, 6);
}

std::string MeasurementGenerator::NextError()
{
    AdvanceClock();
    const int count = static_cast<int>(std::size(kProbingErrors));
    return std::string("Z00") + kProbingErrors[Uniform(0, count - 1)];
}
