// Reading a log a piece at a time: lines come out whole and in order, and a line too long to
// show is cut with "...".

#include "log/LogFileChunks.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

TEST(LogFileChunks, LinesComeOutWholeAndOverLongOnesAreCut)
{
    const std::string longLine(10000, 'L');
    const std::string kept = std::string(4000, 'L') + "...";
    // Lines of 300 bytes that together pass the 1 MiB read size, so one is split between reads.
    std::string manyLines;
    for (int i = 0; manyLines.size() < (1u << 20) + 5000; ++i)
        manyLines += "\t" + std::to_string(i) + std::string(296 - std::to_string(i).size(), 'x') + "\r\n";
    struct Case {
        const char* name;
        std::string file;
        std::string expected;
    } cases[] = {
        {"short lines as they stand", "a\r\nb\nc", "a\r\nb\nc"},
        {"a long line with CR LF", "a\r\n" + longLine + "\r\nb\r\n", "a\r\n" + kept + "\r\nb\r\n"},
        {"a long line with LF alone", longLine + "\nb", kept + "\nb"},
        {"a long last line without line end", "a\r\n" + longLine, "a\r\n" + kept},
        {"a line of exactly 4000 characters is whole", std::string(4000, 'x') + "\r\n",
         std::string(4000, 'x') + "\r\n"},
        {"a long line over the read size", std::string(3 << 20, 'y') + "\r\nz\r\n",
         std::string(4000, 'y') + "...\r\nz\r\n"},
        {"many lines over the read size", manyLines, manyLines},
    };
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/log.dif";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.file;
        std::string seen;
        bool wholeLines = true;
        std::string error;
        ASSERT_TRUE(ReadLogLines(
            path,
            [&](std::string_view lines) {
                seen.append(lines);
                wholeLines = wholeLines && (lines.back() == '\n' || seen.size() == c.expected.size());
            },
            &error))
            << error;
        EXPECT_EQ(seen, c.expected);
        EXPECT_TRUE(wholeLines);
    }
}
