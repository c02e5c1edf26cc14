// Cutting a HEX file into chunks for the probe, and the progress shown while it goes.

#include "probe/HexChunks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> AllChunks(HexChunks& download)
{
    std::vector<std::string> chunks;
    while (!download.Finished() && chunks.size() < 1000)
        chunks.push_back(download.NextChunk());
    return chunks;
}

// `count` records of 16 data bytes; each line 43 characters and CR LF.
std::string Records(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += ":1000000000000000000000000000000000000000F0\r\n";
    return text;
}

} // namespace

TEST(HexChunksTest, TickIntervalFollowsPortSpeed)
{
    const std::pair<const char*, int> cases[] = {
        {"4800,e,7,2", 1100}, {"9600,n,8,1", 600},  {"14400,n,8,1", 300}, {"19200,n,8,1", 300},
        {"38400,n,8,1", 150}, {"2400,e,7,2", 1100}, {"", 1100},
    };
    for (const auto& [settings, interval] : cases)
        EXPECT_EQ(DownloadTickInterval(settings), interval) << settings;
}

TEST(HexChunksTest, WholeLinesPerChunkAndNoStallOnLongLines)
{
    // No final line end: CR LF is appended, so the last record goes too.
    HexChunks small(":020000040000FA\r\n:0400000001020304F2\r\n:00000001FF");
    EXPECT_EQ(AllChunks(small), std::vector<std::string>{":020000040000FA\r\n:0400000001020304F2\r\n:00000001FF\r\n"});
    EXPECT_EQ(small.DataBytes(), 6);
    EXPECT_EQ(small.PercentText(), "100%");

    // 12 lines of 45: 11 fit in 512, the 12th starts the next chunk.
    HexChunks twelve(Records(12));
    EXPECT_EQ(AllChunks(twelve), (std::vector<std::string>{Records(11), Records(1) + "\r\n"}));

    // A line of 600 characters: 512 of them go whole, then the rest up to its line end.
    const std::string longLine = ":" + std::string(597, 'A') + "\r\n";
    HexChunks longOne(longLine + ":00000001FF\r\n");
    EXPECT_EQ(AllChunks(longOne),
              (std::vector<std::string>{longLine.substr(0, 512), longLine.substr(512) + ":00000001FF\r\n\r\n"}));
}

TEST(HexChunksTest, FileBeyondFullScaleKeepsBarFullAndShowsHundredAtTheEnd)
{
    // 4000 records: 64000 data bytes, 11 records (176 bytes) per chunk.
    HexChunks download(Records(4000));
    int chunks = 0;
    while (!download.Finished() && chunks < 400) {
        download.NextChunk();
        ++chunks;
        if (chunks == 360) {
            EXPECT_EQ(download.PercentText(), "102%"); // 63360 bytes
            EXPECT_EQ(download.BarValue(), 62256);
        }
    }
    EXPECT_EQ(chunks, 364);
    EXPECT_EQ(download.DataBytes(), 64000);
    EXPECT_EQ(download.PercentText(), "100%");
    EXPECT_EQ(download.BarValue(), 62256);
}
