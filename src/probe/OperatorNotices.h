#pragma once
// The station's non-blocking message path. Code that runs inside the receive tick (or anything
// it calls: dispatch, pairing, scale parsing, log writing) tells the operator through Notify,
// which returns at once: the probe link goes on answering polls while the box is on screen.
// Modal questions (OperatorQuestions::Message) belong to menus and buttons only.

#include <QString>

enum class MessageIcon { None, Information, Exclamation, Question, Critical };

// A notice that stands for a state of the station.
struct Notice {
    QString kind;    // one notice of a kind shows at a time ("database", ...)
    QString text;    // plain words for the operator
    QString details; // what a technician needs (a server's own text); may be empty
    MessageIcon icon = MessageIcon::Exclamation;
    QString title; // what a message box shows it under, where there is no strip
};

class OperatorNotices {
public:
    virtual ~OperatorNotices() = default;
    // Shows a message with an OK button and returns without waiting for the operator.
    virtual void Notify(const QString& text, const QString& title, MessageIcon icon) = 0;
    // A notice that stands for a state (the database away, the station paused): a newer one of
    // the same kind replaces it, and Clear takes it away when the state is over. Where no notice
    // strip is (a tool, a test's recording dialogs) it is a message like Notify's.
    virtual void Post(const Notice& notice)
    {
        Notify(notice.details.isEmpty() ? notice.text : notice.text + QStringLiteral("\r\n") + notice.details,
               notice.title, notice.icon);
    }
    virtual void Clear(const QString& kind) { (void)kind; }
};

// Marks the time the receive tick (or a step it runs) is on the stack, so that a modal question
// asked from there is caught: the real dialogs turn it into a notice, the test dialogs fail.
class ReceiveTickScope {
public:
    ReceiveTickScope() { ++depth_; }
    ~ReceiveTickScope() { --depth_; }
    ReceiveTickScope(const ReceiveTickScope&) = delete;
    ReceiveTickScope& operator=(const ReceiveTickScope&) = delete;

    static bool Active() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};
