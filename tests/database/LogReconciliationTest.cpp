// A log compared with the server's rows for it: which lines are this station's, another's, no
// one's (sent), and which of this station's rows the log lost (marked).

#include "database/LogReconciliation.h"

#include <gtest/gtest.h>

namespace {

std::uint64_t H(const char* line)
{
    return LogLineMap::HashOf(line);
}

TEST(LogReconciliation, EachLineIsHeldOnceByItsOwnRowAnotherStationsOrNoOnes)
{
    const struct {
        const char* name;
        std::vector<const char*> log;
        std::vector<ServerLine> server;
        std::vector<WaitingLine> waiting;
        std::vector<JournalRow> rows;
        std::vector<size_t> missing;
        std::vector<JournalRow> gone;
    } cases[] = {
        {"all held",
         {"a", "b"},
         {{"A", 7, 1, H("a"), false}, {"A", 7, 2, H("b"), false}},
         {},
         {{7, 1}, {7, 2}},
         {},
         {}},
        {"the server lost one", {"a", "b"}, {{"A", 7, 1, H("a"), false}}, {}, {{7, 1}, {}}, {1}, {}},
        {"the log lost one",
         {"b"},
         {{"A", 7, 1, H("a"), false}, {"A", 7, 2, H("b"), false}},
         {},
         {{7, 2}},
         {},
         {{7, 1}}},
        {"another station's line is never sent",
         {"x", "a"},
         {{"B", 9, 1, H("x"), true}, {"A", 7, 1, H("a"), false}},
         {},
         {{}, {7, 1}},
         {},
         {}},
        {"identical lines paired in order",
         {"c", "c", "c"},
         {{"A", 7, 1, H("c"), false}, {"A", 8, 1, H("c"), false}},
         {},
         {{7, 1}, {8, 1}, {}},
         {2},
         {}},
        {"a line deleted on the server comes again", {"a"}, {{"A", 7, 1, H("a"), true}}, {}, {{}}, {0}, {}},
        {"a line still waiting counts as held",
         {"a", "w"},
         {{"A", 7, 1, H("a"), false}},
         {{{0, 3}, H("w")}},
         {{7, 1}, {0, 3}},
         {},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint64_t> log;
        for (const char* line : c.log)
            log.push_back(H(line));
        const Reconciliation found = ReconcileLog(log, c.server, "A", c.waiting);
        EXPECT_EQ(found.rows, c.rows);
        EXPECT_EQ(found.missing, c.missing);
        EXPECT_EQ(found.gone, c.gone);
    }
}

} // namespace
