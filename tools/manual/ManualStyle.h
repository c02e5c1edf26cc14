#pragma once

// The look of the manual's document: fonts of headings, tables that share their width by their
// text, code blocks, and pictures fitted to the page. Lengths are in the PDF's pixels (Mm) or,
// inside text formats, in the pixels of a 96-dpi screen that the layout scales (FormatMm).

#include <QString>
#include <QTextBlock>

#include <functional>

class QTextDocument;
class QTextTable;

// The resolution the manual is laid out and drawn at.
inline constexpr int kManualDpi = 300;
// The manual's typeface (fonts-dejavu-core).
inline const QString kManualFont = QStringLiteral("DejaVu Sans");

qreal Mm(qreal mm);
qreal FormatMm(qreal mm);

// Changes a block's format in place.
void SetBlock(QTextBlock block, const std::function<void(QTextBlockFormat&)>& change);

// The contents table (two columns, no lines) or a table of the text (lines, a grey heading row).
void StyleTable(QTextTable* table, bool contents);
// Headings after the contents (sizes; chapters start a page) and code blocks.
void StyleBody(QTextDocument& doc, QTextTable* contents);
// Loads every picture and fits it to the text width and half the page height; the error, or empty.
QString LoadImages(QTextDocument& doc, qreal bodyWidth, qreal bodyHeight);
