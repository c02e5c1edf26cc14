#pragma once
// The terminal pane: a text view that takes every result line, in black or red, quickly.

#include <QColor>
#include <QPlainTextEdit>

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
};
