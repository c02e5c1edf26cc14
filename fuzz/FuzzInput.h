#pragma once
// Helpers shared by the fuzz targets.
//
// An input that carries several pieces (receptions, messages, option texts) separates them by
// the byte 0xFF. The probe and the scales send 7-bit text and the log holds text, so nothing
// is lost for the fuzzer by giving up that one byte value inside a piece.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

constexpr char kPieceSeparator = '\xFF';

inline std::vector<std::string> SplitPieces(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (static_cast<char>(data[i]) == kPieceSeparator)
            pieces.emplace_back();
        else
            pieces.back() += static_cast<char>(data[i]);
    }
    return pieces;
}

// A failed check: says which and aborts, which libFuzzer and the replay both report as a crash.
[[noreturn]] inline void Fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    if (!detail.empty()) {
        std::fprintf(stderr, "  detail (%zu bytes):", detail.size());
        for (const unsigned char c : detail)
            std::fprintf(stderr, c >= 32 && c < 127 ? " %c" : " %02X", c);
        std::fprintf(stderr, "\n");
    }
    std::abort();
}

inline void Check(bool condition, const char* what, const std::string& detail = {})
{
    if (!condition)
        Fail(what, detail);
}

inline std::size_t Count(const std::string& text, char c)
{
    std::size_t n = 0;
    for (const char x : text)
        n += x == c ? 1 : 0;
    return n;
}

} // namespace fuzz
