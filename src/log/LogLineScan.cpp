#include "log/LogLineScan.h"

#include <bit>
#include <cstring>

namespace {

// 0x80 in every byte of `word` that equals `c`, 0 elsewhere.
constexpr std::uint64_t BytesEqual(std::uint64_t word, unsigned char c)
{
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t t = word ^ (0x0101010101010101ULL * c);
    return ~(((t & kLow7) + kLow7) | t | kLow7);
}

// How many bytes BytesEqual marked (a multiply instead of a popcount, which the baseline
// x86-64 instruction set does not have).
constexpr unsigned MarkedBytes(std::uint64_t marks)
{
    return static_cast<unsigned>(((marks >> 7) * 0x0101010101010101ULL) >> 56);
}

} // namespace

LogLineScan LogLineScan::Whole()
{
    LogLineScan scan{LogColumn::Count - 1};
    scan.wanted_ = (std::uint64_t{1} << LogColumn::Count) - 1;
    return scan;
}

const char* LogLineScan::Scan(const char* line, const char* end)
{
    line_ = line;
    unsigned count = 0;
    const char* p = line;
    const char* lineEnd = nullptr;
    if constexpr (std::endian::native == std::endian::little) {
        while (count < tabsNeeded_ && end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t lineFeed = BytesEqual(word, '\n');
            std::uint64_t tab = BytesEqual(word, '\t');
            if (lineFeed != 0)
                tab &= (lineFeed & (~lineFeed + 1)) - 1; // only the TABs before the LF
            const unsigned found = MarkedBytes(tab);
            // TABs number count to count + found - 1 are in this word (found is at most 8).
            if ((wanted_ >> count) & ((std::uint64_t{1} << found) - 1)) {
                for (; tab != 0 && count < tabsNeeded_; tab &= tab - 1)
                    tabs_[count++] = static_cast<unsigned>(p - line) + static_cast<unsigned>(std::countr_zero(tab)) / 8;
            } else {
                count += found; // none of these TABs bounds a value that is read
            }
            if (lineFeed != 0) {
                lineEnd = p + std::countr_zero(lineFeed) / 8;
                break;
            }
            p += 8;
        }
    }
    if (!lineEnd) {
        for (; count < tabsNeeded_ && p < end && *p != '\n'; ++p) {
            if (*p == '\t')
                tabs_[count++] = static_cast<unsigned>(p - line);
        }
        const void* lineFeed = p < end ? std::memchr(p, '\n', static_cast<size_t>(end - p)) : nullptr;
        lineEnd = lineFeed ? static_cast<const char*>(lineFeed) : end;
    }
    count_ = count;
    return lineEnd < end ? lineEnd + 1 : end;
}
