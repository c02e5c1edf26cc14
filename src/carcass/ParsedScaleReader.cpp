#include "carcass/ParsedScaleReader.h"

#include "weighing/WeightParsers.h"

ScaleReading ParsedScaleReader::ReadScaleWeight(WeightSource source)
{
    const WeightParseResult parsed = ParseScaleWeight(source, message_, options_);
    ScaleReading reading;
    switch (parsed.outcome) {
    case WeightParseResult::Outcome::Weight: reading.weightText = parsed.weight; break;
    case WeightParseResult::Outcome::Refused: reading.errorText = parsed.errorText; break;
    case WeightParseResult::Outcome::NoMessage: break;
    }
    return reading;
}
