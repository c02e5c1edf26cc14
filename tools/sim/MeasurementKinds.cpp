// The probe's rarer messages (two-site, two-site with colour, double-site quality, colour
// sample), the demo's mixture of every kind, and the probe's answers to the station's report
// commands.

#include "MeasurementGenerator.h"

#include <array>

namespace {

constexpr char FS = 28;

} // namespace

std::string MeasurementGenerator::TwoSiteFields(const Carcass& c)
{
    last_ = counter_;
    std::string text = "01" + Digits(counter_, 6); // 2-9
    counter_ = counter_ >= 999999 ? 1 : counter_ + 1;
    text += Digits(c.fat, 4) + Digits(c.fat + Uniform(-20, 20), 4); // 10-17 fat sites 1, 2
    text += Digits(c.meat, 4) + Digits(c.intrafat, 4);              // 18-25
    text += Digits(c.thickness, 4) + Digits(c.distance, 4);         // 26-33 site 1
    text += Digits(c.thickness + Uniform(-30, 30), 4) + Digits(c.distance + Uniform(-40, 40), 4); // 34-41
    text += Digits(c.percent, 3);                                                                 // 42-44
    text += std::string{c.fatIndicator, c.fatIndicator, c.meatIndicator};                         // 45-47
    const char carcassClass = ClassForPercent(c.percent / 10.0);
    ++classCounts_[carcassClass];
    return text + carcassClass; // 48
}

std::string MeasurementGenerator::NextTwoSite()
{
    AdvanceClock();
    return "B" + TwoSiteFields(NewCarcass()) + ClockTime(); // 49-54
}

std::string MeasurementGenerator::NextTwoSiteColour()
{
    AdvanceClock();
    std::string text = "H" + TwoSiteFields(NewCarcass());
    text += Digits(Uniform(35, 95), 3) + " " + Digits(Uniform(35, 95), 3) + " "; // 49-56 colours
    text += Digits(Uniform(1, 6), 3) + " " + Digits(Uniform(20, 60), 3) + " ";   // 57-64
    text += Digits(Uniform(5, 120), 4) + Digits(Uniform(5, 120), 4);             // 65-72 variations
    text += std::string{Pick("NNNNP"), Pick("NNNNP"), ' '};                      // 73-75 PSE
    return text + ClockTime();                                                   // 76-81
}

std::string MeasurementGenerator::NextDoubleQuality()
{
    AdvanceClock();
    const Carcass c = NewCarcass();
    std::string text = "M" + TwoSiteFields(c);
    text += Digits(c.meat + Uniform(-30, 30), 4) + Pick("BBBBA");                   // 49-53 second meat site
    text += Digits(Uniform(5, 40), 4);                                              // 54-57 intramuscular fat 2
    text += Digits(Uniform(30, 90), 4) + Digits(Uniform(30, 90), 4) + Pick("ABCD"); // 58-66 colour
    text += Digits(Uniform(1, 60), 4) + Digits(Uniform(1, 60), 4) + Pick("12345");  // 67-75 marbling
    text += Digits(Uniform(0, 99), 4) + Pick("NNNNP") + "    ";                     // 76-84 PSE
    text += ClockDate() + ClockTime() + serial_;                                    // 85-100
    return text + Digits(Uniform(5, 150), 4) + Pick("ABC");                         // 101-105 tenderness
}

std::string MeasurementGenerator::NextColourSample()
{
    AdvanceClock();
    return "S" + Digits(Uniform(30, 90), 4) + Pick("abcd") + Digits(Uniform(0, 99), 4) + Pick("nnnp");
}

std::string MeasurementGenerator::NextAnyKind()
{
    // One of each kind first, so that every kind shows within the demo's first minute.
    switch (anyKindCount_++) {
    case 0: return NextBasic();
    case 1: return NextColour();
    case 2: return NextTwoSite();
    case 3: return NextTwoSiteColour();
    case 4: return NextQuality();
    case 5: return NextDoubleQuality();
    case 6: return NextColourSample();
    case 7: return NextCancel();
    case 8: return NextError();
    default: break;
    }
    const int roll = Uniform(0, 99);
    if (roll < 55)
        return NextBasic();
    if (roll < 65)
        return NextColour();
    if (roll < 72)
        return NextQuality();
    if (roll < 77)
        return NextTwoSite();
    if (roll < 81)
        return NextTwoSiteColour();
    if (roll < 85)
        return NextDoubleQuality();
    if (roll < 88)
        return NextColourSample();
    if (roll < 94)
        return NextError();
    return NextCancel();
}

std::string MeasurementGenerator::AnswerTo(const std::string& command)
{
    if (command == "D") {
        // Four characters a class: its letter and the carcasses counted in it.
        std::string text = "D";
        for (char c : std::string("SEUROP")) {
            const auto found = classCounts_.find(c);
            text += c + Digits(found == classCounts_.end() ? 0 : found->second % 1000, 3);
        }
        return text;
    }
    if (command == "N") {
        const std::array<std::string, 10> fields = {
            "Probe RZ7",    "Serial " + serial_, "Firmware 3.21", "Calibrated 02-11-2026",   "Blade wear 0.8 mm",
            "Battery 96 %", "Temperature 31 C",  "Optics clean",  "Errors since service 12", "Last service 14-09-2026"};
        std::string text = "N";
        for (const std::string& field : fields)
            text += field + FS;
        return text + Digits(counter_ + 40000, 6);
    }
    if (command == "U") {
        if (wallClock_)
            AdvanceClock();
        return "U " + ClockDate().substr(4, 2) + "-" + ClockDate().substr(2, 2) + "-" + ClockDate().substr(0, 2) + " "
               + ClockTime().substr(0, 2) + ":" + ClockTime().substr(2, 2) + ":" + ClockTime().substr(4, 2);
    }
    return {};
}
