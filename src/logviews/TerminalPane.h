#pragma once
// The terminal pane: a text view that takes every result line, in black or red, quickly.

#include <QColor>
#include <QPlainTextEdit>
#include <vector>

class TerminalPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TerminalPane(QWidget* parent = nullptr);

    // Number of characters the pane holds (a line break counts as in the stored text).
    int Length() const;
    // The whole text as stored, CR LF line ends.
    QString Text() const;
    // Appends `text` at the end in `colour`.
    void AppendColoured(const QString& text, const QColor& colour);
    // Empties the pane.
    void ClearPane();

    // As AppendColoured, but the pane's last character (a line break counts as one) is removed
    // first, in the same edit.
    void ReplaceLastAndAppend(const QString& text, const QColor& colour);
    // Drops the start of the pane through the end of the line that holds stored character
    // `position`, so the pane starts at a line start. When that line is the last one (no line
    // break follows), the pane keeps the text from `position` on.
    void DropThroughLineAt(int position);
    // Puts the caret after the last character.
    void MoveCaretToEnd();
    // The caret position as stored characters count it: the start of the selection, if any.
    int CaretPosition() const;
    // Selects `length` stored characters from `start` and shows them.
    void SelectStored(int start, int length);

    // One piece of text in one colour.
    struct Run {
        QString text;
        QColor colour;
    };
    // Replaces the whole content by `runs`, in one edit: loading a large log stays fast.
    void SetContent(const std::vector<Run>& runs);

private:
    // Document position of stored character `position` (0 <= position <= Length()).
    int DocumentPosition(int position) const;
};
