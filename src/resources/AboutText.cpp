#include "resources/AboutText.h"

#include "resources/MakerDetails.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

std::string AboutText()
{
    using namespace MakerDetails;
    const std::string version = std::to_string(TALLION_VERSION_MAJOR) + "." + std::to_string(TALLION_VERSION_MINOR)
                                + "." + std::to_string(TALLION_VERSION_PATCH);
    const std::string lines[] = {
        "Kestrane " + ResourceString(StringId::ProgramName),
        ResourceString(StringId::Version) + ": " + version,
        ResourceString(StringId::Author) + ": " + kAuthorInitials + " ",
        "",
        ResourceString(StringId::MakerName),
        kStreetAddress,
        kPostalBox,
        kCityAndCountry,
        ResourceString(StringId::Telephone) + ": " + kTelephone,
        ResourceString(StringId::Fax) + ": " + kFax,
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
