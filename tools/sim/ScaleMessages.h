#pragma once
// Weight messages as the station's scale models send them, for the simulated scale and tests.

#include <cstdint>
#include <random>
#include <string>

enum class ScaleProtocol { MettlerToledo, Wedderburn, Generic, EV2000, TU9000 };

struct ScaleMessageFormat {
    ScaleProtocol protocol = ScaleProtocol::MettlerToledo;
    // Mettler-Toledo: STX first, the weight between SO and SI, a checksum byte after the CR.
    bool stx = false;
    bool siso = false;
    bool checksum = false;
    // Wedderburn: a stable sign (00H and a space) first, a header code "0" (net) before the weight.
    bool stableCode = false;
    bool headerCode = false;
    // Generic, EV2000, TU9000: the header text, and the weight's offset from the header's first
    // character (2: the second character after a one-character header). Never less than the
    // header's length.
    std::string header = "$";
    int startPosition = 2;
    // The weight written with "," as decimal mark.
    bool decimalComma = false;
};

// The start position a header-scale model uses out of the box: 2 for Generic and EV2000, 20 for
// TU9000 (0 for the others).
int DefaultStartPosition(ScaleProtocol protocol);

// "toledo", "wedderburn", "generic", "ev2000", "tu9000" (any letter case); false for others.
bool ScaleProtocolFromName(const std::string& name, ScaleProtocol& protocol);

// One message carrying `kg`:
//   Mettler-Toledo  [STX] [SO] "%7.2f" [SI] CR [checksum]   e.g. "  85.40"
//   Wedderburn      [00H " "] ["0"] "%07.2f" CR              e.g. "0085.40"
//   header scales   header, filler up to the start position, "%.1f", " kg", CR LF
// The checksum byte brings the sum of every byte from the first through itself to a multiple
// of 256. The filler of a long gap carries a message number, as real scales put other fields
// there. Weights outside -999.99 to 9999.99 kg are clamped to fit the fixed fields.
std::string ScaleMessage(double kg, const ScaleMessageFormat& format, int messageNumber = 1);

// Plausible carcass weights, 70 to 130 kg in steps of 0.1 kg, most near 95 kg. The same seed
// always gives the same sequence.
class CarcassWeights {
public:
    explicit CarcassWeights(std::uint32_t seed = 1)
        : engine_(seed)
    {}
    double Next();

private:
    std::mt19937 engine_;
    std::normal_distribution<double> spread_{95.0, 12.0};
};
