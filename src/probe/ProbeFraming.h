#pragma once
// Bytes of the probe link and the framing of a station command.

#include "probe/ControlBytes.h"

#include <string>

namespace ProbeBytes {
using namespace ControlBytes;

// The short exchanges around the probe's polls.
inline const std::string kDataPoll{'h', ENQ};         // the probe has a message
inline const std::string kDataPollAccepted{'h', ACK}; // send it
inline const std::string kCommandPoll{'H', ENQ};      // the probe takes a command
inline const std::string kNothingToSend{'H', EOT};    // no command this time
} // namespace ProbeBytes

// The frame that answers a command poll with `command`: "H", ACK, SOH, first character, STX,
// the rest, ETX, BCC. The text is cut at its first ETX. BCC is the XOR of every byte from the
// first text character through ETX (SOH excluded).
std::string FrameProbeCommand(const std::string& command);

// XOR of the bytes of `bytes`.
unsigned char BlockCheck(const std::string& bytes);

// The message of a received frame: the character after the first SOH followed by the bytes
// strictly between the first STX and the first ETX. `complete` is false when one of the three
// is missing; `etxBeforeStx` tells a frame whose ETX comes before its STX.
struct ReceivedFrame {
    bool complete = false;
    bool etxBeforeStx = false;
    std::string message;
};
ReceivedFrame ExtractProbeFrame(const std::string& reception);
