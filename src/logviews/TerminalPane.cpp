#include "logviews/TerminalPane.h"

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

// The document keeps a line break as one block separator; the station's stored text has CR LF
// there. Every conversion between the two counts happen in this file.

namespace {

QTextCharFormat ColourFormat(const QColor& colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

// Stored position of the first character of `block`: each earlier line break adds one
// character (LF) that the document does not hold.
int StoredStart(const QTextBlock& block)
{
    return block.position() + block.blockNumber();
}

} // namespace

TerminalPane::TerminalPane(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Fixed columns (the summary lines up by spaces), large enough to read from beside the line.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(std::max(fixed.pointSizeF(), 11.0));
    setFont(fixed);
    // The pane is a running log: undo history would only double its memory.
    setUndoRedoEnabled(false);
    // Read-only, but the operator may still select and copy by mouse or keyboard.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

int TerminalPane::Length() const
{
    // characterCount() holds one separator per block, the last one not being part of the text.
    const QTextDocument* doc = document();
    return doc->characterCount() + doc->blockCount() - 2;
}

QString TerminalPane::Text() const
{
    QString text = document()->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
    return text;
}

void TerminalPane::AppendColoured(const QString& text, const QColor& colour)
{
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text, ColourFormat(colour));
    cursor.endEditBlock();
}

void TerminalPane::ReplaceLastAndAppend(const QString& text, const QColor& colour)
{
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    if (cursor.position() > 0) {
        cursor.setPosition(cursor.position() - 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.insertText(text, ColourFormat(colour));
    cursor.endEditBlock();
}

void TerminalPane::ClearPane()
{
    clear();
}

int TerminalPane::DocumentPosition(int position) const
{
    const QTextDocument* doc = document();
    // Binary search for the last block whose stored start is at or before `position`.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (StoredStart(doc->findBlockByNumber(middle)) <= position)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const int offset = std::min(position - StoredStart(block), block.length() - 1);
    return block.position() + std::max(offset, 0);
}

void TerminalPane::DropThroughLineAt(int position)
{
    if (Length() == 0)
        return;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    if (position >= Length()) {
        cursor.select(QTextCursor::Document);
    } else {
        const QTextBlock block = document()->findBlock(DocumentPosition(position));
        const QTextBlock next = block.next();
        const int end = next.isValid() ? next.position() : DocumentPosition(position);
        cursor.setPosition(0);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

void TerminalPane::MoveCaretToEnd()
{
    moveCursor(QTextCursor::End);
}

int TerminalPane::CaretPosition() const
{
    const int position = textCursor().selectionStart();
    return position + document()->findBlock(position).blockNumber();
}

void TerminalPane::SelectStored(int start, int length)
{
    QTextCursor cursor(document());
    cursor.setPosition(DocumentPosition(start));
    cursor.setPosition(DocumentPosition(start + length), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TerminalPane::SetContent(const std::vector<Run>& runs)
{
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    for (const Run& run : runs)
        cursor.insertText(run.text, ColourFormat(run.colour));
    cursor.endEditBlock();
}
