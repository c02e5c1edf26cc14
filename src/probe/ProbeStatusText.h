#pragma once
// The operator's text for a status code of a probing error ("Z" message, characters 4 and 5).

#include <string>

// Text for `code`, compared exactly ("6" is not "06"); empty for a code without a text.
std::string ProbeStatusText(const std::string& code);
