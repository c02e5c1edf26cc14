#include "VisibleBytes.h"

std::string VisibleBytes(const std::string& bytes)
{
    static const char* const names[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
                                        "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
                                        "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    std::string out;
    for (char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32)
            out += std::string("<") + names[code] + ">";
        else if (code >= 127)
            out += "<" + std::to_string(code) + ">";
        else
            out += c;
    }
    return out;
}
