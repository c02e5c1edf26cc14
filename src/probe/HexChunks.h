#pragma once
// Sending an Intel HEX file to the probe in whole lines, a chunk per tick, and the progress shown
// meanwhile. The station does not interpret the file beyond the records' data-length fields.

#include <cstddef>
#include <string>
#include <string_view>

// Pause between chunks for the probe port's settings text ("38400,n,8,1"): the slower the line,
// the longer the probe needs to take a chunk in. 1100, 600, 300 or 150 ms.
int DownloadTickInterval(const std::string& portSettings);

// Sum of the data-length fields (the two hex digits after each ":") in `text`.
long HexDataBytes(std::string_view text);

class HexChunks {
public:
    static constexpr std::size_t kChunkSize = 512;
    // Data bytes of a full bar, and per percent of the percentage text.
    static constexpr long kFullScaleBytes = 62256;
    static constexpr long kBytesPerPercent = 623;

    // `fileText`: the whole file as read; CR LF is appended so that a last line without a line
    // end is sent too.
    explicit HexChunks(std::string fileText);

    // The next chunk: up to 512 characters ending after their last line feed. A chunk of 512
    // with no line feed (a line longer than a chunk) goes whole, so the download always moves
    // on. Empty once everything is sent.
    std::string NextChunk();
    bool Finished() const { return position_ >= text_.size(); }
    // Abandons the download: nothing more is sent.
    void Stop()
    {
        text_.clear();
        position_ = 0;
    }

    std::size_t Position() const { return position_; }
    long DataBytes() const { return dataBytes_; }
    // Progress bar value on a 0..kFullScaleBytes bar; full once finished.
    long BarValue() const;
    // "37%"; above 100 for a file of more than a full bar; "100%" once finished.
    std::string PercentText() const;

private:
    std::string text_;
    std::size_t position_ = 0;
    long dataBytes_ = 0;
};
