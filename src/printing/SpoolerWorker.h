#pragma once
// Runs the print spooler's calls on a thread of their own, one after the other in the order
// asked, and hands each result back on the thread that asked. A slow or stopped spooler then
// holds up only this thread, never the receive tick or the windows.

#include "printing/PrintSpooler.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

class SpoolerWorker : public QObject {
    Q_OBJECT
public:
    explicit SpoolerWorker(std::unique_ptr<PrintSpooler> spooler, QObject* parent = nullptr);
    // Gives up the call in progress (within the spooler's short wait) and drops those not begun.
    ~SpoolerWorker() override;

    // `done` runs later on this object's thread, never inside the call.
    void ReadQueue(std::function<void(const SpoolerQueue&)> done);
    void SubmitRawJob(const std::string& title, const std::string& bytes, std::function<void(bool)> done);

private:
    void Run(std::function<void()> work);

    std::unique_ptr<PrintSpooler> spooler_;
    QThread thread_;
    QObject* context_ = nullptr; // lives on thread_
};
