// The ring of ten at every fill and start slot, the sequence change, and what others read of it.

#include "PairingRig.h"
#include "probe/TextNumber.h"

#include <gtest/gtest.h>

TEST(PendingQueueTest, EveryCarcassGetsItsOwnWeightAtEveryFillAndStartSlot)
{
    for (const bool weightFirst : {true, false}) {
        for (int start = 0; start < PendingQueue::kSlots; ++start) {
            for (int n = 0; n <= 10; ++n) {
                PairingRig rig(weightFirst);
                rig.queue.readIndex = rig.queue.writeIndex = start;
                rig.Prefill(n); // weights 101.. or results 000101..
                // Weight first: a pairing and its cancel; probe first: the newest result withdrawn.
                if (!weightFirst || n < 10) {
                    if (weightFirst)
                        rig.Probe("000101");
                    rig.Cancel("000100");
                }
                for (int i = 1; i <= n; ++i) {
                    if (weightFirst)
                        rig.Probe("000" + std::to_string(100 + i));
                    else
                        rig.ScaleWeight(std::to_string(100 + i));
                }
                int paired = 0;
                for (const CarcassMeasurement& record : rig.side.logged) {
                    if (record.kind == 'C')
                        continue;
                    ++paired;
                    EXPECT_EQ(NumberInText(record.weight), NumberInText(record.carcassCount))
                        << (weightFirst ? "weight" : "probe") << " first, start " << start << ", " << n << " waiting";
                }
                const int expected = weightFirst ? (n == 0 ? 0 : n == 10 ? 10 : n + 1) : (n == 0 ? 0 : n - 1);
                EXPECT_EQ(paired, expected) << start << ' ' << n;
                EXPECT_EQ(rig.queue.count, 0) << start << ' ' << n;
            }
        }
    }
}

TEST(PendingQueueTest, SequenceChangeSaysWhatToStoreAndWhoReadsErrors)
{
    const struct {
        bool from, to;
        const char* value; // empty: the ticked entry, nothing happens
        const char* toolTip;
    } cases[] = {
        {true, false, "0", "Errors for weight scale operator"},
        {false, true, "1", "Errors for probe operator"},
        {true, true, "", ""},
        {false, false, "", ""},
    };
    for (const auto& c : cases) {
        PairingRig rig(c.from);
        rig.Prefill(3);
        const auto change = ChangeSequence(rig.weighing, rig.queue, c.to);
        EXPECT_EQ(change.has_value(), *c.value != '\0');
        EXPECT_EQ(change ? change->settingValue : "", c.value);
        EXPECT_EQ(change ? change->errorToolTip : "", c.toolTip);
        EXPECT_EQ(rig.weighing.weightBeforeProbe, c.to);
        EXPECT_EQ(rig.queue.count, change ? 0 : 3);
        EXPECT_TRUE(rig.side.logged.empty()) << "dropped halves are not logged";
    }
}

TEST(PendingQueueTest, HalfProcessedOnlyWithAWeightSourceAndHalvesWaiting)
{
    const struct {
        WeightSource source;
        int count;
        bool halfProcessed;
    } cases[] = {{WeightSource::NoWeight, 3, false},
                 {WeightSource::ManualInput, 0, false},
                 {WeightSource::ManualInput, 1, true},
                 {WeightSource::TU9000, 10, true}};
    for (const auto& c : cases) {
        WeighingState weighing;
        weighing.weightSource = c.source;
        PendingQueue queue;
        queue.count = c.count;
        EXPECT_EQ(CarcassesHalfProcessed(weighing, queue), c.halfProcessed) << c.count;
    }
}
