#pragma once
// Everything the station holds in memory on behalf of the probe: the carcasses between probe and
// scale, the probe result being handled, records the log file could not take yet, and messages
// that came while the station was paused. Written into the journal of received messages as text,
// so that a station killed at any instant comes back holding the same.

#include "carcass/PendingQueue.h"
#include "log/LogFileWriter.h"
#include "probe/CurrentProbeResult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A probe message (or a scale message it may pair with) as it was received: its number in the
// journal and the time it came.
struct ReceivedMessage {
    enum class Kind : char { Probe = 'M', Weight = 'W' };

    std::uint64_t seq = 0;
    long long receivedMs = 0; // milliseconds since the epoch
    std::string text;
    Kind kind = Kind::Probe;

    bool operator==(const ReceivedMessage&) const = default;
};

// A record's log line that waits for its file, as the log writer keeps it.
using UnwrittenLine = LogFileWriter::WaitingLine;

struct HeldState {
    PendingQueue queue;
    CurrentProbeResult current;
    bool currentIgnoresNextCancel = false; // the current carcass pairing's flag
    bool mainIgnoresNextCancel = false;    // the main pairing's flag
    std::vector<UnwrittenLine> unwritten;
    std::vector<ReceivedMessage> held; // received during a pause, not yet dispatched
    // The log file the records went to, and its size when this state was taken: lines after it
    // may be records that a replay would write again.
    std::string logPath;
    long long logSize = 0;

    // True when nothing at all is held: the journal may be left empty.
    bool HoldsNothing() const;
};

// One text, printable apart from TAB and LF, that ParseHeldState turns back into the same state.
std::string SerializeHeldState(const HeldState& state);
std::optional<HeldState> ParseHeldState(const std::string& text);
