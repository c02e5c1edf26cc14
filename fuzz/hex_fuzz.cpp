// Cuts arbitrary file text into the chunks of a firmware download, as the download window's
// ticks do.
//
// Input: the HEX file's text as read.
//
// Checks: the download ends, one chunk per tick and never more ticks than characters; the chunks
// are the file and its added CR LF, whole and in order; each is at most 512 characters and ends
// after a line feed unless it is a full chunk without one; where every chunk ends after a line
// feed the data bytes counted chunk by chunk are those of the whole file; the bar stays within
// its scale and shows full, with "100%", once done.

#include "FuzzInput.h"

#include "probe/HexChunks.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file(reinterpret_cast<const char*>(data), size);
    HexChunks download(file);
    const std::string expected = file + "\r\n";
    std::string sent;
    bool wholeLines = true;
    std::size_t ticks = 0;
    while (!download.Finished()) {
        Check(++ticks <= expected.size(), "the download moves on at every tick");
        const std::string chunk = download.NextChunk();
        Check(!chunk.empty() && chunk.size() <= HexChunks::kChunkSize, "a chunk holds 1 to 512 characters", chunk);
        const bool endsLine = chunk.back() == '\n';
        Check(endsLine || (chunk.size() == HexChunks::kChunkSize && chunk.find('\n') == std::string::npos),
              "a chunk ends after a line feed unless a line is longer than a chunk", chunk);
        wholeLines = wholeLines && endsLine;
        sent += chunk;
        Check(download.Position() == sent.size(), "the position follows what was sent");
        Check(download.BarValue() >= 0 && download.BarValue() <= HexChunks::kFullScaleBytes, "bar within its scale");
        Check(download.PercentText().ends_with('%'), "a percentage", download.PercentText());
    }
    Check(sent == expected, "the chunks are the file and CR LF, whole and in order", sent);
    Check(download.NextChunk().empty(), "nothing more after the end");
    Check(download.BarValue() == HexChunks::kFullScaleBytes && download.PercentText() == "100%", "full once done");
    if (wholeLines)
        Check(download.DataBytes() == HexDataBytes(expected), "data bytes counted chunk by chunk are the file's");
    Check(download.DataBytes() >= 0, "data bytes never negative");
    return 0;
}
