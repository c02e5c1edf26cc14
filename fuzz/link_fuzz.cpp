// Drives the probe link with arbitrary traffic through the in-memory port: receptions fed and
// taken by the receive tick, with now and then a command queued, a line event, the device pulled
// and returned, or the station paused.
//
// Input: pieces separated by byte 0xFF; each piece is one op byte and then the bytes the probe
// sends.
//   op bits 0-2: before feeding, 4 queues a command, 5 raises a line event, 6 pulls the device
//                and brings it back, 7 toggles the pause; 0-3 do nothing
//   op bits 3-7: receive ticks after feeding: 0 lets the bytes run into the next piece's, 2 takes
//                them as one reception, 30 and 31 are silences long enough to lose the link
//
// Checks: every byte the probe sends is read exactly once; each message handed on is the frame
// of the reception that carried it, paused or not (the station holds what comes during a pause);
// a frame is answered ACK when complete and NAK when not; every command frame sent has a right
// block check and carries a command that was queued; the link's state and command ring stay in
// range.

#include "FuzzInput.h"

#include "probe/ProbeFraming.h"
#include "probe/ProbeLink.h"
#include "support/FakeSerialPort.h"

#include <algorithm>
#include <array>
#include <vector>

using namespace ProbeBytes;
using fuzz::Check;

namespace {

// Commands the menus and the pairing queue, one with an ETX that framing cuts away.
const std::array<std::string, 8> kCommands = {
    "B", "T261208140533", "3000001", "904", "6$AAA Locked", "7", "2*AAAWeight ?", std::string{'A', '1', ETX, 'x'},
};

// The port remembers what each read returned and how many bytes were read and dropped.
class CountingPort : public FakeSerialPort {
public:
    std::string Input() override
    {
        lastRead = FakeSerialPort::Input();
        readBytes += lastRead.size();
        readThisTick = true;
        return lastRead;
    }
    void Pull()
    {
        droppedBytes += static_cast<std::size_t>(InBufferCount());
        HangUp();
    }

    std::string lastRead;
    bool readThisTick = false;
    std::size_t readBytes = 0;
    std::size_t droppedBytes = 0;
};

bool IsQueuedCommand(const std::string& command)
{
    if (command == "0" || command == "A1" || command == "I1")
        return true;
    return std::any_of(kCommands.begin(), kCommands.end(),
                       [&](const std::string& queued) { return queued.substr(0, queued.find(ETX)) == command; });
}

// A command frame: "H", ACK, SOH, first character, STX, the rest, ETX, BCC.
void CheckCommandFrame(const std::string& frame)
{
    Check(frame.size() >= 7 && frame.compare(0, 3, std::string{'H', ACK, SOH}) == 0 && frame[4] == STX,
          "command frame starts with H ACK SOH c STX", frame);
    const std::size_t etx = frame.find(ETX, 5);
    Check(etx != std::string::npos && etx + 2 == frame.size(), "command frame ends with ETX and BCC", frame);
    Check(static_cast<unsigned char>(frame.back()) == BlockCheck(frame.substr(3, etx - 2)), "block check", frame);
    Check(IsQueuedCommand(frame.substr(3, 1) + frame.substr(5, etx - 5)), "the command was queued", frame);
}

// What the station sent on one tick, given the state it was in and what it read.
void CheckAnswer(int stateBefore, const std::string& reception, const std::string& sent,
                 const std::vector<std::string>& handedOn)
{
    if (stateBefore == ProbeLink::MessageExpected) {
        const ReceivedFrame frame = ExtractProbeFrame(reception);
        if (frame.etxBeforeStx) {
            Check(sent.empty() && handedOn.empty(), "a frame with ETX before STX is dropped", reception);
            return;
        }
        Check(sent == std::string{frame.complete ? ACK : NAK}, "a frame is answered ACK or NAK", sent);
        // Paused or not: the station, not the link, holds a message that comes during a pause.
        const bool handOn = !frame.message.empty();
        Check(handedOn.size() == (handOn ? 1u : 0u), "a message is handed on once", reception);
        Check(!handOn || handedOn[0] == frame.message, "the message handed on is the frame's", reception);
        return;
    }
    Check(handedOn.empty(), "a message is handed on only from a frame", reception);
    if (stateBefore == ProbeLink::CommandSent) {
        Check(sent == std::string{EOT}, "the probe's answer to a command is closed with EOT", sent);
        return;
    }
    std::string rest = sent;
    if (rest.compare(0, 2, kDataPollAccepted) == 0)
        rest.erase(0, 2);
    if (rest.empty() || rest == kNothingToSend)
        return;
    CheckCommandFrame(rest);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CountingPort port;
    port.SetPortOpen(true);
    ProbeLink link(port);
    std::vector<std::string> handedOn;
    QObject::connect(&link, &ProbeLink::messageReceived,
                     [&handedOn](const std::string& message) { handedOn.push_back(message); });
    std::size_t fed = 0;

    auto tick = [&] {
        port.readThisTick = false;
        port.lastRead.clear();
        handedOn.clear();
        port.TakeWritten();
        const int stateBefore = link.linkState();
        link.OnReceiveTick();
        const std::string sent = port.TakeWritten();
        if (port.readThisTick)
            CheckAnswer(stateBefore, port.lastRead, sent, handedOn);
        else
            Check(sent.empty() && handedOn.empty(), "a tick that reads nothing sends nothing", sent);

        const CommandQueue& queue = link.Queue();
        Check(link.linkState() >= ProbeLink::Start && link.linkState() <= ProbeLink::MessageExpected,
              "link state in range");
        Check(!port.readThisTick || link.linkState() != ProbeLink::Start, "a reception leaves state 0");
        Check(queue.count >= 0 && queue.count <= CommandQueue::kSlots && queue.readIndex >= 0
                  && queue.readIndex < CommandQueue::kSlots && queue.writeIndex >= 0
                  && queue.writeIndex < CommandQueue::kSlots,
              "command ring in range");
        Check(fed == port.readBytes + port.droppedBytes + static_cast<std::size_t>(port.InBufferCount()),
              "every byte sent by the probe is read once");
    };

    for (const std::string& piece : fuzz::SplitPieces(data, size)) {
        if (piece.empty())
            continue;
        const unsigned op = static_cast<unsigned char>(piece[0]);
        switch (op & 7u) {
        case 4: link.QueueProbeCommand(kCommands[(op >> 3) % kCommands.size()]); break;
        case 5: port.RaiseLineError(); break;
        case 6:
            port.Pull();
            link.OnPortLost();
            port.ComeBack();
            port.SetPortOpen(true);
            link.OnPortBack();
            break;
        case 7: link.setStationPaused(!link.stationPaused()); break;
        default: break;
        }
        port.Feed(piece.substr(1));
        fed += piece.size() - 1;
        const unsigned ticks = op >> 3;
        const unsigned count = ticks == 31 ? 110 : ticks == 30 ? 70 : ticks;
        for (unsigned i = 0; i < count; ++i)
            tick();
    }
    // Whatever still waits is taken as the last reception.
    tick();
    tick();
    Check(port.InBufferCount() == 0, "the last reception is taken");
    return 0;
}
