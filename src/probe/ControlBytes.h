#pragma once
// The ASCII control bytes of the serial lines: the probe link's framing and answers, and the
// framing of the scales' messages.

namespace ControlBytes {
constexpr char SOH = 1;
constexpr char STX = 2;
constexpr char ETX = 3;
constexpr char EOT = 4;
constexpr char ENQ = 5;
constexpr char ACK = 6;
constexpr char LF = 10;
constexpr char CR = 13;
constexpr char SO = 14;
constexpr char SI = 15;
constexpr char NAK = 21;
} // namespace ControlBytes
