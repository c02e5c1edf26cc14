#pragma once
// Plausible probe messages for the demo and for tests: mostly basic measurements ("E"), now and
// then one with RZ4 colour ("J"), an RZ7 quality measurement ("L"), a cancel ("C") or a probing
// error ("Z"). The same seed always gives the same sequence.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>

class MeasurementGenerator {
public:
    explicit MeasurementGenerator(std::uint32_t seed = 1, int firstCounter = 1);

    // Sets the probe's own clock (used for the times inside the messages); it moves on a few
    // seconds with every message.
    void SetProbeClock(int year, int month, int day, int hour, int minute, int second);
    // Four characters reported by RZ7 messages.
    void SetSerialNumber(const std::string& serial);

    // The probe's clock follows `now` (year, month, day, hour, minute, second) instead of moving
    // on a few seconds with every message, so that its times match the station's.
    void FollowClock(std::function<std::array<int, 6>()> now) { wallClock_ = std::move(now); }

    // The next message of the mixture.
    std::string Next();
    // The wider mixture of every kind a probe sends (the demo's): the first nine messages are one
    // of each kind, then mostly basic measurements.
    std::string NextAnyKind();
    // One message of each kind. Measurements advance the carcass counter.
    std::string NextBasic();         // "E", 42 characters
    std::string NextColour();        // "J", 58 characters
    std::string NextQuality();       // "L", 73 characters
    std::string NextCancel();        // "C00" and the counter of the last measured carcass
    std::string NextError();         // "Z00" and a two-digit probing status code
    std::string NextTwoSite();       // "B", 54 characters
    std::string NextTwoSiteColour(); // "H", 81 characters
    std::string NextDoubleQuality(); // "M", 105 characters
    std::string NextColourSample();  // "S", 11 characters

    // The probe's answer to a command of the station: its class summary ("D"), service
    // information ("N") or clock ("U"); empty for any other command.
    std::string AnswerTo(const std::string& command);

    // The counter of the last measurement, 0 before the first.
    int LastCounter() const { return last_; }

    // The class letter of a lean meat percentage (S 60 and above, down to P below 40).
    static char ClassForPercent(double percent);

private:
    struct Carcass {
        int fat;       // tenths of mm
        int meat;      // tenths of mm
        int intrafat;  // tenths of %
        int thickness; // tenths of mm
        int distance;  // tenths of mm
        int percent;   // tenths of %
        char fatIndicator;
        char meatIndicator;
    };

    // Zero-padded decimal of `value` in exactly `width` digits.
    static std::string Digits(int value, int width);
    int Uniform(int low, int high);
    char Pick(const char* choices);
    Carcass NewCarcass();
    // Characters 2 to 35 of "E", "J" and "L": type, counter, depths, meat %, indicators, class.
    std::string CommonFields(const Carcass& c);
    // Characters 2 to 48 of "B", "H" and "M": as CommonFields, with a second site.
    std::string TwoSiteFields(const Carcass& c);
    void AdvanceClock();
    std::string ClockTime() const; // hhmmss
    std::string ClockDate() const; // yymmdd

    std::mt19937 engine_;
    int counter_;
    int last_ = 0;
    std::string serial_ = "0417";
    int year_ = 2026, month_ = 1, day_ = 5;
    int secondOfDay_ = 6 * 3600;
    std::function<std::array<int, 6>()> wallClock_;
    std::map<char, int> classCounts_;
    int anyKindCount_ = 0;
};
