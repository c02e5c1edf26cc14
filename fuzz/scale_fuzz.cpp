// Feeds arbitrary scale traffic to the scale half of the receive tick and reads every message
// it gathers with every parser in every option combination.
//
// Input: pieces separated by byte 0xFF: the header scales' header text, start position text and
// factor text as typed in their dialogs, then chunks of scale bytes, each one op byte first.
//   op bits 0-2: receive ticks after the chunk arrives (0 lets it run into the next chunk's)
//   op bit 3: the chunk's second half arrives between the collector's count and its read
//
// Checks: the gathered messages are exactly the bytes the scale sent, in order, none lost or
// doubled; Mettler-Toledo and Wedderburn weights are 7 characters, their refusals carry their
// error texts; a header-scale weight is a plain number that reads back as itself, a failure
// carries the model's prefix; a result is a weight or a reason, never both.

#include "FuzzInput.h"

#include "probe/TextNumber.h"
#include "support/FakeSerialPort.h"
#include "weighing/ScaleCollector.h"
#include "weighing/WeightParsers.h"

#include <set>
#include <vector>

using fuzz::Check;
using Outcome = WeightParseResult::Outcome;

namespace {

// Bytes that reach the port between the collector's count and its read.
class RacingPort : public FakeSerialPort {
public:
    std::string Input() override
    {
        Feed(arriveBeforeRead);
        arriveBeforeRead.clear();
        return FakeSerialPort::Input();
    }
    std::string arriveBeforeRead;
};

void CheckShape(const WeightParseResult& result, const std::string& message)
{
    switch (result.outcome) {
    case Outcome::Weight: Check(result.errorText.empty(), "a weight comes without a reason", message); break;
    case Outcome::Refused:
        Check(result.weight.empty() && !result.errorText.empty(), "a refusal carries only its error text", message);
        break;
    case Outcome::NoMessage:
        Check(result.weight.empty() && result.errorText.empty(), "no message says nothing", message);
        break;
    }
}

void ParseWithFixedFields(const std::string& message)
{
    static const std::set<std::string> toledoErrors = {
        "Weight scale Protocol <STX> error", "Weight scale Protocol <SI>, <SO> error", "Weight reading Checksum error"};
    static const std::set<std::string> wedderburnErrors = {"Weight scale Protocol Stable-code error",
                                                           "Weight scale Protocol Header-code error"};
    for (int bits = 0; bits < 8; ++bits) {
        const ToledoOptions options{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
        const WeightParseResult result = ParseToledoWeight(message, options);
        CheckShape(result, message);
        Check(result.outcome == Outcome::Weight || result.outcome == Outcome::Refused, "Toledo weighs or refuses",
              message);
        Check(!result.HasWeight() || result.weight.size() == 7, "a Toledo weight is 7 characters", result.weight);
        Check(result.HasWeight() || toledoErrors.count(result.errorText) == 1, "a Toledo error text", result.errorText);
    }
    for (int bits = 0; bits < 4; ++bits) {
        const WedderburnOptions options{(bits & 1) != 0, (bits & 2) != 0};
        const WeightParseResult result = ParseWedderburnWeight(message, options);
        CheckShape(result, message);
        Check(!result.HasWeight() || result.weight.size() == 7, "a Wedderburn weight is 7 characters", result.weight);
        Check(result.HasWeight() || wedderburnErrors.count(result.errorText) == 1, "a Wedderburn error text",
              result.errorText);
    }
}

void ParseWithHeader(const std::string& message, const HeaderScaleOptions& options)
{
    for (const WeightSource model : {WeightSource::Generic, WeightSource::EV2000, WeightSource::TU9000}) {
        const WeightParseResult result = ParseHeaderWeight(model, message, options);
        CheckShape(result, message);
        if (result.outcome == Outcome::Refused)
            Check(result.errorText.starts_with(HeaderScaleErrorPrefix(model)), "a refusal carries the model's prefix",
                  result.errorText);
        if (result.HasWeight())
            Check(PlainNumberText(NumberInText(result.weight)) == result.weight,
                  "a header-scale weight is a plain number that reads back as itself", result.weight);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> pieces = fuzz::SplitPieces(data, size);
    HeaderScaleOptions typed;
    if (pieces.size() > 3) {
        typed.header = pieces[0];
        typed.startPosition = pieces[1];
        typed.factor = pieces[2];
    }
    const ScaleOptions defaults;

    RacingPort port;
    port.SetPortOpen(true);
    ScaleCollector collector(port);
    std::string sent;
    std::string gathered;
    QObject::connect(&collector, &ScaleCollector::weightArrived, [&] {
        const std::string& message = collector.scaleMessage();
        Check(!message.empty(), "a weight arrival has a message");
        gathered += message;
        ParseWithFixedFields(message);
        ParseWithHeader(message, typed);
        for (const WeightSource model : {WeightSource::Generic, WeightSource::TU9000})
            ParseWithHeader(message, defaults.HeaderOptions(model));
        // As the pairing asks, by weight source: a source without a scale has nothing to say.
        for (const int source : {1, 2, 3, 4, 6, 7, 8, 9, 10}) {
            const WeightParseResult result = ParseScaleWeight(static_cast<WeightSource>(source), message, defaults);
            CheckShape(result, message);
            Check(HasScaleParser(static_cast<WeightSource>(source)) || result.outcome == Outcome::NoMessage,
                  "a source without a scale reads no weight", message);
        }
    });

    for (std::size_t i = pieces.size() > 3 ? 3 : 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        if (piece.empty())
            continue;
        const unsigned op = static_cast<unsigned char>(piece[0]);
        const std::string bytes = piece.substr(1);
        sent += bytes;
        // Bytes held back for a read have arrived by the time the next chunk does.
        port.Feed(port.arriveBeforeRead);
        port.arriveBeforeRead.clear();
        if (op & 8u) {
            const std::size_t half = bytes.size() / 2;
            port.Feed(bytes.substr(0, half));
            port.arriveBeforeRead += bytes.substr(half);
        } else {
            port.Feed(bytes);
        }
        for (unsigned t = 0; t < (op & 7u); ++t)
            collector.OnScaleTick();
    }
    // Quiet ticks take whatever still waits or was carried over.
    port.Feed(port.arriveBeforeRead);
    port.arriveBeforeRead.clear();
    for (int t = 0; t < 8; ++t)
        collector.OnScaleTick();
    Check(gathered == sent, "the messages are the bytes the scale sent, in order", gathered);
    return 0;
}
