#pragma once
// Operator dialogs for tests: each kind of question takes its answer from a queue that the test
// fills beforehand; an empty queue gives an answer that changes nothing. Every question asked is
// recorded so that the test can read back texts, titles, icons and buttons.

#include "widgets/OperatorDialogs.h"

#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class ScriptedDialogs : public OperatorDialogs {
public:
    struct Asked {
        QString kind; // "Message", "Notice", "InputBox", "OpenFile", "SaveFile", "Printer", "OpenDocument"
        QString text; // message text, input prompt, file filter, document path
        QString title;
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        QString detail; // a message's informative text, input default text or chooser initial path
    };

    ScriptedDialogs();

    void QueueMessageAnswer(MessageAnswer answer) { messageAnswers_.push_back(answer); }
    // nullopt: the operator cancels.
    void QueueInput(const std::optional<QString>& text) { inputs_.push_back(TextAnswer(text)); }
    void QueueOpenFile(const std::optional<QString>& path) { openFiles_.push_back(TextAnswer(path)); }
    void QueueSave(const std::optional<QString>& path) { saveFiles_.push_back(TextAnswer(path)); }
    // `configure` runs on the printer when the dialog is accepted (e.g. to print into a PDF file).
    void QueuePrinter(bool accept, std::function<void(QPrinter&)> configure = {});
    void QueueOpenDocument(bool succeeds) { documentResults_.push_back(succeeds); }

    // Answer of a message box whose queue is empty. Defaults: Ok for Ok, Cancel for OK/Cancel and
    // Yes/No/Cancel, No for Yes/No, so nothing destructive happens unless a test asks for it.
    void SetDefaultAnswer(MessageButtons buttons, MessageAnswer answer) { defaults_[buttons] = answer; }

    // A modal question asked inside the receive tick fails the running test: it would stop the
    // probe link until the operator answers.
    MessageAnswer Message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                          const QString& detail = QString()) override;
    void Notify(const QString& text, const QString& title, MessageIcon icon) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> OpenFile(const QString& title, const QString& filter, const QString& initialPath) override;
    std::optional<QString> SaveFile(const QString& title, const QString& filter, const QString& initialPath) override;
    bool PrinterDialog(QPrinter& printer) override;
    bool OpenDocument(const QString& path) override;

    // How many questions of `kind` were asked ("Message", ...).
    int Count(const QString& kind) const;
    // The last question of `kind`, or nullptr.
    const Asked* Last(const QString& kind) const;
    // True when a message box (modal or not) with exactly this text was shown.
    bool WasShown(const QString& text) const;
    // Answers still waiting in the queues (a test can check that all were used).
    std::size_t PendingAnswers() const;

    std::vector<Asked> asked;
    std::vector<QString> openedDocuments;

private:
    // A text answer or a cancel (kept apart from std::optional, which GCC 12 warns about here).
    struct TextAnswer {
        TextAnswer() = default;
        explicit TextAnswer(const std::optional<QString>& answer)
            : given(answer.has_value())
            , text(answer.value_or(QString()))
        {}
        std::optional<QString> Value() const { return given ? std::optional<QString>(text) : std::nullopt; }
        bool given = false;
        QString text;
    };
    struct PrinterAnswer {
        bool accept = false;
        std::function<void(QPrinter&)> configure;
    };

    std::deque<MessageAnswer> messageAnswers_;
    std::deque<TextAnswer> inputs_;
    std::deque<TextAnswer> openFiles_;
    std::deque<TextAnswer> saveFiles_;
    std::deque<PrinterAnswer> printers_;
    std::deque<bool> documentResults_;
    std::map<MessageButtons, MessageAnswer> defaults_;
};
