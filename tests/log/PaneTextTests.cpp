// What the pane shows of a log: colours, left-out messages, the newest lines within the cap,
// and the saved pane put back after viewing.

#include "log/LogRecordFormat.h"
#include "log/PaneText.h"

#include <gtest/gtest.h>

namespace {

const std::string kLog = "header\t\r\n"
                         "\t08:00:00  01-02-2024\tSingle Site\t01\t000001\t14\t\t55\t\r\n"
                         "Probe error 7\tx\t\r\n"
                         "\r\n"
                         "\tCancel      000002\t\r\n";

// Runs as "colour:text" with the colour's initial, for one comparison.
std::vector<std::string> Runs(const std::vector<PaneRun>& runs)
{
    std::vector<std::string> out;
    for (const PaneRun& run : runs) {
        const char* colour = run.colour == PaneColour::Black ? "K" : run.colour == PaneColour::Red ? "R" : "B";
        out.push_back(colour + (":" + run.text));
    }
    return out;
}

} // namespace

TEST(PaneText, LogLinesByKindAndColour)
{
    struct Case {
        const char* name;
        PaneColour results;
        bool messages;
        std::vector<std::string> runs;
    };
    const Case cases[] = {
        {"loaded",
         PaneColour::Black,
         true,
         {"K:08:00:00  01-02-2024,000001,01,14,55,,\r\n", "R:Probe error 7\r\n\r\n", "K:Cancel      000002,,,,,,\r\n"}},
        {"viewed, errors suppressed",
         PaneColour::Blue,
         false,
         {"B:08:00:00  01-02-2024,000001,01,14,55,,\r\n\r\nCancel      000002,,,,,,\r\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaneTextOptions options;
        options.templateNumber = 1;
        options.resultColour = c.results;
        options.showMessages = c.messages;
        const PaneText text = LogPaneText(kLog, options);
        EXPECT_EQ(Runs(text.runs), c.runs);
        EXPECT_EQ(text.linesLeftOut, 0u);
    }
}

TEST(PaneText, OnlyTheNewestWholeLinesThatFit)
{
    std::string log = "header\r\n";
    for (int n = 0; n < 1000; ++n)
        log += "\t08:00:00  01-02-2024\t\t\t" + std::to_string(100000 + n) + "\t\r\n";
    PaneTextOptions options;
    options.templateNumber = 1;
    options.cap = 500;
    const PaneText text = LogPaneText(log, options);
    ASSERT_EQ(text.runs.size(), 1u);
    // Each display line is 34 characters: 14 fit in 500.
    const std::string line = "08:00:00  01-02-2024,100999,,,,,\r\n";
    EXPECT_EQ(text.runs[0].text.size(), 14 * line.size());
    EXPECT_EQ(text.runs[0].text.substr(0, 27), "08:00:00  01-02-2024,100986");
    EXPECT_TRUE(text.runs[0].text.ends_with(line));
    EXPECT_EQ(text.linesLeftOut, 986u);
}

TEST(PaneText, SavedPaneComesBackResultsBlackMessagesRed)
{
    const std::string saved = "08:00:00  01-02-2024,000001,01,14,55,,\r\n"
                              "Probe error 7\r\n"
                              "\r\n"
                              "08:01:00  01-02-2024,000003,01,14,55,,\r\n"
                              "Cancel      000004\r\n";
    EXPECT_EQ(Runs(RestoredPaneRuns(saved)),
              (std::vector<std::string>{"K:08:00:00  01-02-2024,000001,01,14,55,,\r\n", "R:Probe error 7\r\n\r\n",
                                        "K:08:01:00  01-02-2024,000003,01,14,55,,\r\n", "R:Cancel      000004\r\n"}));
}
