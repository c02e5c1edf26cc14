#pragma once
// Real-time printing and the printer status poll: each result line goes to the default printer
// as a raw job of its own, and while real-time printing is on the printer status timer watches
// the printer's queue, shows its state and tells the probe when printing is held up.

#include "printing/PrinterStatus.h"
#include "printing/SpoolerWorker.h"

#include <QObject>
#include <memory>
#include <string>

class QTimer;

// Where the poll's findings go; the main window decides how they show.
class PrinterStatusSink {
public:
    virtual ~PrinterStatusSink() = default;
    // Status bar panel 4.
    virtual void ShowPrinterStatus(const std::string& text) = 0;
    // The probe hears it only while its link works.
    virtual void TellProbe(ProbePrinterNotice notice) = 0;
    // Without waiting for the operator: the poll runs from a timer.
    virtual void TellOperator(const std::string& text) = 0;
};

class StationPrinter : public QObject {
    Q_OBJECT
public:
    // Every real-time print job carries this name.
    static constexpr const char* kJobTitle = "Kestrane Tallion Tool";

    // `timerPStatus` is the 100 ms printer status timer; it is started and stopped here.
    StationPrinter(std::unique_ptr<PrintSpooler> spooler, PrinterStatusSink& sink, QTimer& timerPStatus,
                   QObject* parent = nullptr);
    ~StationPrinter() override;

    // mnuRTPrint's check mark: real-time printing and the status poll.
    void SetRealTimePrinting(bool on);
    bool RealTimePrinting() const { return on_; }

    // Prints one display line under the current template's titles (when real-time printing is
    // on). Spooler failures are ignored: the line is on screen and in the log all the same.
    void PrintResultLine(const std::string& printHeaderLine, const std::string& line);
    // The bytes of one real-time job: titles, CR LF, the line, CR LF, CR LF.
    static std::string RawJobBytes(const std::string& printHeaderLine, const std::string& line);

    // The status timer's tick. A look at the printer still under way is not asked again.
    void PollPrinterStatus();

    // Takes another spooler from now on (the jobs already asked go to the old one first).
    void UseSpooler(std::unique_ptr<PrintSpooler> spooler);

    const PrinterStatusPoll& statusPoll() const { return poll_; }
    int jobsUnderWay() const { return jobsUnderWay_; }

signals:
    // A real-time job was handed over to the spooler (or given up).
    void jobDone(bool sent);
    // One look at the printer was evaluated.
    void statusPolled();

private:
    void OnQueueRead(const SpoolerQueue& queue);

    PrinterStatusSink& sink_;
    QTimer& timer_;
    std::unique_ptr<SpoolerWorker> worker_;
    PrinterStatusPoll poll_;
    bool on_ = false;
    bool pollUnderWay_ = false;
    int jobsUnderWay_ = 0;
};
