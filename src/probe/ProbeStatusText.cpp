#include "probe/ProbeStatusText.h"

#include "resources/StringTable.h"

#include <string_view>

namespace {

// A text is a string-table entry, a fixed piece and a second entry, any of them absent (0 or
// empty). The fixed pieces stay as they are when the table is translated.
struct StatusText {
    std::string_view code;
    int before;
    std::string_view fixed;
    int after;
};

constexpr int kCancel = 1131;
constexpr int kError = 1191;
constexpr int kFat = 1194;
constexpr int kMeat = 1197;
constexpr int kThickness = 1199;
constexpr int kPleaseRepeat = 1211;
constexpr int kReturnForService = 1212;
constexpr int kLimit = 1223;
constexpr int kRib = 1224;

constexpr StatusText kStatusTexts[] = {
    {"00", 1209, "", 0},
    {"06", 1210, "", 0},
    {"07", kPleaseRepeat, "", 0},
    {"08", kReturnForService, "8", 0},
    {"09", kError, ":9", 0},
    {"10", 0, "Unresolved", 0},
    {"11", kReturnForService, "11", 0},
    {"13", kReturnForService, "13", 0},
    {"15", kReturnForService, "15", 0},
    {"16", kReturnForService, "16", 0},
    {"17", 1213, "", 0},
    {"18", 1214, "", 0},
    {"19", kReturnForService, "19", 0},
    {"20", kReturnForService, "20", 0},
    {"33", 1215, "", 0},
    {"34", 1216, "", 0},
    {"35", 1225, "", 0},
    {"36", 1217, "", 0},
    {"37", 1218, "", 0},
    {"38", 1219, "", 0},
    {"39", 0, "No Meat", 0},
    {"41", 1220, "", 0},
    {"42", kError, "42. ", kPleaseRepeat},
    {"43", 1221, "", 0},
    {"48", 1222, "", 0},
    {"71", kFat, " ", kLimit},
    {"72", kMeat, " ", kLimit},
    {"73", kThickness, " ", kLimit},
    {"74", kRib, " ", kLimit},
    {"75", kMeat, "% ", kLimit},
    {"76", kError, "76", 0},
    {"96", kCancel, "", 0},
    // Only a "Z" message of exactly four characters ending in 0 gives this one-character code.
    {"0", 0, "Undetermined error.", 0},
};

} // namespace

std::string ProbeStatusText(const std::string& code)
{
    for (const StatusText& entry : kStatusTexts) {
        if (entry.code != code)
            continue;
        std::string text;
        if (entry.before != 0)
            text += ResourceString(entry.before);
        text += entry.fixed;
        if (entry.after != 0)
            text += ResourceString(entry.after);
        return text;
    }
    return {};
}
