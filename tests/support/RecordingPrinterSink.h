#pragma once
// Takes what the printer status poll shows and tells, in order, for tests.

#include "printing/StationPrinter.h"

#include <string>
#include <vector>

class RecordingPrinterSink : public PrinterStatusSink {
public:
    void ShowPrinterStatus(const std::string& text) override { statusTexts.push_back(text); }
    void TellProbe(ProbePrinterNotice notice) override { probeCommands.push_back(ProbeCommandText(notice)); }
    void TellOperator(const std::string& text) override { messages.push_back(text); }

    std::string LastStatus() const { return statusTexts.empty() ? std::string() : statusTexts.back(); }
    void Clear()
    {
        statusTexts.clear();
        probeCommands.clear();
        messages.clear();
    }

    std::vector<std::string> statusTexts;
    std::vector<std::string> probeCommands;
    std::vector<std::string> messages;
};
