#pragma once
// The station's non-blocking message path. Code that runs inside the receive tick (or anything
// it calls: dispatch, pairing, scale parsing, log writing) tells the operator through Notify,
// which returns at once: the probe link goes on answering polls while the box is on screen.
// Modal questions (OperatorQuestions::Message) belong to menus and buttons only.

#include <QString>

enum class MessageIcon { None, Information, Exclamation, Question, Critical };

class OperatorNotices {
public:
    virtual ~OperatorNotices() = default;
    // Shows a message with an OK button and returns without waiting for the operator.
    virtual void Notify(const QString& text, const QString& title, MessageIcon icon) = 0;
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
