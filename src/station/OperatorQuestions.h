#pragma once
// The questions the station puts to the operator that need no window of their own: a message
// with buttons and a line of text. The station's work without widgets asks through this, so it
// can be given the real dialogs or a test's scripted answers.

#include "probe/OperatorNotices.h"

#include <QString>
#include <optional>

// OkCancel and YesNo have OK and Yes as the default button (Return). A question whose OK or Yes
// destroys or drops something asks with OkCancelSafe or YesNoSafe: Cancel or No is the default,
// so a stray Return changes nothing.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, OkCancelSafe, YesNoSafe };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class OperatorQuestions : public OperatorNotices {
public:
    // A modal question; never from inside the receive tick (use Notify there). `detail`, when
    // given, shows under the question and says what it is about (which row, which file).
    virtual MessageAnswer Message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                                  const QString& detail = QString()) = 0;
    // nullopt when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
};
