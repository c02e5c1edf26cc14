#pragma once
// Reading the weight out of one scale message, one parser per protocol. The
// parsers only judge the message; the window that asked decides where their texts show.

#include "weighing/ScaleOptions.h"
#include "weighing/WeightSource.h"

#include <string>

struct WeightParseResult {
    enum class Outcome {
        Weight,    // `weight` holds the weight text, "." as decimal mark
        Refused,   // the message failed a check: `errorText` goes into the error label
        NoMessage, // no header or no end of message yet: nothing to report
    };

    Outcome outcome = Outcome::NoMessage;
    std::string weight;
    std::string errorText;

    bool HasWeight() const { return outcome == Outcome::Weight; }
};

// Mettler-Toledo: STX, SI/SO and checksum as the options say, then the 7 characters after the
// framing bytes. Errors: "Weight scale Protocol <STX> error" (also for a message too short to
// hold the weight), "Weight scale Protocol <SI>, <SO> error", "Weight reading Checksum error".
WeightParseResult ParseToledoWeight(const std::string& scaleMessage, const ToledoOptions& options);

// Wedderburn: stable sign, header code and the CR right after the weight, then the 7 weight
// characters. Errors: "Weight scale Protocol Stable-code error" (stable sign in use) or
// "Weight scale Protocol Header-code error".
WeightParseResult ParseWedderburnWeight(const std::string& scaleMessage, const WedderburnOptions& options);

// Generic, EV2000 and TU9000: the number at the start position after the header, times the
// factor, as a plain decimal text. Options that cannot be applied (start position, factor) or a
// message too short refuse the message like any failed check: the error text carries the
// model's prefix ("WeightGeneric error: ", "Weight EV2000 error: ", "Weight TU9000 error: ") and
// a description, for the error label; nothing raises a box from inside the receive tick.
WeightParseResult ParseHeaderWeight(WeightSource model, const std::string& scaleMessage,
                                    const HeaderScaleOptions& options);

// The error-text prefix of a header scale's failures.
std::string HeaderScaleErrorPrefix(WeightSource model);

// Mettler-Toledo, Wedderburn, Generic, EV2000 and TU9000 have a parser; the others do not.
bool HasScaleParser(WeightSource source);

// The parser of `source` with its options; NoMessage for a source without a parser.
WeightParseResult ParseScaleWeight(WeightSource source, const std::string& scaleMessage, const ScaleOptions& options);
