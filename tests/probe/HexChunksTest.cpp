// Cutting a HEX file into chunks for the probe, and the progress shown while it goes.

#include "probe/HexChunks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<std::string> AllChunks(HexChunks& download)
{
    std::vector<std::string> chunks;
    while (!download.Finished()) {
        chunks.push_back(download.NextChunk());
        if (chunks.size() > 10000)
            break;  // never expected: a download that does not move on
    }
    return chunks;
}

// `count` data records of 16 bytes, each line 43 characters and CR LF.
std::string SixteenByteRecords(int count)
{
    std::string text;
    char line[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, ":10%04X00000102030405060708090A0B0C0D0E0F%02X\r\n", (i * 16) & 0xFFFF, i & 0xFF);
        text += line;
    }
    return text;
}

} // namespace

TEST(HexChunksTest, TickIntervalFollowsPortSpeed)
{
    const struct {
        const char* settings;
        int interval;
    } cases[] = {
        {"2400,e,7,2", 1100},  {"4800,e,7,2", 1100},  {"9600,n,8,1", 600}, {"14400,n,8,1", 300},
        {"19200,n,8,1", 300},  {"28800,n,8,1", 150},  {"38400,n,8,1", 150}, {"", 1100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DownloadTickInterval(c.settings), c.interval) << c.settings;
}

TEST(HexChunksTest, DataBytesFromRecordLengthFields)
{
    EXPECT_EQ(HexDataBytes(":10000000\r\n:0A001000\r\n:00000001FF\r\n"), 16 + 10);
    EXPECT_EQ(HexDataBytes(":FF"), 255);
    EXPECT_EQ(HexDataBytes(":1"), 0);         // fewer than two characters after ":"
    EXPECT_EQ(HexDataBytes(":1G"), 1);        // read up to the first non-hex character
    EXPECT_EQ(HexDataBytes(":0a0000"), 10);
    EXPECT_EQ(HexDataBytes("no records"), 0);
}

TEST(HexChunksTest, SmallFileWithoutFinalLineEndGoesWhole)
{
    HexChunks download(":020000040000FA\r\n:0400000001020304F2\r\n:00000001FF");
    const auto chunks = AllChunks(download);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(chunks[0], ":020000040000FA\r\n:0400000001020304F2\r\n:00000001FF\r\n");
    EXPECT_EQ(download.DataBytes(), 6);
    EXPECT_EQ(download.PercentText(), "100%");
    EXPECT_EQ(download.BarValue(), 62256);
}

TEST(HexChunksTest, ChunksEndAtLineEndsAndLongLinesDoNotStall)
{
    // 12 lines of 45 characters: 11 fit in one chunk (495), the 12th starts the next.
    {
        HexChunks download(SixteenByteRecords(12));
        const auto chunks = AllChunks(download);
        ASSERT_EQ(chunks.size(), 2u);
        EXPECT_EQ(chunks[0].size(), 495u);
        EXPECT_EQ(chunks[1].size(), 47u);  // the last line and the appended CR LF
        for (const auto& chunk : chunks)
            EXPECT_EQ(chunk.back(), '\n');
    }
    // A line of 600 characters: 512 of them go whole, then the rest up to its line end.
    {
        const std::string longLine = ":" + std::string(597, 'A') + "\r\n";
        HexChunks download(longLine + ":00000001FF\r\n");
        const auto chunks = AllChunks(download);
        ASSERT_EQ(chunks.size(), 2u);
        EXPECT_EQ(chunks[0], longLine.substr(0, 512));
        EXPECT_EQ(chunks[1], longLine.substr(512) + ":00000001FF\r\n\r\n");
    }
}

TEST(HexChunksTest, FileBeyondFullScaleKeepsBarFullAndShowsHundredAtTheEnd)
{
    // 4000 records of 16 bytes: 64000 data bytes, 11 records (176 bytes) per chunk.
    HexChunks download(SixteenByteRecords(4000));
    int chunks = 0;
    while (!download.Finished() && chunks < 400) {
        download.NextChunk();
        ++chunks;
        if (chunks == 10) {
            EXPECT_EQ(download.DataBytes(), 1760);
            EXPECT_EQ(download.PercentText(), "3%");
            EXPECT_EQ(download.BarValue(), 1760);
        }
        if (chunks == 360) {
            EXPECT_EQ(download.DataBytes(), 63360);
            EXPECT_EQ(download.PercentText(), "102%");
            EXPECT_EQ(download.BarValue(), 62256);
        }
    }
    EXPECT_EQ(chunks, 364);
    EXPECT_EQ(download.DataBytes(), 64000);
    EXPECT_EQ(download.PercentText(), "100%");
    EXPECT_EQ(download.BarValue(), 62256);
}
