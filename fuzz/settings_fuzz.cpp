// Parses arbitrary port settings texts, as stored in the settings file or typed in a port dialog.
//
// Input: the settings text ("4800,e,7,2").
//
// Checks: a text that parses gives a speed above 0, a parity of n, e, o, m or s, 5 to 8 data bits
// and 1 or 2 stop bits, and written back as a port reports it parses to the same values; a
// text that does not parse leaves the settings as they were; the firmware download's pause
// for any text is one of its four.

#include "FuzzInput.h"

#include "probe/HexChunks.h"
#include "probe/SerialPort.h"

#include <string>

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    SerialSettings parsed{123, 'x', 3, 9};
    if (ParseSerialSettings(text, parsed)) {
        Check(parsed.speed > 0, "speed above 0", text);
        Check(std::string("neoms").find(parsed.parity) != std::string::npos, "a known parity", text);
        Check(parsed.dataBits >= 5 && parsed.dataBits <= 8, "5 to 8 data bits", text);
        Check(parsed.stopBits == 1 || parsed.stopBits == 2, "1 or 2 stop bits", text);
        // What a port reports back, and the dialogs show.
        const std::string written = SerialSettingsText(parsed);
        SerialSettings again;
        Check(ParseSerialSettings(written, again) && again.speed == parsed.speed && again.parity == parsed.parity
                  && again.dataBits == parsed.dataBits && again.stopBits == parsed.stopBits
                  && SerialSettingsText(again) == written,
              "settings written back parse to the same values", written);
    } else {
        Check(parsed.speed == 123 && parsed.parity == 'x' && parsed.dataBits == 3 && parsed.stopBits == 9,
              "a text that does not parse changes nothing", text);
    }
    const int pause = DownloadTickInterval(text);
    Check(pause == 150 || pause == 300 || pause == 600 || pause == 1100, "a download pause of the four", text);
    return 0;
}
