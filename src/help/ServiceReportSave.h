#pragma once
// "Save as" of the service information window: the operator names a text file and the report
// goes into it byte for byte. An existing file is replaced only once the new one is complete.

#include <string>

class OperatorDialogs;

// Asks for the file (again after Cancel on the overwrite question; No ends without writing),
// writes `report` exactly and reports any failure with the platform's description.
void SaveServiceReport(OperatorDialogs& dialogs, const std::string& report);
