#include "carcass/CarcassRoles.h"

std::string CounterRoleText(const std::string& carcassCount)
{
    const auto first = carcassCount.find_first_not_of('0');
    if (first == std::string::npos)
        return carcassCount.empty() ? std::string() : std::string("0");
    return carcassCount.substr(first);
}

std::string QualityRoleText(const std::string& colour1)
{
    const auto first = colour1.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : colour1.substr(first);
}
