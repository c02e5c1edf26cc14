#include "printing/SpoolerWorker.h"

#include <QMetaObject>

SpoolerWorker::SpoolerWorker(std::unique_ptr<PrintSpooler> spooler, QObject* parent)
    : QObject(parent)
    , spooler_(std::move(spooler))
{
    thread_.setObjectName(QStringLiteral("PrintSpooler"));
    context_ = new QObject;
    context_->moveToThread(&thread_);
    thread_.start();
}

SpoolerWorker::~SpoolerWorker()
{
    spooler_->Abandon();
    thread_.quit();
    thread_.wait();
    delete context_;
}

void SpoolerWorker::Run(std::function<void()> work)
{
    QMetaObject::invokeMethod(context_, std::move(work), Qt::QueuedConnection);
}

void SpoolerWorker::ReadQueue(std::function<void(const SpoolerQueue&)> done)
{
    Run([this, done = std::move(done)] {
        SpoolerQueue queue = spooler_->ReadQueue();
        QMetaObject::invokeMethod(
            this, [done, queue = std::move(queue)] { done(queue); }, Qt::QueuedConnection);
    });
}

void SpoolerWorker::SubmitRawJob(const std::string& title, const std::string& bytes, std::function<void(bool)> done)
{
    Run([this, title, bytes, done = std::move(done)] {
        const bool sent = spooler_->SubmitRawJob(title, bytes);
        QMetaObject::invokeMethod(
            this, [done, sent] { done(sent); }, Qt::QueuedConnection);
    });
}
