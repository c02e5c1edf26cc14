// Sequences of weights, probe results, cancels and timer expiries, in both orders of the line.

#include "PairingRig.h"

#include <gtest/gtest.h>

TEST(PairingScenarioTest, EventsGiveTheseCommandsLogLinesAndDisplays)
{
    const struct {
        const char* what;
        bool weightBeforeProbe;
        int waiting;
        const char* events;
        const char* trace;
    } cases[] = {
        {"weights pair in arrival order", true, 0, "w85.4 w92.1 p123 R p124",
         "w85.4 #1\nw92.1 #2\np123 log 000123/ 85.40/58.3/E @123 #1\nR @\np124 log 000124/ 92.10/58.3/E @124 #\n"},
        {"result without weight, then its cancel and another", true, 0, "p123 P c123 c122",
         "p123 >8 !Input weight first |Input weight first\nP >2*AAAWeight? !Input weight first\n"
         "c123 !Input weight first\nc122 log Cancel 000122 !Cancel\n"},
        {"cancel gives the weight back once", true, 0, "w85.4 w92.1 p123 c123 c123 p125 p126",
         "w85.4 #1\nw92.1 #2\np123 log 000123/ 85.40/58.3/E @123 #1\nc123 log Cancel 000123 !Cancel @ #2\n"
         "c123 log Cancel 000123 !Cancel\np125 log 000125/ 85.40/58.3/E @125 #1\np126 log 000126/ 92.10/58.3/E @126 "
         "#\n"},
        {"cancel with eight waiting", true, 9, "p101 c101 p102",
         "p101 log 000101/101.00/58.3/E @101 #8\nc101 log Cancel 000101 !Cancel @ #9\np102 log 000102/101.00/58.3/E "
         "@102 #8\n"},
        {"cancel with nine waiting", true, 10, "p101 c101 p102",
         "p101 log 000101/101.00/58.3/E @101 #9\nc101 !Weight record lost!\np102 log 000102/102.00/58.3/E @102 #8\n"},
        {"eleventh weight", true, 10, "w85 p101",
         "w85 >2.A(APeso mas !Too many weights |Too many weights\np101 log 000101/101.00/58.3/E @101 #9\n"},
        {"first typed weight's range", true, 0, "t110 T120 t111", "t110 >950 #1\nT120 #2\nt111 #3\n"},
        {"heavy first weight", true, 0, "T120 t110.01 p1 p2 t110.01",
         "T120 #1\nt110.01 #2\np1 log 0001/120.00/58.3/E @1 #1\np2 log 0002/110.01/58.3/E @2 #\nt110.01 >951 @ #1\n"},
        {"weight limits, weight first", true, 0, "w0 w200 T0 T-5 w w199.9",
         "w0 !Invalid weight\nw200 !Invalid weight\nT0 !Invalid weight\nT-5 !Invalid weight\nw !parser error\nw199.9 "
         "#1\n"},
        {"weight limits, probe first", false, 1, "w0 w200 T200 w w199.9",
         "w0 !Invalid weight\nw200 !Invalid weight\nT200 !Invalid weight\nw !Error message from weight scale\n"
         "w199.9 log 000101/199.90/58.3/E @101\n"},
        {"cancel withdraws the newer result", false, 0, "c100 p101 p102 c102 p103 w85.4 w92.1 w90",
         "c100\np101 @101 #1\np102 #2\nc102 !Cancel probe measurement #1\np103 #2\n"
         "w85.4 log 000101/ 85.40/58.3/E @101 #1\nw92.1 log 000103/ 92.10/58.3/E @103 #\nw90 !Unexpected weight "
         "input\n"},
        {"tenth result prompts, eleventh is refused", false, 9, "p110 p111 c111 w85 w86",
         "p110 >6$AAAWeight? !Input weight now! #10\np111 >6$AAAWeight? !Input weight now!\nc111 !Input weight now!\n"
         "w85 >7 log 000101/ 85.00/58.3/E @101 #9\nw86 log 000102/ 86.00/58.3/E @102 #8\n"},
        {"refresh shows the next waiting result", false, 2, "W85 R", "W85 log 000101/ 85.00/58.3/E #1\nR @102\n"},
        {"sequence change drops the waiting weights", true, 2, "s1 s0 w85 s1 c101",
         "s1\ns0\nw85 !Unexpected weight input\ns1\nc101 log Cancel 000101 !Cancel\n"},
    };
    for (const auto& c : cases) {
        PairingRig rig(c.weightBeforeProbe);
        rig.Prefill(c.waiting);
        EXPECT_EQ(rig.Run(c.events), c.trace) << c.what;
    }
}
