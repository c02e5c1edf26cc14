#include "probe/ProbeStatusText.h"

#include <gtest/gtest.h>

namespace {

struct StatusCase {
    std::string code;
    std::string expected;
};

TEST(ProbeStatusText, EveryCodeAndItsExactText)
{
    const StatusCase cases[] = {
        {"00", "Voltage is too low"},
        {"06", "Bussy"},
        {"07", "Please repeat"},
        {"08", "Return for service. Error:8"},
        {"09", "Error:9"},
        {"10", "Unresolved"},
        {"11", "Return for service. Error:11"},
        {"13", "Return for service. Error:13"},
        {"15", "Return for service. Error:15"},
        {"16", "Return for service. Error:16"},
        {"17", "Memory is full"},
        {"18", "No data in memory"},
        {"19", "Return for service. Error:19"},
        {"20", "Return for service. Error:20"},
        {"33", "Too fast"},
        {"34", "Only fat or only meat found"},
        {"35", "Probe not straight"},
        {"36", "No rib found"},
        {"37", "Not through"},
        {"38", "Air between probe and skin"},
        {"39", "No Meat"},
        {"41", "Not thick enough"},
        {"42", "Error42. Please repeat"},
        {"43", "Too short. Insert deeper."},
        {"48", "Bad time input"},
        {"71", "Fat limit"},
        {"72", "Meat limit"},
        {"73", "Thickness limit"},
        {"74", "Rib limit"},
        {"75", "Meat% limit"},
        {"76", "Error76"},
        {"96", "Cancel"},
        {"0", "Undetermined error."},
        // Unlisted, and codes that only look like listed ones: compared exactly.
        {"12", ""},
        {"14", ""},
        {"99", ""},
        {"6", ""},
        {" 6", ""},
        {"06 ", ""},
        {std::string("00\0", 3), ""},
        {"O0", ""},
        {"", ""}, // a "Z" message of three characters has no code
        {std::string("\0", 1), ""},
        {"\xff\xfe", ""},
    };
    for (const StatusCase& c : cases)
        EXPECT_EQ(ProbeStatusText(c.code), c.expected) << '"' << c.code << '"';
}

} // namespace
