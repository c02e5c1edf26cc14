#include "help/AboutText.h"

#include "resources/MakerDetails.h"
#include "resources/StringTable.h"

std::string AboutText()
{
    using namespace MakerDetails;
    const std::string version = std::to_string(TALLION_VERSION_MAJOR) + "." + std::to_string(TALLION_VERSION_MINOR)
                                + "." + std::to_string(TALLION_VERSION_PATCH);
    const std::string lines[] = {
        "Kestrane " + ResourceString(1106),
        ResourceString(1107) + ": " + version,
        ResourceString(1108) + ": " + kAuthorInitials + " ",
        "",
        ResourceString(1081),
        kStreetAddress,
        kPostalBox,
        kCityAndCountry,
        ResourceString(1109) + ": " + kTelephone,
        ResourceString(1110) + ": " + kFax,
        kEmail,
        kWeb,
    };
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

std::string ManualOpenFailureText(ManualOpenFailure failure)
{
    switch (failure) {
    case ManualOpenFailure::NotFound: return "Manual.pdf was not found";
    case ManualOpenFailure::AccessDenied: return "Access denied";
    case ManualOpenFailure::NoAssociation: return "No association for file extension";
    }
    return "Unknown error";
}
