// Gathering scale messages on the scale port, tick by tick.

#include "weighing/ScaleCollector.h"
#include "support/FakeSerialPort.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A port on which bytes can arrive while the collector reads.
class RacingPort : public FakeSerialPort {
public:
    std::string arriveBeforeRead;
    std::string arriveAfterRead;

    std::string Input() override
    {
        Feed(arriveBeforeRead);
        arriveBeforeRead.clear();
        std::string bytes = FakeSerialPort::Input();
        Feed(arriveAfterRead);
        arriveAfterRead.clear();
        return bytes;
    }
};

struct Collector {
    RacingPort port;
    ScaleCollector collector{port};
    // Messages as the weight arrival saw them, and every signal in order.
    std::vector<std::string> messages;
    std::vector<std::string> events;

    Collector()
    {
        port.SetPortOpen(true);
        QObject::connect(&collector, &ScaleCollector::linkAlive, [this] { events.push_back("alive"); });
        QObject::connect(&collector, &ScaleCollector::weightArrived, [this] {
            events.push_back("weight");
            messages.push_back(collector.scaleMessage());
        });
    }

    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            collector.OnScaleTick();
    }
};

} // namespace

TEST(ScaleCollector, TakesAMessageOnTheFirstQuietTick)
{
    // Each step: bytes arriving before the tick, then what the weight arrival has seen so far.
    const struct {
        const char* name;
        std::vector<std::string> arrivals; // one entry per tick
        std::vector<std::string> messages;
    } cases[] = {
        {"in one piece", {"  85.40\r", "", ""}, {"  85.40\r"}},
        {"in pieces", {"  85", ".40", "\r", "", ""}, {"  85.40\r"}},
        {"still arriving at the first look", {"  85"}, {}},
        {"two messages within one tick are one text", {"  85.40\r  92.10\r", "", ""}, {"  85.40\r  92.10\r"}},
        {"two messages a quiet tick apart", {"  85.40\r", "", "  92.10\r", "", ""}, {"  85.40\r", "  92.10\r"}},
        {"control bytes kept", {std::string("\0\x02 85\r\x95", 6), "", ""}, {std::string("\0\x02 85\r\x95", 6)}},
        {"nothing at all", {"", "", ""}, {}},
    };
    for (const auto& c : cases) {
        Collector station;
        for (const std::string& bytes : c.arrivals) {
            station.port.Feed(bytes);
            station.Ticks(1);
        }
        EXPECT_EQ(station.messages, c.messages) << c.name;
        if (!c.messages.empty()) {
            EXPECT_EQ(station.collector.scaleMessage(), c.messages.back()) << c.name;
            EXPECT_EQ(station.collector.lastScaleByteCount(), 0) << c.name;
            EXPECT_EQ(station.events.front(), "alive") << c.name;
        }
        EXPECT_EQ(station.events.size(), 2 * c.messages.size()) << c.name;
    }
}

TEST(ScaleCollector, ClosedPortIsLeftAlone)
{
    Collector station;
    station.port.SetPortOpen(false);
    station.port.Feed("  85.40\r");
    station.Ticks(5);
    EXPECT_TRUE(station.events.empty());
    EXPECT_EQ(station.collector.lastScaleByteCount(), 0);
    EXPECT_EQ(station.port.InBufferCount(), 8);
}

TEST(ScaleCollector, BytesArrivingDuringTheReadOpenTheNextMessage)
{
    const struct {
        const char* name;
        bool beforeRead;
    } cases[] = {{"after the count, before the read", true}, {"after the read", false}};
    for (const auto& c : cases) {
        Collector station;
        station.port.Feed("  85.40\r");
        station.Ticks(1);
        (c.beforeRead ? station.port.arriveBeforeRead : station.port.arriveAfterRead) = "  92.10\r";
        station.Ticks(3);
        const std::vector<std::string> expected{"  85.40\r", "  92.10\r"};
        EXPECT_EQ(station.messages, expected) << c.name;
    }
}

TEST(ScaleCollector, LineThatNeverFallsQuietIsTakenOnceTooLong)
{
    Collector station;
    const std::string chunk(1000, 'x');
    int ticks = 0;
    while (station.messages.empty() && ticks < 20) {
        station.port.Feed(chunk);
        station.Ticks(1);
        ++ticks;
    }
    // 5000 bytes are the first count beyond the bound.
    ASSERT_EQ(station.messages.size(), 1u);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(station.messages.front().size(), 5000u);
    EXPECT_EQ(station.collector.lastScaleByteCount(), 0);
}
